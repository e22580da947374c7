// The help window: every help context leads to its topic of the shipped guide, in the active
// language; F1 in a note and in the settings dialog, and the tray's help row, open it.
#include "alarms/ConfSom.h"
#include "app/Help.h"
#include "app/SendDialogs.h"
#include "app/StickyNote.h"
#include "app/TrayMenu.h"
#include "mail/AddressBook.h"
#include "mail/EnviarEmail.h"
#include "net/EnviaComputador.h"
#include "net/InsereBloq.h"
#include "notes/Notas.h"
#include "notes/ConfNota.h"
#include "notes/PostIt.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"
#include "support/TestFiles.h"
#include "support/StartedController.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>
#include <memory>

namespace {

QString programFolder()
{
    return qEnvironmentVariable("CORKVANE_BIN_DIR") + QLatin1Char('/');
}

// The heading that carries a topic's anchor in a guide, read from the file itself.
QString topicHeading(const QString &file, const QString &anchor)
{
    const QString html = QString::fromUtf8(TestFiles::readAll(file));
    const QRegularExpression heading(QStringLiteral("<h[123]><a name=\"%1\"></a>([^<]*)</h[123]>").arg(anchor));
    return heading.match(html).captured(1);
}

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;

    std::unique_ptr<TfStickyNote> makeController(const QByteArray &store)
    {
        return startedController(programFolder(), m_home->path(), store);
    }

    // The help window is up at `anchor` of `file`: its heading lies in the visible part of the
    // browser, at the top unless the guide ends before the heading could get there.
    static void verifyShowsTopic(TfStickyNote &controller, const QString &file, const QString &anchor)
    {
        TfrmAjuda *help = controller.helpWindow();
        QVERIFY(help);
        QTRY_VERIFY(help->isVisible());
        QTextBrowser *browser = help->browser();
        QCOMPARE(browser->source().toLocalFile(), QFileInfo(file).absoluteFilePath());
        QCOMPARE(browser->source().fragment(), anchor);
        const QString heading = topicHeading(file, anchor);
        QVERIFY2(!heading.isEmpty(), qPrintable(anchor));
        // The contents list names the topics too: the heading is the last block of that text.
        QTextBlock block = browser->document()->lastBlock();
        while (block.isValid() && block.text() != heading)
            block = block.previous();
        QVERIFY2(block.isValid(), qPrintable(heading));
        QScrollBar *bar = browser->verticalScrollBar();
        QTRY_VERIFY2([&] {
            const int top = int(browser->document()->documentLayout()->blockBoundingRect(block).top()) - bar->value();
            const bool atTop = top >= 0 && top < 20;
            const bool atEnd = bar->value() == bar->maximum() && top >= 0 && top < browser->viewport()->height();
            return atTop || atEnd;
        }(), qPrintable(anchor));
    }

private slots:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        Dialogs::setTestMode(true);
        Dialogs::resetAnswers();
        Locale::overrideLocaleId(Locale::kPortugueseBrazil);
    }
    void cleanup() { Locale::overrideLocaleId(-1); }

    void everyContextOpensItsTopic_data()
    {
        QTest::addColumn<QByteArray>("lang");
        QTest::addColumn<QString>("file");
        for (const auto &[lang, file] : {std::pair{QByteArray("Port"), QString("corkvane.html")},
                                         std::pair{QByteArray("Eng"), QString("corkvane_enu.html")}})
            for (int context = 0; context <= TfrmAjuda::kLastContext; ++context)
                QTest::addRow("%s %d", lang.constData(), context) << lang << file;
    }
    void everyContextOpensItsTopic()
    {
        QFETCH(QByteArray, lang);
        QFETCH(QString, file);
        const int context = QString::fromLatin1(QTest::currentDataTag()).section(' ', 1).toInt();
        auto controller = makeController("[General]\r\nDefaultLang=" + lang + "\r\nNumStickies=0\r\n");
        controller->showHelp(context);
        verifyShowsTopic(*controller, programFolder() + file, TfrmAjuda::anchorFor(context));
        // Asked again for another topic, the same window moves there.
        TfrmAjuda *first = controller->helpWindow();
        const int other = (context + 5) % (TfrmAjuda::kLastContext + 1);
        controller->showHelp(other);
        QCOMPARE(controller->helpWindow(), first);
        verifyShowsTopic(*controller, programFolder() + file, TfrmAjuda::anchorFor(other));
    }

    void f1InANoteAndInTheSettingsPagesAndTheTrayRow()
    {
        auto controller = makeController("[General]\r\nDefaultLang=Port\r\nNumStickies=1\r\n[Stick0]\r\ncaption=a\r\nvisible=1\r\n");
        const QString guide = programFolder() + "corkvane.html";
        TfPostIt *note = controller->note(0);
        QTest::keyClick(note->findChild<QPlainTextEdit *>("memPostit"), Qt::Key_F1);
        verifyShowsTopic(*controller, guide, "context-1");
        QCOMPARE(controller->helpWindow()->windowModality(), Qt::NonModal);

        // In the settings dialog, F1 asks for the topic of the page shown, and the help window
        // comes up modal over it so that it can be read.
        QStringList anchors;
        Qt::WindowModality modality = Qt::NonModal;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<TfrmConfNota *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto *pages = dialog->findChild<QTabWidget *>("pagGeral");
            for (const char *page : {"tabFonteCor", "tabAlarme"}) {
                pages->setCurrentWidget(dialog->findChild<QWidget *>(page));
                QTest::keyClick(dialog, Qt::Key_F1);
                anchors << controller->helpWindow()->browser()->source().fragment();
            }
            modality = controller->helpWindow()->windowModality();
            controller->helpWindow()->close();
            dialog->reject();
        });
        note->popPrincipal()->findChild<QAction *>("mnuConfigurar")->trigger();
        QCOMPARE(anchors, (QStringList{"context-2", "context-3"}));
        QCOMPARE(modality, Qt::ApplicationModal);

        TrayMenu *tray = controller->trayMenu();
        tray->rebuildNoteLists();
        QVERIFY(tray->item("Ajuda1")->isVisible());
        tray->item("Ajuda1")->trigger();
        verifyShowsTopic(*controller, guide, "contents");
        QCOMPARE(controller->helpWindow()->windowModality(), Qt::NonModal);
    }

    // F1 in each dialog of sending, mailing and the preferences opens the help at that dialog's
    // topic; the preferences ask for the topic of the page shown.
    void f1InEveryOtherDialogReachesItsTopic()
    {
        auto controller = makeController("[General]\r\nDefaultLang=Port\r\nNumStickies=1\r\n[Stick0]\r\ncaption=a\r\nvisible=1\r\n"
                                         "[Network]\r\nEnabled=0\r\n");
        const auto anchorAfterF1 = [&](QWidget *dialog) {
            controller->showHelp(TfrmAjuda::kContents);
            QTest::keyClick(dialog, Qt::Key_F1);
            return controller->helpWindow()->browser()->source().fragment();
        };
        SendDialogs *send = controller->sendDialogs();
        controller->openEmailDialog(0);
        const std::initializer_list<std::tuple<const char *, std::function<QWidget *()>, int>> dialogs = {
            {"contact book", [&] { return send->addressBook(); }, 7},
            {"add/modify contact", [&] { return send->addressBook()->findChild<TfrmAddContato *>(); }, 7},
            {"e-mail", [&] { return controller->emailDialog(); }, 8},
            {"send to computer", [&] { return send->sendDialog(); }, 9},
            {"event sound", [&] { return controller->soundDialog(); }, 4},
            {"block list entry", [&] { return controller->blockEntryDialog(); }, 6},
            {"notes window", [&] { controller->openNotesWindow(); return controller->notesWindow(); }, 10},
        };
        for (const auto &[what, dialog, context] : dialogs) {
            QWidget *widget = dialog();
            QVERIFY2(widget, what);
            QCOMPARE(anchorAfterF1(widget), TfrmAjuda::anchorFor(context));
        }
        controller->emailDialog()->close();

        QStringList anchors;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<TfrmConfNota *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto *pages = dialog->findChild<QTabWidget *>("pagGeral");
            for (const char *page : {"tabFonteCor", "tabAlarme", "tabSons", "tabGeral", "tbsRede"}) {
                pages->setCurrentWidget(dialog->findChild<QWidget *>(page));
                anchors << anchorAfterF1(dialog);
            }
            controller->helpWindow()->close();
            dialog->reject();
        });
        controller->openPreferences();
        QCOMPARE(anchors, (QStringList{"context-2", "context-3", "context-4", "context-5", "context-6"}));
    }

    void aMissingGuideIsReported()
    {
        TfrmAjuda help;
        QVERIFY(!help.showTopic(m_home->filePath("corkvane.html"), 3));
        QCOMPARE(Dialogs::shownMessages().size(), 1);
        QCOMPARE(Dialogs::shownMessages().at(0).title, QStringLiteral("Erro"));
        QVERIFY(Dialogs::shownMessages().at(0).text.contains(m_home->filePath("corkvane.html")));
        QVERIFY(!help.isVisible());
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
