// Shows the send dialog after a real send (one recipient reached, one refused), or the contact
// book in recipient use, and keeps it on screen until the process is ended: the driver behind
// the screenshots in docs/. Not a test.
//   shot_send_dialogs send | book
#include "mail/AddressBook.h"
#include "net/EnviaComputador.h"
#include "net/NoteSender.h"
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

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Dialogs::setTestMode(true);
    const bool book = argc > 1 && QByteArray(argv[1]) == "book";
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
    dialog.prepare(0);
    dialog.show();
    dialog.findChild<QLineEdit *>("txtPara")->setText("127.0.0.1, 127.0.0.2");
    QTimer::singleShot(300, &dialog, [&dialog] { dialog.findChild<QPushButton *>("cmdEnviar")->click(); });
    return app.exec();
}
