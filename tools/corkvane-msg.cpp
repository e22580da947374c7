// Asks the running Corkvane of this user for a new note holding the clipboard's text.
#include <QCoreApplication>
#include <QLocalSocket>
#include <QStandardPaths>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString path = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/CorkvaneMsg");
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(3000)) {
        std::fprintf(stderr, "corkvane-msg: no Corkvane is running for this user (%s)\n",
                     qPrintable(socket.errorString()));
        return 1;
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(3000);
    return 0;
}
