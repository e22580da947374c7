#pragma once
// The "CorkvaneMsg" message that any process of this user may send: a local socket in the
// user's runtime folder; every accepted connection is one message. What the peer writes before
// it closes (at most one short line, see ProgramCommand.h) is handed on with the message.
#include <QObject>
#include <QString>
#include <memory>

class QLockFile;
class QSocketNotifier;

class MessageEndpoint : public QObject
{
    Q_OBJECT
public:
    explicit MessageEndpoint(QObject *parent = nullptr);
    ~MessageEndpoint() override;

    static QString socketPath();
    // Starts listening; a stale socket left by a crashed run is replaced, a live one is not.
    bool listen();
    bool isListening() const { return m_fd >= 0; }
    QString errorString() const { return m_error; }

signals:
    // `message`: the first bytes the peer wrote, empty when it wrote none.
    void messageReceived(const QByteArray &message);

private:
    void acceptClients();
    void readMessage(int client);

    int m_fd = -1;
    QSocketNotifier *m_acceptNotifier = nullptr;
    std::unique_ptr<QLockFile> m_lock;
    QString m_error;
};
