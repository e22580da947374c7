#pragma once
// Whether the desktop has a notification area at this moment, and word whenever one comes or
// goes. Two kinds are watched:
//  - an XEmbed system tray on X11: the owner of the selection _NET_SYSTEM_TRAY_S<screen>,
//    followed through the X server's selection notifications;
//  - a StatusNotifierItem host on the session bus: the name org.kde.StatusNotifierWatcher,
//    owned by a watcher that reports a host registered with it.
// A panel started after the program, or restarted, shows up here as changed().
#include <QByteArray>
#include <QObject>
#include <memory>

class NotificationArea : public QObject
{
    Q_OBJECT
public:
    explicit NotificationArea(QObject *parent = nullptr);
    ~NotificationArea() override;

    bool xembedTray() const { return m_xembed; }
    bool statusNotifierHost() const { return m_statusNotifier; }
    bool available() const { return m_xembed || m_statusNotifier; }

    // The screen number of an X display name ("host:display.screen"); 0 when it names none.
    static int screenOfDisplayName(const QByteArray &displayName);

signals:
    void changed();

private:
    class XEmbedWatch;
    class StatusNotifierWatch;
    void setXEmbed(bool present);
    void setStatusNotifier(bool present);

    bool m_xembed = false;
    bool m_statusNotifier = false;
    std::unique_ptr<XEmbedWatch> m_xembedWatch;
    std::unique_ptr<StatusNotifierWatch> m_statusNotifierWatch;
};
