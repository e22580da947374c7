// What the program tells the user in words: the help guides name every control as the screens
// do, in both languages, and leave none of the preferences out; the help window's title names
// the program once; the welcome notes say how notes are really made.
#include "app/Help.h"
#include "app/Language.h"
#include "notes/ConfNota.h"
#include "platform/Dialogs.h"
#include "platform/WindowTitle.h"
#include "store/IniFile.h"
#include "store/NoteStore.h"
#include "support/TestFiles.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

QString sourceFolder()
{
    return qEnvironmentVariable("CORKVANE_TEST_SOURCE_DIR") + QLatin1Char('/');
}

QString programFolder()
{
    return qEnvironmentVariable("CORKVANE_BIN_DIR") + QLatin1Char('/');
}

// A caption as the help may quote it: without its access-key marks, the blanks around it and a
// closing ":" or "...".
QString bare(QString caption)
{
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&')).replace(QChar(1), QLatin1Char('&'));
    caption = caption.simplified();
    for (const QString &tail : {QStringLiteral("..."), QStringLiteral(":"), QStringLiteral("\u2026")})
        if (caption.endsWith(tail) && caption.size() > tail.size())
            caption.chop(tail.size());
    return caption.trimmed();
}

// Every caption the screens show in one language: the texts of the language module (sources
// for Portuguese, translations for English) and the desktop entry's action names.
QSet<QString> screenCaptions(bool english)
{
    QSet<QString> captions;
    QFile ts(sourceFolder() + QStringLiteral("resources/translations/corkvane_enu.ts"));
    if (!ts.open(QIODevice::ReadOnly))
        qFatal("no translations");
    QXmlStreamReader xml(&ts);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if ((!english && xml.name() == QLatin1String("source")) || (english && xml.name() == QLatin1String("translation")))
            captions.insert(bare(xml.readElementText()));
    }
    const QString desktop = QString::fromUtf8(
        TestFiles::readAll(sourceFolder() + QStringLiteral("resources/desktop/org.corkvane.Corkvane.desktop")));
    const QRegularExpression name(english ? QStringLiteral("^Name\\[en\\]=(.*)$") : QStringLiteral("^Name=(.*)$"),
                                  QRegularExpression::MultilineOption);
    for (auto it = name.globalMatch(desktop); it.hasNext();)
        captions.insert(bare(it.next().captured(1)));
    return captions;
}

// The bold words of a guide, each path "A > B" split into its steps.
QStringList boldTerms(const QString &guide)
{
    const QString html = QString::fromUtf8(TestFiles::readAll(guide));
    QStringList terms;
    const QRegularExpression bold(QStringLiteral("<b>(.*?)</b>"), QRegularExpression::DotMatchesEverythingOption);
    for (auto it = bold.globalMatch(html); it.hasNext();) {
        const QString text = QTextDocumentFragment::fromHtml(it.next().captured(1)).toPlainText().simplified();
        for (const QString &step : text.split(QStringLiteral(" > ")))
            terms << bare(step);
    }
    return terms;
}

} // namespace

class TestGuides : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // As the program's start does: the toolkit then adds the name to every window title.
        QApplication::setApplicationDisplayName(QStringLiteral("Corkvane"));
        Dialogs::setTestMode(true);
    }

    void helpNamesControlsAsTheScreensDo_data()
    {
        QTest::addColumn<QString>("guide");
        QTest::addColumn<bool>("english");
        QTest::addColumn<QStringList>("notControls");
        // Bold words that name no translated control: the symbol buttons, keys, and the lead-in
        // words of the guide's own lists.
        const QStringList symbols{"-", "...", "<<", ">>", "X", "F1", "Ctrl+F", "Enter", "Esc", "Delete",
                                  "STARTTLS", "SSL/TLS"};
        QTest::newRow("English") << "corkvane_enu.html" << true
                                 << symbols + QStringList{"click", "double-click", "note menu", "Move", "Resize", "Hide",
                                                          "Zoom", "Links"};
        QTest::newRow("Portuguese") << "corkvane.html" << false
                                    << symbols + QStringList{"clique", "duplo-clique", "menu da nota", "Mover",
                                                             "Redimensionar", "Esconder", "Zoom", "Links"};
    }

    void helpNamesControlsAsTheScreensDo()
    {
        QFETCH(QString, guide);
        QFETCH(bool, english);
        QFETCH(QStringList, notControls);
        const QSet<QString> captions = screenCaptions(english);
        QStringList unknown;
        for (const QString &term : boldTerms(programFolder() + guide))
            if (!captions.contains(term) && !notControls.contains(term) && !unknown.contains(term))
                unknown << term;
        QVERIFY2(unknown.isEmpty(), qPrintable(QStringLiteral("named otherwise on the screens: ") + unknown.join(" | ")));
    }

    // Every control of the preferences with a caption of its own is named in the guide.
    void helpLeavesNoPreferenceOut_data()
    {
        QTest::addColumn<QString>("guide");
        QTest::addColumn<bool>("english");
        QTest::newRow("English") << "corkvane_enu.html" << true;
        QTest::newRow("Portuguese") << "corkvane.html" << false;
    }

    void helpLeavesNoPreferenceOut()
    {
        QFETCH(QString, guide);
        QFETCH(bool, english);
        LanguageModules modules(programFolder());
        if (english)
            QVERIFY(modules.load(LanguageModules::kEnglish));
        AppSettings settings;
        TfrmConfNota preferences(&settings);
        PreferencesServices services;
        services.programPath = programFolder() + QStringLiteral("corkvane");
        preferences.prepareGeneral(services);

        QStringList captions;
        for (QAbstractButton *button : preferences.findChildren<QAbstractButton *>())
            if (!button->text().isEmpty() && button->text() != QLatin1String("..."))
                captions << bare(button->text());
        for (QLabel *label : preferences.findChildren<QLabel *>())
            if (label->buddy())  // a label that names a field
                captions << bare(label->text());
        for (QGroupBox *group : preferences.findChildren<QGroupBox *>())
            if (!group->title().isEmpty())
                captions << bare(group->title());
        const QStringList named = boldTerms(programFolder() + guide);
        QStringList missing;
        for (const QString &caption : captions)
            if (!named.contains(caption) && !missing.contains(caption))
                missing << caption;
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("not in the guide: ") + missing.join(" | ")));
        // The two the guide had left out.
        QVERIFY(named.contains(english ? QStringLiteral("Security") : QStringLiteral("Segurança")));
        QVERIFY(named.contains(english ? QStringLiteral("Start Corkvane with the system")
                                       : QStringLiteral("Iniciar o Corkvane com o sistema")));
    }

    void helpWindowTitleNamesTheProgramOnce()
    {
        for (bool english : {false, true}) {
            LanguageModules modules(programFolder());
            if (english)
                QVERIFY(modules.load(LanguageModules::kEnglish));
            TfrmAjuda help;
            const QString shown = WindowTitle::shown(help.windowTitle());
            QCOMPARE(shown.count(QStringLiteral("Corkvane")), 1);
            QCOMPARE(shown, english ? QStringLiteral("Help \u2014 Corkvane") : QStringLiteral("Ajuda \u2014 Corkvane"));
        }
    }

    void welcomeNotesSayHowNotesAreMade_data()
    {
        QTest::addColumn<QString>("store");
        QTest::addColumn<QString>("says");
        QTest::addColumn<QString>("neverSays");
        QTest::newRow("Portuguese") << "default_ptb.cvf" << QStringLiteral("Dê um duplo clique no ícone da bandeja para criar")
                                    << QStringLiteral("direito no ícone da bandeja para criar");
        QTest::newRow("English") << "default_enu.cvf" << QStringLiteral("Double-click the tray icon to create")
                                 << QStringLiteral("Right-click the tray icon to create");
    }

    void welcomeNotesSayHowNotesAreMade()
    {
        QFETCH(QString, store);
        QFETCH(QString, says);
        QFETCH(QString, neverSays);
        const QByteArray shipped = TestFiles::readAll(programFolder() + store);
        const LoadedStore loaded = NoteStore::read(IniFile(shipped), QDateTime(), QStringLiteral("tester"), programFolder());
        QCOMPARE(loaded.notes.size(), 1);
        const QString text = loaded.notes.at(0).note;
        QVERIFY2(text.contains(says), qPrintable(text));
        QVERIFY2(!text.contains(neverSays, Qt::CaseInsensitive), qPrintable(text));
        // Sending is promised with the way to turn it on.
        QVERIFY2(text.contains(store.contains("ptb") ? QStringLiteral("ligue a rede em Preferências > Rede")
                                                     : QStringLiteral("turn the network on in Preferences > Network")),
                 qPrintable(text));

        // The shipped file is what the script writes.
        QTemporaryDir out;
        QProcess script;
        script.start(QStringLiteral("/usr/bin/python3"),
                     {sourceFolder() + QStringLiteral("scripts/make_default_stores.py"), out.path()});
        QVERIFY(script.waitForFinished(20000));
        QCOMPARE(script.exitCode(), 0);
        QCOMPARE(TestFiles::readAll(out.filePath(store)), TestFiles::readAll(sourceFolder() + QStringLiteral("resources/") + store));
        QCOMPARE(shipped, TestFiles::readAll(sourceFolder() + QStringLiteral("resources/") + store));
    }
};

QTEST_MAIN(TestGuides)
#include "tst_guides.moc"
