#include "platform/NotificationArea.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <cstdlib>

int NotificationArea::screenOfDisplayName(const QByteArray &displayName)
{
    // Only what follows the last ':' is the display and screen; a host part may hold ':' itself.
    const qsizetype colon = displayName.lastIndexOf(':');
    if (colon < 0)
        return 0;
    const QByteArray displayAndScreen = displayName.mid(colon + 1);
    const qsizetype dot = displayAndScreen.indexOf('.');
    if (dot < 0)
        return 0;
    bool ok = false;
    const int screen = displayAndScreen.mid(dot + 1).toInt(&ok);
    return ok && screen >= 0 ? screen : 0;
}

// --- XEmbed tray: the selection owner, and the X server's word when it changes ----------------

class NotificationArea::XEmbedWatch : public QAbstractNativeEventFilter
{
public:
    explicit XEmbedWatch(NotificationArea *owner) : m_owner(owner) {}

    ~XEmbedWatch() override
    {
        if (m_connection)
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }

    // False when the program does not run on X11 (or the server lacks the selection
    // notifications); the watch then reports nothing.
    bool start()
    {
        auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
        if (!connection)
            return false;
        const xcb_query_extension_reply_t *xfixes = xcb_get_extension_data(connection, &xcb_xfixes_id);
        if (!xfixes || !xfixes->present)
            return false;
        const xcb_window_t root = rootWindow(connection);
        if (root == XCB_NONE)
            return false;
        const QByteArray name = "_NET_SYSTEM_TRAY_S" + QByteArray::number(screenOfDisplayName(qgetenv("DISPLAY")));
        xcb_intern_atom_reply_t *atom =
            xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, name.size(), name.constData()), nullptr);
        if (!atom)
            return false;
        m_selection = atom->atom;
        std::free(atom);

        m_connection = connection;
        m_selectionNotify = xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY;
        QCoreApplication::instance()->installNativeEventFilter(this);
        xcb_xfixes_select_selection_input(connection, root, m_selection,
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER
                                              | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY
                                              | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
        xcb_flush(connection);
        m_owner->setXEmbed(ownerPresent());
        return true;
    }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7f) != m_selectionNotify)
            return false;
        const auto *notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t *>(event);
        if (notify->selection == m_selection) {
            // Asked again rather than read from the event: a destroyed owner may already have
            // been followed by a new one.
            m_owner->setXEmbed(ownerPresent());
        }
        return false;  // Qt's own handlers see the event too
    }

private:
    static xcb_window_t rootWindow(xcb_connection_t *connection)
    {
        int screen = screenOfDisplayName(qgetenv("DISPLAY"));
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
        for (; it.rem > 0; xcb_screen_next(&it), --screen)
            if (screen == 0)
                return it.data->root;
        return XCB_NONE;
    }

    bool ownerPresent() const
    {
        xcb_get_selection_owner_reply_t *reply =
            xcb_get_selection_owner_reply(m_connection, xcb_get_selection_owner(m_connection, m_selection), nullptr);
        if (!reply)
            return false;
        const bool present = reply->owner != XCB_NONE;
        std::free(reply);
        return present;
    }

    NotificationArea *const m_owner;
    xcb_connection_t *m_connection = nullptr;
    xcb_atom_t m_selection = XCB_NONE;
    uint8_t m_selectionNotify = 0;
};

// --- StatusNotifierItem host: the watcher's name on the session bus and its host flag --------

namespace {
const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString kWatcherInterface = QStringLiteral("org.kde.StatusNotifierWatcher");
constexpr int kStartQueryTimeoutMs = 1000;
}

class NotificationArea::StatusNotifierWatch : public QObject
{
    Q_OBJECT
public:
    explicit StatusNotifierWatch(NotificationArea *owner)
        : m_owner(owner), m_bus(QDBusConnection::sessionBus())
    {
    }

    bool start()
    {
        if (!m_bus.isConnected())
            return false;
        m_names = new QDBusServiceWatcher(kWatcherService, m_bus,
                                          QDBusServiceWatcher::WatchForRegistration
                                              | QDBusServiceWatcher::WatchForUnregistration,
                                          this);
        connect(m_names, &QDBusServiceWatcher::serviceRegistered, this, &StatusNotifierWatch::askHost);
        connect(m_names, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
            ++m_generation;  // a reply still on its way speaks of the watcher that left
            m_owner->setStatusNotifier(false);
        });
        for (const char *signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"})
            m_bus.connect(QString(), kWatcherPath, kWatcherInterface, QLatin1String(signal), this, SLOT(askHost()));

        // At start the answer is waited for, briefly, so that the program knows at once whether
        // an icon can be shown.
        QDBusMessage reply = m_bus.call(hostQuery(), QDBus::Block, kStartQueryTimeoutMs);
        m_owner->setStatusNotifier(hostRegistered(reply));
        return true;
    }

private slots:
    void askHost()
    {
        const quint64 generation = ++m_generation;
        auto *pending = new QDBusPendingCallWatcher(m_bus.asyncCall(hostQuery(), kStartQueryTimeoutMs), this);
        connect(pending, &QDBusPendingCallWatcher::finished, this, [this, generation](QDBusPendingCallWatcher *call) {
            call->deleteLater();
            if (generation == m_generation)
                m_owner->setStatusNotifier(hostRegistered(call->reply()));
        });
    }

private:
    static QDBusMessage hostQuery()
    {
        QDBusMessage get = QDBusMessage::createMethodCall(kWatcherService, kWatcherPath,
                                                          QStringLiteral("org.freedesktop.DBus.Properties"),
                                                          QStringLiteral("Get"));
        get << kWatcherInterface << QStringLiteral("IsStatusNotifierHostRegistered");
        return get;
    }

    static bool hostRegistered(const QDBusMessage &reply)
    {
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return false;
        return qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant().toBool();
    }

    NotificationArea *const m_owner;
    QDBusConnection m_bus;
    QDBusServiceWatcher *m_names = nullptr;
    quint64 m_generation = 0;
};

// --- the two together ---------------------------------------------------------------------------

NotificationArea::NotificationArea(QObject *parent) : QObject(parent)
{
    m_xembedWatch = std::make_unique<XEmbedWatch>(this);
    if (!m_xembedWatch->start())
        m_xembedWatch.reset();
    m_statusNotifierWatch = std::make_unique<StatusNotifierWatch>(this);
    if (!m_statusNotifierWatch->start())
        m_statusNotifierWatch.reset();
}

NotificationArea::~NotificationArea() = default;

void NotificationArea::setXEmbed(bool present)
{
    if (present == m_xembed)
        return;
    m_xembed = present;
    emit changed();
}

void NotificationArea::setStatusNotifier(bool present)
{
    if (present == m_statusNotifier)
        return;
    m_statusNotifier = present;
    emit changed();
}

#include "NotificationArea.moc"
