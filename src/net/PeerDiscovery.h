#pragma once

#include <QList>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QSet>
#include <QString>
#include <QMetaType>
#include <QTimer>

#include <memory>

class QtAvahiPoll;
struct AvahiClient;
struct AvahiEntryGroup;
struct AvahiServiceBrowser;
struct AvahiServiceResolver;

// Another running Corkvane seen on the local network.
struct FoundPeer
{
    QString name;     // service name, e.g. "ana em mesa-3"
    QString user;     // the user's name from the TXT record
    QString hostName; // e.g. "mesa-3.local"
    QString address;  // IPv4, as the note sender dials it
    quint16 port = 0; // where that computer's note server listens
    bool operator==(const FoundPeer &) const = default;
};

// Announces this program on the local network through the desktop's DNS-SD daemon and keeps a
// live list of the others that do the same. The daemon may be missing, stop or come back at any
// time: nothing here blocks, the outage is reported once, and the announcement and the list come
// back on their own when the daemon returns.
class PeerDiscovery : public QObject
{
    Q_OBJECT
public:
    static constexpr const char *ServiceType = "_corkvane._tcp";

    explicit PeerDiscovery(QObject *parent = nullptr);
    ~PeerDiscovery() override;

    // "ana em mesa-3": how the others list this computer.
    static QString serviceName(const QString &user, const QString &computer);

    // Announces (or re-announces, when anything changed) the note server on `port`.
    void announce(quint16 port, const QString &user, const QString &computer);
    void withdraw();

    // The name under which the daemon confirmed the announcement (after any rename on a
    // collision); empty while not announced.
    QString announcedName() const { return m_registeredName; }
    bool isAvailable() const { return m_available == 1; }
    QList<FoundPeer> peers() const;

signals:
    void peerFound(const FoundPeer &peer);
    void peerRemoved(const QString &name);
    void availabilityChanged(bool available);
    void announced(const QString &name);

private:
    using Key = QPair<int, QString>; // interface index, service name

    void connectClient();
    void dropClient();
    void setAvailable(bool available);
    void clearPeers();
    void register_();
    void onClientState(int state);
    void onGroupState(int state);
    void onBrowse(int interface, int event, const char *name, const char *type, const char *domain);
    void onResolved(AvahiServiceResolver *r, int interface, int event, const char *name, const char *host,
                    const char *address, quint16 port, const QString &user);
    void addPeer(const Key &key, const FoundPeer &peer);
    void removePeer(const Key &key);

    std::unique_ptr<QtAvahiPoll> m_poll;
    AvahiClient *m_client = nullptr;
    AvahiEntryGroup *m_group = nullptr;
    AvahiServiceBrowser *m_browser = nullptr;
    QSet<AvahiServiceResolver *> m_resolvers;
    QMap<Key, FoundPeer> m_entries;
    QTimer m_retry;
    int m_available = -1; // unknown until the first answer
    bool m_restarting = false;

    bool m_wanted = false;
    quint16 m_port = 0;
    QString m_user;
    QString m_baseName;       // the name asked for, before any rename
    QString m_name;           // the name to ask for next
    QString m_registeredName; // what the daemon confirmed

    friend struct PeerDiscoveryCallbacks;
};
Q_DECLARE_METATYPE(FoundPeer)
