// Language modules and switching: the module naming and fallback, the switching sequence with
// its save and reload, the start-up choice, Qt's own texts, and a walk over every form, menu
// and message that fails on any text left in the other language.
#include "alarms/MostraAlarmes.h"
#include "app/Language.h"
#include "app/StickyNote.h"
#include "app/TrayIcon.h"
#include "app/TrayMenu.h"
#include "net/NoteServer.h"
#include "notes/ControllerEvents.h"
#include "notes/PostIt.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"
#include "store/IniFile.h"
#include "support/TestFiles.h"
#include "support/WaitUntil.h"
#include "support/StartedController.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabBar>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <QXmlStreamReader>
#include <QScopeGuard>
#include <QtTest>

#include <memory>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

QString binFolder() { return qEnvironmentVariable("CORKVANE_BIN_DIR") + QLatin1Char('/'); }
QString sourceFolder() { return qEnvironmentVariable("CORKVANE_TEST_SOURCE_DIR") + QLatin1Char('/'); }
QString translationSource(const char *lang)
{
    return sourceFolder() + QStringLiteral("resources/translations/corkvane_%1.ts").arg(QLatin1String(lang));
}

struct Message
{
    QString context;
    QString source;
    QString translation;
    bool finished = false;
};

QList<Message> readCatalogue(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<Message> out;
    QXmlStreamReader xml(&file);
    QString context;
    Message m;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("message"))
            m = Message{context, {}, {}, false};
        else if (xml.name() == QLatin1String("source"))
            m.source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation")) {
            m.finished = xml.attributes().value(QLatin1String("type")).isEmpty();
            m.translation = xml.readElementText();
            out.append(m);
        }
    }
    return out;
}

// Recognises texts of the language that should no longer show: the Portuguese sources whose
// English differs (looking for Portuguese under English), or the English translations whose
// source differs (looking for English under Portuguese). Access keys do not count, and a "%1"
// stands for anything.
class Leftovers
{
public:
    Leftovers(const QList<Message> &catalogue, bool lookForPortuguese) : m_portuguese(lookForPortuguese)
    {
        for (const Message &m : catalogue) {
            const QString wrong = lookForPortuguese ? m.source : m.translation;
            if (m.source == m.translation || wrong.trimmed().isEmpty())
                continue;
            QString pattern = QRegularExpression::escape(plain(wrong));
            pattern.replace(QRegularExpression(QStringLiteral("%\\d")), QStringLiteral("[\\s\\S]*"));
            if (wrong.endsWith(QLatin1Char(' ')))
                pattern += QStringLiteral("[\\s\\S]*");  // a text built by appending to it
            m_patterns.append(QRegularExpression(QLatin1Char('^') + pattern + QLatin1Char('$')));
        }
    }

    bool matches(const QString &text) const
    {
        if (text.trimmed().isEmpty())
            return false;
        // Portuguese letters never appear in an English text of this program.
        static const QRegularExpression accents(QStringLiteral("[ãõçáéíóúâêôàÃÕÇÁÉÍÓÚÂÊÔ]"));
        if (m_portuguese && accents.match(text).hasMatch())
            return true;
        const QString p = plain(text);
        for (const QRegularExpression &re : m_patterns)
            if (re.match(p).hasMatch())
                return true;
        return false;
    }

private:
    static QString plain(QString text)
    {
        text.replace(QLatin1String("&&"), QLatin1String("\x01"));
        text.remove(QLatin1Char('&'));
        return text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    }

    bool m_portuguese;
    QList<QRegularExpression> m_patterns;
};

// Qt's own parts (calendar pop-ups, the inside of combo boxes) carry Qt's texts, not ours. The
// pages of a tab widget, its tab bar and the inside of a scroll area are ours, in containers
// that Qt names like its own parts.
bool isQtInternal(const QWidget *w)
{
    static const QStringList ourContainers = {QStringLiteral("qt_tabwidget_stackedwidget"),
                                              QStringLiteral("qt_tabwidget_tabbar"),
                                              QStringLiteral("qt_scrollarea_viewport")};
    for (const QObject *o = w; o; o = o->parent()) {
        if ((o->objectName().startsWith(QLatin1String("qt_")) && !ourContainers.contains(o->objectName()))
            || o->inherits("QCalendarWidget")
            || o->inherits("QComboBoxPrivateContainer"))
            return true;
    }
    return false;
}

void actionTexts(const QAction *a, const QString &where, QList<QPair<QString, QString>> &out)
{
    const QString name = where + QLatin1Char('/') + (a->objectName().isEmpty() ? a->text() : a->objectName());
    for (const QString &t : {a->text(), a->toolTip(), a->statusTip(), a->whatsThis()})
        out.append({name, t});
}

// Every caption, hint, tooltip, list item, column header and status text the widget shows.
void widgetTexts(QWidget *w, QList<QPair<QString, QString>> &out)
{
    const QString name = QStringLiteral("%1(%2)").arg(w->metaObject()->className(), w->objectName());
    if (w->isWindow())
        out.append({name, w->windowTitle()});
    out.append({name, w->toolTip()});
    out.append({name, w->statusTip()});
    out.append({name, w->whatsThis()});
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        out.append({name, b->text()});
    if (auto *l = qobject_cast<QLabel *>(w))
        out.append({name, l->text()});
    if (auto *g = qobject_cast<QGroupBox *>(w))
        out.append({name, g->title()});
    if (auto *e = qobject_cast<QLineEdit *>(w))
        out.append({name, e->placeholderText()});
    if (auto *s = qobject_cast<QAbstractSpinBox *>(w))
        out.append({name, s->specialValueText()});
    if (auto *s = qobject_cast<QSpinBox *>(w)) {
        out.append({name, s->prefix()});
        out.append({name, s->suffix()});
    }
    if (auto *m = qobject_cast<QMenu *>(w))
        out.append({name, m->title()});
    if (auto *t = qobject_cast<QTabBar *>(w))
        for (int i = 0; i < t->count(); ++i) {
            out.append({name, t->tabText(i)});
            out.append({name, t->tabToolTip(i)});
        }
    if (auto *c = qobject_cast<QComboBox *>(w))
        for (int i = 0; i < c->count(); ++i)
            out.append({name, c->itemText(i)});
    if (auto *v = qobject_cast<QAbstractItemView *>(w); v && v->model()) {
        const QAbstractItemModel *model = v->model();
        const QModelIndex root = v->rootIndex();
        for (int c = 0; c < model->columnCount(root); ++c)
            out.append({name, model->headerData(c, Qt::Horizontal).toString()});
        for (int r = 0; r < model->rowCount(root); ++r)
            for (int c = 0; c < model->columnCount(root); ++c) {
                const QModelIndex index = model->index(r, c, root);
                out.append({name, index.data(Qt::DisplayRole).toString()});
                out.append({name, index.data(Qt::ToolTipRole).toString()});
            }
    }
    for (const QAction *a : w->actions())
        actionTexts(a, name, out);
}

// One inotify watch on the data folder: how many times the store was replaced or written.
class StoreWrites
{
public:
    explicit StoreWrites(const QString &folder)
    {
        m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_MOVED_TO | IN_CLOSE_WRITE);
    }
    ~StoreWrites() { ::close(m_fd); }
    int count()
    {
        alignas(inotify_event) char buffer[8192];
        for (;;) {
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n <= 0)
                break;
            for (ssize_t i = 0; i < n;) {
                const auto *e = reinterpret_cast<const inotify_event *>(buffer + i);
                if (e->len && qstrcmp(e->name, "stickies.cvf") == 0)
                    ++m_count;
                i += ssize_t(sizeof(inotify_event)) + e->len;
            }
        }
        return m_count;
    }

private:
    int m_fd = -1;
    int m_count = 0;
};

QByteArray storeWithNotes(int shown, int hidden, const QByteArray &general = {})
{
    QByteArray s = "[General]\r\nAskDelete=1\r\nNumStickies=" + QByteArray::number(shown + hidden) + "\r\n" + general;
    for (int i = 0; i < shown + hidden; ++i)
        s += "[Stick" + QByteArray::number(i) + "]\r\ncaption=Note " + QByteArray::number(i) + "\r\nvisible="
             + (i < shown ? "1" : "0") + "\r\nnote=text " + QByteArray::number(i) + "\r\nposx=" + QByteArray::number(10 + 30 * i)
             + "\r\nposy=20\r\nWidth=200\r\nHeight=150\r\n";
    return s;
}

QStringList noteSummary(const TfStickyNote &c)
{
    QStringList out;
    c.noteTable().forEach([&out](int slot, TfPostIt *n) {
        out << QStringLiteral("%1:%2:%3:%4").arg(slot).arg(n->title(), n->data().note).arg(n->isHidden() ? "hidden" : "shown");
    });
    return out;
}

} // namespace

class TestLanguage : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<TfStickyNote> m_controller;

    // [Network] lines that have the note server listen on a port free right now.
    static QByteArray network()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        return "[Network]\r\nEnabled=1\r\nPortTCP=" + QByteArray::number(probe.serverPort()) + "\r\n";
    }

    QString dataFolder() const { return m_home->filePath("Corkvane/tester/data/"); }

    TfStickyNote &start(const QByteArray &store, const QString &programFolder = binFolder())
    {
        m_controller = startedController(programFolder, m_home->path(), store);
        return *m_controller;
    }

    static QAction *trayItem(const TfStickyNote &c, const char *name) { return c.trayMenu()->item(QLatin1String(name)); }
    static QString checkedLanguages(const TfStickyNote &c)
    {
        return QString::fromLatin1(trayItem(c, "mnuPortugues")->isChecked() ? "P" : "-")
               + QString::fromLatin1(trayItem(c, "mnuIngles")->isChecked() ? "E" : "-");
    }
    bool waitForReload(TfStickyNote &c, int notes)
    {
        return waitUntil([&] { return c.loaded() && c.noteTable().count() == notes; }, 5000);
    }

    // Every text the program shows now, in every widget that exists, with where it is.
    QList<QPair<QString, QString>> shownTexts() const
    {
        QList<QPair<QString, QString>> out;
        for (QWidget *w : QApplication::allWidgets())
            if (!isQtInternal(w))
                widgetTexts(w, out);
        out.append({QStringLiteral("tray icon"), m_controller->trayIcon()->toolTip()});
        for (const Dialogs::ShownMessage &m : Dialogs::shownMessages()) {
            out.append({QStringLiteral("message title"), m.title});
            out.append({QStringLiteral("message"), m.text});
        }
        return out;
    }

    static QStringList leftovers(const QList<QPair<QString, QString>> &texts, const Leftovers &wrong)
    {
        QStringList found;
        for (const auto &[where, text] : texts)
            if (wrong.matches(text) || text.startsWith(QLatin1String("(the walk never")))
                found << where + QStringLiteral(": \"") + text + QLatin1Char('"');
        found.removeDuplicates();
        return found;
    }

    // Opens what the action opens, collects every text while it is open, and closes it again.
    QList<QPair<QString, QString>> openAndRead(QAction *action)
    {
        QList<QPair<QString, QString>> texts;
        bool read = false;
        QTimer::singleShot(0, this, [&] {
            texts = shownTexts();
            read = true;
            for (int i = 0; i < 10 && QApplication::activeModalWidget(); ++i) {
                QWidget *modal = QApplication::activeModalWidget();
                if (auto *dialog = qobject_cast<QDialog *>(modal))
                    dialog->reject();
                else
                    modal->close();
                QCoreApplication::processEvents();
            }
        });
        action->trigger();
        if (!waitUntil([&] { return read; }, 5000))
            texts.append({action->objectName(), QStringLiteral("(the walk never got to read what it opens)")});
        return texts;
    }

    // The forms the program makes on demand and the dialogs behind the menus: every command
    // of the tray and note menus, except the ones that leave the program, open a web page,
    // touch the clipboard or the printer, delete, or switch the language themselves.
    QStringList walk(const Leftovers &wrong)
    {
        static const QStringList skipped = {"mnuURL", "mnuWeb", "Sair1", "mnuPortugues", "mnuIngles", "mnuColar",
                                            "mnuCopiar", "mnuImprimir", "mnuOnTop", "cmdNovaNota", "mnuBackup"};
        QList<QPair<QString, QString>> texts;
        QList<QMenu *> menus = {m_controller->trayMenu()->menu()};
        m_controller->trayMenu()->rebuildNoteLists();
        if (TfPostIt *first = m_controller->note(0))
            menus << first->popPrincipal();
        for (QMenu *menu : menus) {
            for (QAction *a : menu->findChildren<QAction *>()) {
                if (a->objectName().isEmpty() || a->menu() || a->isSeparator() || !a->isVisible() || !a->isEnabled()
                    || skipped.contains(a->objectName()))
                    continue;
                texts += openAndRead(a);
            }
        }
        // Messages of the controller: the deletion question and the backup report.
        QCoreApplication::postEvent(m_controller.get(), new DeleteNoteRequest(0));
        QCoreApplication::processEvents();
        Dialogs::setNextFileName(m_home->filePath("backup.cvf"));
        m_controller->backupFromMenu();
        texts += shownTexts();
        Dialogs::clearShownMessages();
        return leftovers(texts, wrong);
    }

private slots:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        Dialogs::setTestMode(true);
        Dialogs::resetAnswers();
        Locale::overrideLocaleId(Locale::kPortugueseBrazil);
    }

    void cleanup()
    {
        m_controller.reset();
        Locale::overrideLocaleId(-1);
    }

    void theCataloguesAreCompleteAndAgree()
    {
        const QList<Message> english = readCatalogue(translationSource("enu"));
        const QList<Message> portuguese = readCatalogue(translationSource("ptb"));
        QVERIFY(english.size() > 50);
        QCOMPARE(portuguese.size(), english.size());
        static const QRegularExpression args(QStringLiteral("%\\d"));
        static const QRegularExpression accessKey(QStringLiteral("&(?!&)"));
        LanguageModules modules(binFolder());
        QVERIFY(modules.load(LanguageModules::kEnglish));
        QStringList faults;
        for (int i = 0; i < english.size(); ++i) {
            const Message &m = english.at(i);
            const QString id = m.context + QStringLiteral(" \"") + m.source + QLatin1Char('"');
            if (!m.finished || m.translation.isEmpty())
                faults << id + QStringLiteral(": no English yet");
            auto found = [](const QRegularExpression &re, const QString &t) {
                QStringList all;
                for (auto it = re.globalMatch(t); it.hasNext();)
                    all << it.next().captured();
                all.sort();
                return all;
            };
            if (found(args, m.source) != found(args, m.translation))
                faults << id + QStringLiteral(": the English loses or adds a %n");
            if (m.source.count(accessKey) != m.translation.count(accessKey))
                faults << id + QStringLiteral(": the English loses or adds an access key");
            if (QCoreApplication::translate(m.context.toUtf8(), m.source.toUtf8()) != m.translation)
                faults << id + QStringLiteral(": the built module does not say the English");
            const Message &p = portuguese.at(i);
            if (p.context != m.context || p.source != m.source || p.translation != p.source || !p.finished)
                faults << id + QStringLiteral(": the Portuguese catalogue differs");
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void theCataloguesHoldEveryTextOfTheCode()
    {
        const QString lupdate = QStringLiteral("/usr/lib/qt6/bin/lupdate");
        if (!QFileInfo::exists(lupdate))
            QSKIP("lupdate is not installed");
        QTemporaryDir dir;
        const QString fresh = dir.filePath("fresh.ts");
        QProcess p;
        p.start(lupdate, {"-silent", "-no-obsolete", "-locations", "none", sourceFolder() + "src", "-ts", fresh});
        QVERIFY(p.waitForFinished(120000));
        QCOMPARE(p.exitCode(), 0);
        auto keys = [](const QList<Message> &messages) {
            QStringList out;
            for (const Message &m : messages)
                out << m.context + QLatin1Char('|') + m.source;
            out.sort();
            return out;
        };
        const QStringList code = keys(readCatalogue(fresh));
        const QStringList committed = keys(readCatalogue(translationSource("enu")));
        QStringList missing;
        for (const QString &k : code)
            if (!committed.contains(k))
                missing << k;
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("run scripts/update-translations.sh and translate:\n")
                                               + missing.join(QLatin1Char('\n'))));
    }

    void modulesAreFoundByNameThenByTwoLetters_data()
    {
        QTest::addColumn<QStringList>("files");  // "name!" a broken file, "name=" an empty one
        QTest::addColumn<int>("locale");
        QTest::addColumn<QString>("loaded");     // empty: nothing loads
        QTest::newRow("three letters first") << QStringList{"corkvane.enu", "corkvane.en"} << 1033 << "corkvane.enu";
        QTest::newRow("two letters next") << QStringList{"corkvane.pt"} << 1046 << "corkvane.pt";
        QTest::newRow("broken three letters") << QStringList{"corkvane.ptb!", "corkvane.pt"} << 1046 << "corkvane.pt";
        QTest::newRow("empty file") << QStringList{"corkvane.enu="} << 1033 << "";
        QTest::newRow("other language only") << QStringList{"corkvane.ptb"} << 1033 << "";
        QTest::newRow("unknown locale") << QStringList{"corkvane.enu", "corkvane.ptb"} << 3082 << "";
    }
    void modulesAreFoundByNameThenByTwoLetters()
    {
        QFETCH(QStringList, files);
        QFETCH(int, locale);
        QFETCH(QString, loaded);
        QTemporaryDir folder;
        const QByteArray english = TestFiles::readAll(binFolder() + "corkvane.enu");
        QVERIFY(!english.isEmpty());
        for (QString f : files) {
            QByteArray bytes = english;
            if (f.endsWith('!'))
                bytes = "not a module at all";
            else if (f.endsWith('='))
                bytes.clear();
            if (f.endsWith('!') || f.endsWith('='))
                f.chop(1);
            TestFiles::writeAll(folder.filePath(f), bytes);
        }
        LanguageModules modules(folder.path());
        QCOMPARE(modules.load(locale), !loaded.isEmpty());
        QCOMPARE(QFileInfo(modules.loadedFile()).fileName(), loaded);
        QCOMPARE(modules.loadedLocale(), loaded.isEmpty() ? 0 : locale);
        if (!loaded.isEmpty())
            QCOMPARE(QCoreApplication::translate("TrayMenu", "&Nova Nota"), QStringLiteral("&New Note"));
        else
            QCOMPARE(QCoreApplication::translate("TrayMenu", "&Nova Nota"), QStringLiteral("&Nova Nota"));
    }

    void aSwitchWithNotesSavesOnceAndBringsThemBack_data()
    {
        QTest::addColumn<QByteArray>("defaultLang");
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("checks");
        QTest::addColumn<QString>("newNote");
        QTest::addColumn<QString>("storedLang");
        QTest::addColumn<QString>("yes");
        QTest::newRow("to English") << QByteArray("Port") << 1033 << "-E" << "&New Note" << "Eng" << "Yes";
        QTest::newRow("to Portuguese") << QByteArray("Eng") << 1046 << "P-" << "&Nova Nota" << "Port" << "Sim";
        QTest::newRow("to the active one") << QByteArray("Eng") << 1033 << "-E" << "&New Note" << "Eng" << "Yes";
    }
    void aSwitchWithNotesSavesOnceAndBringsThemBack()
    {
        QFETCH(QByteArray, defaultLang);
        QFETCH(int, target);
        QFETCH(QString, checks);
        QFETCH(QString, newNote);
        QFETCH(QString, storedLang);
        QFETCH(QString, yes);
        TfStickyNote &c = start(storeWithNotes(2, 1, "DefaultLang=" + defaultLang + "\r\n" + network()));
        QCOMPARE(c.noteTable().count(), 3);
        QVERIFY(c.noteServer()->isListening());
        c.note(1)->setText(QStringLiteral("edited before the switch"));
        const QStringList before = noteSummary(c);
        QVERIFY(before.at(2).endsWith("hidden"));

        StoreWrites writes(dataFolder());
        trayItem(c, target == 1033 ? "mnuIngles" : "mnuPortugues")->trigger();
        QCOMPARE(checkedLanguages(c), checks);
        QCOMPARE(trayItem(c, "cmdNovaNota")->text(), newNote);
        QCOMPARE(writes.count(), 1);
        // The gap before the start-up step: no notes, and nothing that would empty the file.
        QCOMPARE(c.noteTable().count(), 0);
        QVERIFY(c.tmrInicio().isActive());
        QVERIFY(!c.noteServer()->isListening());
        QVERIFY(c.saveStore().isEmpty());
        QCOMPARE(writes.count(), 1);

        QVERIFY(waitForReload(c, 3));
        QVERIFY(c.noteServer()->isListening());
        QCOMPARE(noteSummary(c), before);
        QCOMPARE(writes.count(), 1);
        QCOMPARE(c.note(0)->popPrincipal()->findChild<QAction *>("mnuConfigurar")->text(),
                 target == 1033 ? QStringLiteral("C&onfigure...") : QStringLiteral("C&onfigurar..."));
        QCOMPARE(IniFile::fromFile(c.storePath()).readString("General", "DefaultLang"), storedLang);
        QMessageBox box(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Yes)->text().remove('&'), yes);
    }

    void aSwitchWithoutNotesNeitherSavesNorReloads()
    {
        TfStickyNote &c = start(storeWithNotes(0, 0, "DefaultLang=Port\r\n"));
        StoreWrites writes(dataFolder());
        QVERIFY(c.SwitchLanguage(1033));
        QCOMPARE(checkedLanguages(c), QStringLiteral("-E"));
        QVERIFY(!c.tmrInicio().isActive());
        QVERIFY(c.loaded());
        QTest::qWait(700);
        QCOMPARE(writes.count(), 0);
        QCOMPARE(trayItem(c, "mnuSobre")->text(), QStringLiteral("About..."));
        // DefaultLang follows the check mark at the next save.
        QVERIFY(c.saveStore().isEmpty());
        QCOMPARE(IniFile::fromFile(c.storePath()).readString("General", "DefaultLang"), QStringLiteral("Eng"));
    }

    void aMissingModuleChangesNothing()
    {
        QTemporaryDir bare;  // a program folder without modules
        TfStickyNote &c = start(storeWithNotes(2, 0, "DefaultLang=Eng\r\n"), bare.path());
        QCOMPARE(checkedLanguages(c), QStringLiteral("--"));
        StoreWrites writes(dataFolder());
        trayItem(c, "mnuIngles")->trigger();
        trayItem(c, "mnuPortugues")->trigger();
        QCOMPARE(checkedLanguages(c), QStringLiteral("--"));
        QCOMPARE(c.noteTable().count(), 2);
        QVERIFY(!c.tmrInicio().isActive());
        QCOMPARE(writes.count(), 0);
        QCOMPARE(trayItem(c, "cmdNovaNota")->text(), QStringLiteral("&Nova Nota"));
    }

    void aFailedSaveKeepsTheNotesInMemory()
    {
        TfStickyNote &c = start(storeWithNotes(2, 0, "DefaultLang=Port\r\n" + network()));
        c.note(0)->setText(QStringLiteral("not saved anywhere yet"));
        TfPostIt *first = c.note(0);
        // The store can no longer be replaced: a folder stands where the file was.
        QVERIFY(QFile::remove(c.storePath()));
        QVERIFY(QDir().mkdir(c.storePath()));
        Dialogs::clearShownMessages();
        QVERIFY(c.SwitchLanguage(1033));
        QCOMPARE(c.noteTable().count(), 2);
        QCOMPARE(c.note(0), first);
        QCOMPARE(c.note(0)->data().note, QStringLiteral("not saved anywhere yet"));
        QVERIFY(!c.tmrInicio().isActive());
        QCOMPARE(checkedLanguages(c), QStringLiteral("-E"));
        QCOMPARE(c.note(0)->popPrincipal()->findChild<QAction *>("mnuConfigurar")->text(), QStringLiteral("C&onfigure..."));
        QVERIFY(c.noteServer()->isListening());
        QCOMPARE(Dialogs::shownMessages().size(), 1);
        QVERIFY(Dialogs::shownMessages().first().text.startsWith("Unable to write to"));
    }

    void theRingingNoteAndTodaysTasksFollowTheNewNumbers()
    {
        QByteArray store = storeWithNotes(4, 0, "DefaultLang=Port\r\n");
        store += "alarm=1\r\nAlarmDateTime="
                 + Locale::formatStoredDateTime(QDateTime(QDate::currentDate(), QTime(23, 59, 0))).toLatin1() + "\r\n";
        TfStickyNote &c = start(store);
        c.listTodaysTasks();
        auto *tasks = c.todaysTasks()->findChild<QListWidget *>("lstTem");
        QCOMPARE(tasks->count(), 1);
        QVERIFY(tasks->item(0)->text().startsWith("003 - "));
        QCoreApplication::postEvent(&c, new DeleteNoteRequest(1));
        Dialogs::setNextAnswer(QMessageBox::Yes);
        QCoreApplication::processEvents();
        QCOMPARE(c.note(1), nullptr);
        c.ringingNoteRef() = 3;
        c.setAlarmAnimation(true);
        QVERIFY(c.SwitchLanguage(1033));
        QVERIFY(waitForReload(c, 3));
        QCOMPARE(c.RingingNote(), 2);
        QCOMPARE(c.note(2)->title(), QStringLiteral("Note 3"));
        QVERIFY(c.trayIcon()->animated());
        QVERIFY(c.todaysTasks()->isVisible());
        QCOMPARE(tasks->count(), 1);
        QVERIFY(tasks->item(0)->text().startsWith("002 - "));
    }

    void theStartupChoiceLoadsItsModuleAndQtsTexts_data()
    {
        QTest::addColumn<QByteArray>("defaultLang");
        QTest::addColumn<QString>("lang");  // LANG of the user
        QTest::addColumn<QString>("checks");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("yes");
        QTest::addColumn<QString>("no");
        QTest::addColumn<QString>("undo");  // the note editor's own menu
        const QString pt = QStringLiteral("Duplo-clique para criar nota"), en = QStringLiteral("Double-click to create a note");
        QTest::newRow("pt-BR system") << QByteArray() << "pt_BR.UTF-8" << "P-" << pt << "Sim" << "Não" << "Desfazer";
        QTest::newRow("en-US system") << QByteArray() << "en_US.UTF-8" << "-E" << en << "Yes" << "No" << "Undo";
        QTest::newRow("other system") << QByteArray() << "de_DE.UTF-8" << "--" << pt << "Sim" << "Não" << "Desfazer";
        QTest::newRow("port in any case") << QByteArray("pORt") << "en_US.UTF-8" << "P-" << pt << "Sim" << "Não" << "Desfazer";
        QTest::newRow("any other value") << QByteArray("Ingles") << "pt_BR.UTF-8" << "-E" << en << "Yes" << "No" << "Undo";
    }
    void theStartupChoiceLoadsItsModuleAndQtsTexts()
    {
        QFETCH(QByteArray, defaultLang);
        QFETCH(QString, lang);
        QFETCH(QString, checks);
        QFETCH(QString, hint);
        QFETCH(QString, yes);
        QFETCH(QString, no);
        QFETCH(QString, undo);
        Locale::overrideLocaleId(-1);
        const QByteArray savedLcAll = qgetenv("LC_ALL"), savedMessages = qgetenv("LC_MESSAGES"), savedLang = qgetenv("LANG");
        qunsetenv("LC_ALL");
        qunsetenv("LC_MESSAGES");
        qputenv("LANG", lang.toLatin1());
        TfStickyNote &c = start(defaultLang.isEmpty() ? QByteArray("[General]\r\n") : "[General]\r\nDefaultLang=" + defaultLang + "\r\n");
        qputenv("LC_ALL", savedLcAll);
        qputenv("LC_MESSAGES", savedMessages);
        qputenv("LANG", savedLang);
        QCOMPARE(checkedLanguages(c), checks);
        QCOMPARE(c.trayIcon()->toolTip(), hint);
        // A confirmation box as the program shows one: Yes and No, No as default.
        QMessageBox box(QMessageBox::Question, QStringLiteral("Aviso"), QStringLiteral("?"), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Yes)->text().remove('&'), yes);
        QCOMPARE(box.button(QMessageBox::No)->text().remove('&'), no);
        const int slot = c.createNote(TfStickyNote::NoteKind::User);
        std::unique_ptr<QMenu> editorMenu(c.note(slot)->findChild<QPlainTextEdit *>("memPostit")->createStandardContextMenu());
        QCOMPARE(editorMenu->actions().first()->text().remove('&').section('\t', 0, 0), undo);
    }

    // Under a region that is neither Portuguese nor English the built-in Portuguese runs, and
    // the store keeps it for the next start instead of switching that start to English.
    void aFirstStartInAnotherLanguageStaysPortuguese()
    {
        Locale::overrideLocaleId(-1);
        const QByteArray saved[] = {qgetenv("LC_ALL"), qgetenv("LC_MESSAGES"), qgetenv("LANG")};
        const auto restore = qScopeGuard([&saved] {
            const char *names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
            for (int i = 0; i < 3; ++i)
                saved[i].isNull() ? qunsetenv(names[i]) : qputenv(names[i], saved[i]);
        });
        qunsetenv("LC_ALL");
        qunsetenv("LC_MESSAGES");
        qputenv("LANG", "de_DE.UTF-8");

        TfStickyNote &first = start(QByteArray());
        QCOMPARE(checkedLanguages(first), QStringLiteral("--"));
        QCOMPARE(trayItem(first, "cmdNovaNota")->text(), QStringLiteral("&Nova Nota"));
        QVERIFY(first.saveStore().isEmpty());
        QCOMPARE(IniFile::fromFile(first.storePath()).readString("General", "DefaultLang"), QStringLiteral("Port"));
        first.shutdown();
        m_controller.reset();

        TfStickyNote &second = start(QByteArray());
        QCOMPARE(second.activeLanguage(), TfStickyNote::Language::Portuguese);
        QCOMPARE(checkedLanguages(second), QStringLiteral("P-"));
        QCOMPARE(trayItem(second, "cmdNovaNota")->text(), QStringLiteral("&Nova Nota"));
        QVERIFY(second.saveStore().isEmpty());
        QCOMPARE(IniFile::fromFile(second.storePath()).readString("General", "DefaultLang"), QStringLiteral("Port"));
    }

    void noTextIsLeftInTheOtherLanguage()
    {
        const QList<Message> catalogue = readCatalogue(translationSource("enu"));
        QVERIFY(!catalogue.isEmpty());
        // A note with an alarm today, so that today's tasks list something too; networking on,
        // so that the send and e-mail dialogs open.
        QByteArray store = storeWithNotes(2, 1, "DefaultLang=Port\r\nNoteDaily=0\r\n" + network());
        store += "[Stick3]\r\ncaption=Alarm note\r\nvisible=1\r\nnote=x\r\nAlarm=1\r\nAlarmDateTime="
                 + Locale::formatStoredDateTime(QDateTime(QDate::currentDate(), QTime(23, 59, 0))).toLatin1() + "\r\n";
        store.replace("NumStickies=3", "NumStickies=4");
        TfStickyNote &c = start(store);
        QCOMPARE(c.noteTable().count(), 4);
        // The preferences' sound and block-list dialogs are made once and kept for the run:
        // made now, they have to follow both switches.
        QVERIFY(c.soundDialog() && c.blockEntryDialog());

        trayItem(c, "mnuIngles")->trigger();
        QVERIFY(waitForReload(c, 4));
        QStringList found = walk(Leftovers(catalogue, true));
        QVERIFY2(found.isEmpty(), qPrintable(QStringLiteral("Portuguese under English:\n") + found.join('\n')));

        trayItem(c, "mnuPortugues")->trigger();
        QVERIFY(waitForReload(c, 4));
        found = walk(Leftovers(catalogue, false));
        QVERIFY2(found.isEmpty(), qPrintable(QStringLiteral("English under Portuguese:\n") + found.join('\n')));
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
