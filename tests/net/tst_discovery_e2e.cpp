// Two Corkvane programs on a private local network: the receiving one (the built program)
// announces its note server; the sending one finds it in its send dialog and the note, sent by
// choosing the found entry, arrives on the announced port although PortTCP names another.
#include "app/SendDialogs.h"
#include "app/StickyNote.h"
#include "net/DnssdEnv.h"
#include "net/EnviaComputador.h"
#include "notes/PostIt.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"
#include "platform/Paths.h"
#include "store/NoteStore.h"
#include "support/ProgramRun.h"
#include "support/WaitUntil.h"

#include <QAction>
#include <QHostInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTcpServer>
#include <QtTest>
#include <memory>

namespace {

quint16 freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::AnyIPv4, 0) ? probe.serverPort() : 0;
}


} // namespace

using dnssdenv::itemNamed;

class TestDiscoveryE2E : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(ProgramRun::binFolder() + "corkvane"), "build the corkvane target first");
        Locale::overrideLocaleId(Locale::kPortugueseBrazil);
        Dialogs::setTestMode(true);
    }

    void noteReachesTheFoundProgram()
    {
        DNSSD_REQUIRE_ENV();
        const quint16 port = freePort();
        ProgramRun receiver;
        AppSettings settings;
        settings.recGeral.UseSounds = false;
        settings.recGeral.AutoSave = false;
        settings.recGeral.User = "bia";
        settings.recRede.Enabled = true;
        settings.recRede.PortTCP = QString::number(port);
        QDir().mkpath(receiver.dataFolder());
        QVERIFY(NoteStore::save(receiver.storePath(), settings, {}, true));
        QVERIFY(receiver.start());

        // The sending program networks too, but its server is not started: it lists others
        // and does not announce itself.
        QTemporaryDir home;
        const QString data = home.filePath("Corkvane/tester/data/");
        QDir().mkpath(data);
        AppSettings off;
        off.recGeral.UseSounds = false;
        off.recGeral.User = "ana";
        NoteStore::save(data + "stickies.cvf", off, {}, true);
        auto controller = std::make_unique<TfStickyNote>(TfStickyNote::Folders{ProgramRun::binFolder(), home.path(), "tester"});
        controller->startupStep();
        controller->settings().recRede.Enabled = true;
        controller->settings().recRede.PortTCP = QString::number(freePort()); // nobody there
        TfPostIt *note = controller->note(controller->createNote(TfStickyNote::NoteKind::User));
        note->setTitle(QString::fromUtf8("Achado na rede"));
        note->setText("ok");
        note->popPrincipalPopup();
        note->popPrincipal()->findChild<QAction *>("EnviarpelaRede1")->trigger();
        TfrmEnviaComputador *dialog = controller->sendDialogs()->sendDialog();
        QVERIFY(dialog->isVisible());

        auto *list = dialog->findChild<QListWidget *>("lstEncontrados");
        const QString name = "bia em " + QHostInfo::localHostName();
        QVERIFY(waitUntil([&] { return itemNamed(list, name) != nullptr; }, 20000));
        QVERIFY(!itemNamed(list, "ana em " + QHostInfo::localHostName()));
        emit list->itemActivated(itemNamed(list, name));
        QCOMPARE(dialog->findChild<QLineEdit *>("txtPara")->text(), QString("10.78.0.1"));
        dialog->findChild<QPushButton *>("cmdEnviar")->click();
        QCOMPARE(Dialogs::shownMessages().size(), 1);
        QCOMPARE(Dialogs::shownMessages().first().text, QString("Nota Enviada!"));

        // Closing the receiving program takes it off the list.
        QCOMPARE(receiver.terminate(), 0);
        QVERIFY(waitUntil([&] { return itemNamed(list, name) == nullptr; }, 8000));
        const QList<NoteData> notes = NoteStore::load(receiver.storePath(), QDateTime::currentDateTime(),
                                                      Paths::loginName(), ProgramRun::binFolder()).notes;
        QCOMPARE(notes.size(), 1);
        QCOMPARE(notes.first().caption, QString::fromUtf8("Achado na rede"));
        QCOMPARE(notes.first().rodape, QString("De ana (10.78.0.1)"));
        controller->shutdown();
    }
};

int main(int argc, char **argv)
{
    dnssdenv::enter(argc, argv);
    QApplication app(argc, argv);
    TestDiscoveryE2E t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_discovery_e2e.moc"
