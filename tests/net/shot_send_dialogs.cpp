// Shows the send dialog after a real send (one recipient reached, one refused), the send dialog
// listing the programs it found on the local network, or the contact book in recipient use, and
// keeps it on screen until the process is ended: the driver behind the screenshots in docs/.
// Not a test.
//   shot_send_dialogs send | found | book
// "found" needs a DNS-SD daemon; run it inside scripts/dnssd-env.sh's private network, with the
// X server started there too:
//   scripts/dnssd-env.sh run sh -c 'Xvfb :88 -screen 0 800x600x24 & sleep 1;
//     DISPLAY=:88 openbox & DISPLAY=:88 QT_QPA_PLATFORM=xcb build/drivers/shot_send_dialogs found &
//     sleep 6; DISPLAY=:88 import -window root shot.png'
// The pictures were taken with the driver (build/drivers/) on Xvfb under openbox:
//   Xvfb :87 -screen 0 800x600x24 & DISPLAY=:87 openbox &
//   DISPLAY=:87 QT_QPA_PLATFORM=xcb build/drivers/shot_send_dialogs send &
//   DISPLAY=:87 import -window root shot.png && convert shot.png -trim +repage docs/...png
#include "mail/AddressBook.h"
#include "net/EnviaComputador.h"
#include "net/NoteSender.h"
#include "net/PeerDiscovery.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>
#include <vector>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Dialogs::setTestMode(true);
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray("send");
    const bool book = mode == "book";
    QTemporaryDir dir;

    if (book) {
        const QString store = dir.filePath("stickies.cvf");
        Contacts::saveToFile(store, {{"Zoz", "pc-zoz", "sala 12"},
                                     {"Bia", "bia@example.org", "amiga"},
                                     {"Zé", "192.168.0.7", "recepção"},
                                     {"Ana", "ana@example.org", ""}});
        auto *window = new TfrmAddressBook(store);
        window->setRecipientPanelVisible(true);
        window->show();
        auto *list = window->findChild<QTableWidget *>("lstContato");
        list->selectRow(2);
        window->findChild<QPushButton *>("cmdInserir")->click();
        list->selectRow(3);
        window->findChild<QPushButton *>("cmdInserir")->click();
        window->findChild<QListWidget *>("lstSelecionado")->setCurrentRow(1);
        return app.exec();
    }

    QTcpServer receiver;
    receiver.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&receiver, &QTcpServer::newConnection, [&receiver] {
        while (QTcpSocket *s = receiver.nextPendingConnection())
            QObject::connect(s, &QTcpSocket::readyRead, s, [s] { s->readAll(); });
    });
    QTimer tmrConecta;
    tmrConecta.setSingleShot(true);
    NoteSender sender(tmrConecta);
    AppSettings settings;
    settings.recRede.PortTCP = QString::number(receiver.serverPort());
    TfrmEnviaComputador dialog(sender, settings);
    dialog.setNoteSource([](int) {
        NoteProtocol::OutgoingNote note;
        note.user = "ana";
        note.title = "Compras";
        note.text = "Comprar pão\r\nleite";
        return std::optional<NoteProtocol::OutgoingNote>(note);
    });
    if (mode == "found") {
        // Three colleagues' programs on the network, announced as each of them would be.
        std::vector<std::unique_ptr<PeerDiscovery>> others;
        const std::pair<const char *, const char *> colleagues[] = {
            {"bia", "mesa-2"}, {"carlos", "recepcao"}, {"zé", "sala-12"}};
        quint16 port = 7802;
        for (const auto &[user, computer] : colleagues) {
            others.push_back(std::make_unique<PeerDiscovery>());
            others.back()->announce(port++, QString::fromUtf8(user), QString::fromUtf8(computer));
        }
        PeerDiscovery mine;
        dialog.setDiscovery(&mine);
        dialog.prepare(0);
        dialog.show();
        // The first one found is chosen, as a double click would.
        auto *list = dialog.findChild<QListWidget *>("lstEncontrados");
        QTimer chooser;
        QObject::connect(&chooser, &QTimer::timeout, &dialog, [list, &chooser] {
            if (list->count() < 3)
                return;
            chooser.stop();
            list->setCurrentRow(0);
            emit list->itemActivated(list->item(0));
        });
        chooser.start(200);
        return app.exec();
    }

    dialog.prepare(0);
    dialog.show();
    dialog.findChild<QLineEdit *>("txtPara")->setText("127.0.0.1, 127.0.0.2");
    QTimer::singleShot(300, &dialog, [&dialog] { dialog.findChild<QPushButton *>("cmdEnviar")->click(); });
    return app.exec();
}
