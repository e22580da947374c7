#pragma once

#include <avahi-common/watch.h>

// The Avahi client library asks its host program for file watches and timers through an
// AvahiPoll table. This one serves them from Qt's event loop (QSocketNotifier, QTimer), so the
// daemon's replies arrive like any other socket event and nothing ever blocks the interface.
// Every watch and timeout must be freed (the client frees its own) before this object goes.
class QtAvahiPoll
{
public:
    QtAvahiPoll();
    const AvahiPoll *poll() const { return &m_poll; }

private:
    AvahiPoll m_poll;
};
