#include "net/PeerDiscovery.h"

#include "net/QtAvahiPoll.h"

#include <avahi-client/client.h>
#include <avahi-client/lookup.h>
#include <avahi-client/publish.h>
#include <avahi-common/alternative.h>
#include <avahi-common/error.h>
#include <avahi-common/malloc.h>
#include <avahi-common/strlst.h>

namespace {
// While no client can even be made (no system bus), try again this often.
constexpr int RetryMs = 3000;
constexpr const char *UserKey = "user";
} // namespace

struct PeerDiscoveryCallbacks
{
    static void client(AvahiClient *c, AvahiClientState state, void *self)
    {
        auto *d = static_cast<PeerDiscovery *>(self);
        // The first call comes from inside avahi_client_new(), before it returned the client.
        if (!d->m_client)
            d->m_client = c;
        d->onClientState(state);
    }
    static void group(AvahiEntryGroup *, AvahiEntryGroupState state, void *self)
    {
        static_cast<PeerDiscovery *>(self)->onGroupState(state);
    }
    static void browse(AvahiServiceBrowser *, AvahiIfIndex interface, AvahiProtocol, AvahiBrowserEvent event,
                       const char *name, const char *type, const char *domain, AvahiLookupResultFlags, void *self)
    {
        static_cast<PeerDiscovery *>(self)->onBrowse(interface, event, name, type, domain);
    }
    static void resolve(AvahiServiceResolver *r, AvahiIfIndex interface, AvahiProtocol, AvahiResolverEvent event,
                        const char *name, const char *, const char *, const char *host, const AvahiAddress *a,
                        uint16_t port, AvahiStringList *txt, AvahiLookupResultFlags, void *self)
    {
        char address[AVAHI_ADDRESS_STR_MAX] = {};
        if (a)
            avahi_address_snprint(address, sizeof address, a);
        QString user;
        if (AvahiStringList *item = avahi_string_list_find(txt, UserKey)) {
            char *key = nullptr;
            char *value = nullptr;
            size_t size = 0;
            if (avahi_string_list_get_pair(item, &key, &value, &size) == 0) {
                if (value)
                    user = QString::fromUtf8(value, qsizetype(size));
                avahi_free(key);
                avahi_free(value);
            }
        }
        static_cast<PeerDiscovery *>(self)->onResolved(r, interface, event, name, host, address, port, user);
    }
};

PeerDiscovery::PeerDiscovery(QObject *parent)
    : QObject(parent), m_poll(std::make_unique<QtAvahiPoll>())
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(RetryMs);
    connect(&m_retry, &QTimer::timeout, this, &PeerDiscovery::connectClient);
    // From the event loop, so that whoever made this object hears the first report.
    QTimer::singleShot(0, this, &PeerDiscovery::connectClient);
}

PeerDiscovery::~PeerDiscovery()
{
    // Freeing the client withdraws the announcement at the daemon as well.
    dropClient();
}

QString PeerDiscovery::serviceName(const QString &user, const QString &computer)
{
    const QString u = user.trimmed();
    const QString c = computer.trimmed();
    QString name = u.isEmpty() ? c : c.isEmpty() ? u : u + QStringLiteral(" em ") + c;
    // A DNS label holds at most 63 bytes; cut on a whole character.
    while (name.toUtf8().size() > 63)
        name.chop(1);
    return name.isEmpty() ? QStringLiteral("Corkvane") : name;
}

void PeerDiscovery::connectClient()
{
    if (m_client)
        return;
    int error = 0;
    AvahiClient *c = avahi_client_new(m_poll->poll(), AVAHI_CLIENT_NO_FAIL, &PeerDiscoveryCallbacks::client,
                                      this, &error);
    if (!c) {
        // No system bus at all: the library cannot even wait for the daemon.
        m_client = nullptr;
        setAvailable(false);
        m_retry.start();
        return;
    }
    m_client = c;
}

void PeerDiscovery::dropClient()
{
    if (!m_client)
        return;
    // The client owns the group, the browser and the resolvers and frees them with itself.
    AvahiClient *c = m_client;
    m_client = nullptr;
    m_group = nullptr;
    m_browser = nullptr;
    m_resolvers.clear();
    m_registeredName.clear();
    avahi_client_free(c);
}

void PeerDiscovery::setAvailable(bool available)
{
    if (!available)
        clearPeers();
    const int now = available ? 1 : 0;
    if (m_available == now)
        return;
    m_available = now;
    emit availabilityChanged(available);
}

void PeerDiscovery::clearPeers()
{
    const QList<Key> keys = m_entries.keys();
    for (const Key &key : keys)
        removePeer(key);
}

QList<FoundPeer> PeerDiscovery::peers() const
{
    QList<FoundPeer> out;
    QSet<QString> seen;
    for (const FoundPeer &p : m_entries) {
        if (!seen.contains(p.name)) {
            seen.insert(p.name);
            out.append(p);
        }
    }
    return out;
}

void PeerDiscovery::onClientState(int state)
{
    switch (state) {
    case AVAHI_CLIENT_S_RUNNING:
        setAvailable(true);
        if (!m_browser) {
            m_browser = avahi_service_browser_new(m_client, AVAHI_IF_UNSPEC, AVAHI_PROTO_INET, ServiceType,
                                                  nullptr, AvahiLookupFlags(0), &PeerDiscoveryCallbacks::browse,
                                                  this);
        }
        register_();
        break;
    case AVAHI_CLIENT_S_COLLISION:
    case AVAHI_CLIENT_S_REGISTERING:
        // The host name is being (re)established: the records go up again once it runs.
        if (m_group)
            avahi_entry_group_reset(m_group);
        m_registeredName.clear();
        break;
    case AVAHI_CLIENT_CONNECTING:
        setAvailable(false);
        break;
    case AVAHI_CLIENT_FAILURE:
    default:
        // The daemon went away (or the bus broke): start over with a fresh client, which waits
        // for the daemon to come back. Not from inside the library's own callback.
        setAvailable(false);
        if (!m_restarting) {
            m_restarting = true;
            QTimer::singleShot(0, this, [this] {
                m_restarting = false;
                dropClient();
                connectClient();
            });
        }
        break;
    }
}

void PeerDiscovery::announce(quint16 port, const QString &user, const QString &computer)
{
    const QString name = serviceName(user, computer);
    // Nothing changed: keep the name the daemon confirmed, renamed or not.
    if (m_wanted && port == m_port && user == m_user && name == m_baseName && !m_registeredName.isEmpty())
        return;
    m_wanted = true;
    m_port = port;
    m_user = user;
    m_baseName = name;
    m_name = name;
    if (m_group)
        avahi_entry_group_reset(m_group);
    m_registeredName.clear();
    register_();
}

void PeerDiscovery::withdraw()
{
    m_wanted = false;
    m_registeredName.clear();
    if (m_group)
        avahi_entry_group_reset(m_group);
}

void PeerDiscovery::register_()
{
    if (!m_wanted || !m_client || avahi_client_get_state(m_client) != AVAHI_CLIENT_S_RUNNING)
        return;
    if (!m_group) {
        m_group = avahi_entry_group_new(m_client, &PeerDiscoveryCallbacks::group, this);
        if (!m_group)
            return;
    }
    if (!avahi_entry_group_is_empty(m_group))
        return;
    // A few renames at most: each collision yields "name #2", "name #3"...
    for (int attempt = 0; attempt < 20; ++attempt) {
        const QByteArray name = m_name.toUtf8();
        const QByteArray txt = QByteArray(UserKey) + '=' + m_user.toUtf8().left(200);
        AvahiStringList *list = avahi_string_list_new(txt.constData(), nullptr);
        const int r = avahi_entry_group_add_service_strlst(m_group, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC,
                                                           AvahiPublishFlags(0), name.constData(), ServiceType,
                                                           nullptr, nullptr, m_port, list);
        avahi_string_list_free(list);
        if (r == AVAHI_ERR_COLLISION) {
            char *alt = avahi_alternative_service_name(name.constData());
            m_name = QString::fromUtf8(alt);
            avahi_free(alt);
            continue;
        }
        if (r < 0 || avahi_entry_group_commit(m_group) < 0)
            avahi_entry_group_reset(m_group);
        return;
    }
}

void PeerDiscovery::onGroupState(int state)
{
    switch (state) {
    case AVAHI_ENTRY_GROUP_ESTABLISHED:
        m_registeredName = m_name;
        emit announced(m_registeredName);
        break;
    case AVAHI_ENTRY_GROUP_COLLISION: {
        // Someone else on the network holds this name: take the next free variant.
        char *alt = avahi_alternative_service_name(m_name.toUtf8().constData());
        m_name = QString::fromUtf8(alt);
        avahi_free(alt);
        m_registeredName.clear();
        avahi_entry_group_reset(m_group);
        register_();
        break;
    }
    default:
        break;
    }
}

void PeerDiscovery::onBrowse(int interface, int event, const char *name, const char *type, const char *domain)
{
    switch (event) {
    case AVAHI_BROWSER_NEW: {
        AvahiServiceResolver *r = avahi_service_resolver_new(m_client, interface, AVAHI_PROTO_INET, name, type,
                                                             domain, AVAHI_PROTO_INET, AvahiLookupFlags(0),
                                                             &PeerDiscoveryCallbacks::resolve, this);
        if (r)
            m_resolvers.insert(r);
        break;
    }
    case AVAHI_BROWSER_REMOVE:
        removePeer(Key(interface, QString::fromUtf8(name)));
        break;
    case AVAHI_BROWSER_FAILURE:
        // The browser is dead; the client's next state change tells what happened to the daemon.
        break;
    default:
        break;
    }
}

void PeerDiscovery::onResolved(AvahiServiceResolver *r, int interface, int event, const char *name,
                               const char *host, const char *address, quint16 port, const QString &user)
{
    if (m_resolvers.remove(r))
        avahi_service_resolver_free(r);
    if (event != AVAHI_RESOLVER_FOUND || !name || !*address)
        return;
    FoundPeer peer;
    peer.name = QString::fromUtf8(name);
    peer.user = user;
    peer.hostName = QString::fromUtf8(host ? host : "");
    peer.address = QString::fromLatin1(address);
    peer.port = port;
    addPeer(Key(interface, peer.name), peer);
}

void PeerDiscovery::addPeer(const Key &key, const FoundPeer &peer)
{
    bool nameKnown = false;
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it)
        nameKnown = nameKnown || (it.key() != key && it->name == peer.name);
    const auto old = m_entries.constFind(key);
    const bool changed = old == m_entries.cend() || !(*old == peer);
    m_entries.insert(key, peer);
    if (changed && !nameKnown)
        emit peerFound(peer);
}

void PeerDiscovery::removePeer(const Key &key)
{
    const auto it = m_entries.find(key);
    if (it == m_entries.end())
        return;
    const QString name = it->name;
    m_entries.erase(it);
    for (const FoundPeer &p : std::as_const(m_entries))
        if (p.name == name)
            return;
    emit peerRemoved(name);
}
