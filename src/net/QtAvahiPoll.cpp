#include "net/QtAvahiPoll.h"

#include <QSocketNotifier>
#include <QTimer>

#include <sys/time.h>

struct AvahiWatch
{
    int fd = -1;
    AvahiWatchEvent wanted = AvahiWatchEvent(0);
    AvahiWatchEvent happened = AvahiWatchEvent(0);
    AvahiWatchCallback callback = nullptr;
    void *userdata = nullptr;
    QSocketNotifier *readable = nullptr;
    QSocketNotifier *writable = nullptr;
};

struct AvahiTimeout
{
    AvahiTimeoutCallback callback = nullptr;
    void *userdata = nullptr;
    QTimer *timer = nullptr;
};

namespace {

// The callback may free the watch or timeout it was called for: nothing may touch the object
// after it returns, and the Qt objects are only ever let go with deleteLater().
void fire(AvahiWatch *w, AvahiWatchEvent event)
{
    w->happened = event;
    w->callback(w, w->fd, event, w->userdata);
}

void applyEvents(AvahiWatch *w, AvahiWatchEvent events)
{
    w->wanted = events;
    w->readable->setEnabled(events & (AVAHI_WATCH_IN | AVAHI_WATCH_HUP | AVAHI_WATCH_ERR));
    w->writable->setEnabled(events & AVAHI_WATCH_OUT);
}

AvahiWatch *watchNew(const AvahiPoll *, int fd, AvahiWatchEvent events, AvahiWatchCallback callback,
                     void *userdata)
{
    auto *w = new AvahiWatch;
    w->fd = fd;
    w->callback = callback;
    w->userdata = userdata;
    w->readable = new QSocketNotifier(fd, QSocketNotifier::Read);
    w->writable = new QSocketNotifier(fd, QSocketNotifier::Write);
    QObject::connect(w->readable, &QSocketNotifier::activated, w->readable, [w] { fire(w, AVAHI_WATCH_IN); });
    QObject::connect(w->writable, &QSocketNotifier::activated, w->writable, [w] { fire(w, AVAHI_WATCH_OUT); });
    applyEvents(w, events);
    return w;
}

void watchUpdate(AvahiWatch *w, AvahiWatchEvent events) { applyEvents(w, events); }

AvahiWatchEvent watchGetEvents(AvahiWatch *w) { return w->happened; }

void watchFree(AvahiWatch *w)
{
    for (QSocketNotifier *n : {w->readable, w->writable}) {
        n->setEnabled(false);
        n->disconnect();
        n->deleteLater();
    }
    delete w;
}

void arm(AvahiTimeout *t, const struct timeval *tv)
{
    if (!tv) {
        t->timer->stop();
        return;
    }
    struct timeval now;
    gettimeofday(&now, nullptr);
    const qint64 ms = (qint64(tv->tv_sec) - now.tv_sec) * 1000 + (qint64(tv->tv_usec) - now.tv_usec) / 1000;
    t->timer->start(int(qBound(qint64(0), ms, qint64(24 * 3600 * 1000))));
}

AvahiTimeout *timeoutNew(const AvahiPoll *, const struct timeval *tv, AvahiTimeoutCallback callback,
                         void *userdata)
{
    auto *t = new AvahiTimeout;
    t->callback = callback;
    t->userdata = userdata;
    t->timer = new QTimer;
    t->timer->setSingleShot(true);
    QObject::connect(t->timer, &QTimer::timeout, t->timer, [t] { t->callback(t, t->userdata); });
    arm(t, tv);
    return t;
}

void timeoutUpdate(AvahiTimeout *t, const struct timeval *tv) { arm(t, tv); }

void timeoutFree(AvahiTimeout *t)
{
    t->timer->stop();
    t->timer->disconnect();
    t->timer->deleteLater();
    delete t;
}

} // namespace

QtAvahiPoll::QtAvahiPoll()
{
    m_poll.userdata = this;
    m_poll.watch_new = watchNew;
    m_poll.watch_update = watchUpdate;
    m_poll.watch_get_events = watchGetEvents;
    m_poll.watch_free = watchFree;
    m_poll.timeout_new = timeoutNew;
    m_poll.timeout_update = timeoutUpdate;
    m_poll.timeout_free = timeoutFree;
}
