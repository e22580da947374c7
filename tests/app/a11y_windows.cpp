// Opens every window of the program in turn, each the way the program itself opens it, on a
// store with notes (one received, one with an alarm today, one hidden), contacts and a block
// list: the driver behind the accessibility test (tests/app/a11y_names.py). Not a test.
//
// For each window it prints "window <name>" on its standard output once the window is up,
// then waits for a line on its standard input before closing it and opening the next; after
// the last it prints "end" and quits. Run it on an X server with the accessibility bus:
//   QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 build/drivers/a11y_windows
#include "alarms/ConfSom.h"
#include "alarms/MostraAlarmes.h"
#include "app/Help.h"
#include "app/SendDialogs.h"
#include "app/Sobre.h"
#include "app/StickyNote.h"
#include "mail/AddressBook.h"
#include "mail/EnviarEmail.h"
#include "net/EnviaComputador.h"
#include "net/InsereBloq.h"
#include "notes/ConfNota.h"
#include "notes/Notas.h"
#include "notes/PostIt.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTabWidget>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <unistd.h>
#include <vector>

namespace {

struct Step
{
    QString name;
    bool modal;                          // open() returns once the window has closed
    std::function<void()> open;
    std::function<QWidget *()> window;   // the window to wait for and to close
    std::function<void(QWidget *)> prepare = {};  // run on the window once it is up
};

// Shows page `index` of the settings dialog: every page is walked as the user sees it.
std::function<void(QWidget *)> page(int index)
{
    return [index](QWidget *window) {
        if (auto *pages = window->findChild<QTabWidget *>(QStringLiteral("pagGeral")))
            pages->setCurrentIndex(index);
    };
}

QByteArray windowsStore()
{
    const QDateTime tonight(QDate::currentDate(), QTime(23, 59, 0));
    QByteArray store =
        "[General]\r\nDefaultLang=Port\r\nNumStickies=3\r\nAutoSave=0\r\nAskDelete=1\r\n"
        "[Network]\r\nEnabled=1\r\nPortTCP=0\r\nBlocktype=2\r\nListcount=1\r\nList0=10.0.0.9\r\n"
        "[Contatos]\r\nCount=2\r\nNome1=Ana\r\nEmail1=ana@example.org\r\nNotes1=amiga\r\n"
        "Nome2=Bia\r\nEmail2=192.168.0.7\r\nNotes2=\r\n"
        "[Stick0]\r\ncaption=Compras\r\nvisible=1\r\nnote=Comprar p\xE3o\\nleite\r\n"
        "alarm=1\r\nAlarmDateTime=";
    store += Locale::formatStoredDateTime(tonight).toLatin1();
    store += "\r\nposx=40\r\nposy=40\r\n"
             "[Stick1]\r\ncaption=Recebida\r\nvisible=1\r\nnote=Ol\xE1\r\nRodape=De ana (10.0.0.7)\r\n"
             "posx=260\r\nposy=40\r\n"
             "[Stick2]\r\ncaption=Escondida\r\nvisible=0\r\nnote=segredo\r\n";
    return store;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corkvane"));
    QApplication::setQuitOnLastWindowClosed(false);
    // No message box may ever wait for an answer nobody gives.
    Dialogs::setTestMode(true);
    Locale::overrideLocaleId(Locale::kPortugueseBrazil);

    QTemporaryDir home;
    QDir().mkpath(home.filePath(QStringLiteral("Corkvane/tester/data")));
    {
        QFile store(home.filePath(QStringLiteral("Corkvane/tester/data/stickies.cvf")));
        if (!store.open(QIODevice::WriteOnly) || store.write(windowsStore()) < 0)
            return 2;
    }
    const QString programFolder = qEnvironmentVariable("CORKVANE_BIN_DIR", QCoreApplication::applicationDirPath() + QStringLiteral("/../bin")) + QLatin1Char('/');
    TfStickyNote controller({programFolder, home.path(), QStringLiteral("tester")});
    controller.startupStep();
    TfPostIt *note = controller.note(0);
    if (!note)
        return 2;

    const auto modal = [] { return QApplication::activeModalWidget(); };
    std::vector<Step> steps = {
        {"note", false, [note] { note->bringToFront(); }, [note] { return note; }},
        {"notes window, searching", false, [&] { controller.openNotesWindow(); },
         [&] { return static_cast<QWidget *>(controller.notesWindow()); },
         // Text in the search field brings out its clear button.
         [](QWidget *window) { window->findChild<QLineEdit *>(QStringLiteral("txtProcurar"))->setText(QStringLiteral("a")); }},
    };
    const QStringList notePages{"Aparência", "Alarmes"};
    for (int i = 0; i < notePages.size(); ++i)
        steps.push_back({QStringLiteral("note settings, ") + notePages.at(i), true,
                         [&] { OpenNoteSettings(note, false, &controller.settings()); }, modal, page(i)});
    const QStringList generalPages{"Aparência", "Alarmes", "Sons", "Geral", "Rede"};
    for (int i = 0; i < generalPages.size(); ++i)
        steps.push_back({QStringLiteral("preferences, ") + generalPages.at(i), true, [&] { controller.openPreferences(); },
                         modal, page(i)});
    const std::vector<Step> others = {
        {"title dialog", true, [note] { note->openTitleDialog(); }, modal},
        {"today's tasks", false,
         [&] {
             controller.listTodaysTasks();
             controller.todaysTasks()->show();
         },
         [&] { return static_cast<QWidget *>(controller.todaysTasks()); }},
        {"send to computer", false, [&] { controller.sendDialogs()->openSendDialog(0, false); },
         [&] { return static_cast<QWidget *>(controller.sendDialogs()->sendDialog()); }},
        {"contact book", true, [&] { controller.sendDialogs()->openAddressBook(); }, modal},
        {"contact book choosing recipients", true, [&] { controller.sendDialogs()->chooseRecipients(); }, modal},
        {"contact entry", false,
         [&] { controller.sendDialogs()->addressBook()->proposeContact({QStringLiteral("Caio"), QStringLiteral("pc-caio"), QString()}); },
         [&] { return static_cast<QWidget *>(controller.sendDialogs()->addressBook()->contactDialog()); }},
        {"e-mail", false, [&] { controller.openEmailDialog(0); },
         [&] { return static_cast<QWidget *>(controller.emailDialog()); }},
        {"about", true, [&] { controller.aboutBox()->exec(); }, modal},
        {"help", false, [&] { controller.showHelp(1); }, [&] { return static_cast<QWidget *>(controller.helpWindow()); }},
        {"block entry", true, [&] { controller.blockEntryDialog()->exec(); }, modal},
        {"event sound", true, [&] { controller.soundDialog()->chooseSound(QStringLiteral("Nova Nota"), QString()); }, modal},
    };
    steps.insert(steps.end(), others.begin(), others.end());

    std::size_t current = 0;
    QWidget *shown = nullptr;
    QTimer poll;
    poll.setInterval(50);
    std::function<void(std::size_t)> run;

    const auto finish = [&] {
        std::printf("end\n");
        std::fflush(stdout);
        QCoreApplication::exit(0);
    };
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *w = steps[current].window();
        if (!w || !w->isVisible())
            return;
        poll.stop();
        shown = w;
        if (steps[current].prepare)
            steps[current].prepare(w);
        // A moment for the window to reach the accessibility bus before it is walked.
        QTimer::singleShot(300, [&] {
            std::printf("window %s\n", qPrintable(steps[current].name));
            std::fflush(stdout);
        });
    });
    run = [&](std::size_t index) {
        if (index >= steps.size()) {
            finish();
            return;
        }
        current = index;
        shown = nullptr;
        poll.start();
        steps[index].open();
        if (steps[index].modal)
            QTimer::singleShot(0, [&, index] { run(index + 1); });
    };

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[256];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            // The walker went away: nothing more to show.
            input.setEnabled(false);
            QCoreApplication::exit(1);
            return;
        }
        if (!shown)
            return;
        QWidget *closing = shown;
        shown = nullptr;
        const bool wasModal = steps[current].modal;
        if (auto *dialog = qobject_cast<QDialog *>(closing))
            dialog->reject();
        else
            closing->close();
        if (!wasModal)
            QTimer::singleShot(0, [&] { run(current + 1); });
    });

    QTimer::singleShot(0, [&] { run(0); });
    const int code = app.exec();
    Locale::overrideLocaleId(-1);
    return code;
}
