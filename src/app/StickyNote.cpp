#include "app/StickyNote.h"

#include "alarms/AlarmCheck.h"
#include "alarms/ConfSom.h"
#include "alarms/MostraAlarmes.h"
#include "platform/WavePlayer.h"
#include "notes/ControllerEvents.h"
#include "app/Artwork.h"
#include "app/Help.h"
#include "app/Language.h"
#include "app/StartupTrace.h"
#include "app/Sobre.h"
#include "app/TrayIcon.h"
#include "app/TrayMenu.h"
#include "app/NoteSync.h"
#include "app/ReceivedNotes.h"
#include "app/SendDialogs.h"
#include "mail/EnviarEmail.h"
#include "net/InsereBloq.h"
#include "net/NoteServer.h"
#include "notes/ConfNota.h"
#include "notes/MudaCaption.h"
#include "notes/NoteLayout.h"
#include "notes/Notas.h"
#include "notes/PostIt.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"
#include "platform/MessageEndpoint.h"
#include "platform/Paths.h"
#include "platform/ProgramCommand.h"
#include "platform/SignalWatcher.h"
#include "store/Backup.h"
#include "store/DataFolder.h"
#include "store/IniFile.h"
#include "store/NoteStore.h"
#include "sync/SyncState.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QAction>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QThread>
#include <QUrl>
#include <stdexcept>
#include <utility>

namespace {

QRect virtualDesktop()
{
    if (QScreen *screen = QGuiApplication::primaryScreen())
        return screen->virtualGeometry();
    return QRect(0, 0, 1024, 768);
}

} // namespace

TfStickyNote::TfStickyNote(const Folders &folders, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("fStickyNote"));
    setAttribute(Qt::WA_DontShowOnScreen);

    m_ringingNote = -1;
    // Asking the toolkit whether a tray exists would settle, for the whole run, which kind of
    // notification area its icon uses; the tray icon watches the desktop's areas instead.
    m_notificationArea = [this] { return m_trayIcon && m_trayIcon->notificationAreaAvailable(); };
    buildFolders(folders);
    m_modules = std::make_unique<LanguageModules>(m_programFolder);

    m_tmrInicio.setObjectName(QStringLiteral("tmrInicio"));
    m_tmrInicio.setInterval(500);
    m_tmrInicio.setSingleShot(true);
    connect(&m_tmrInicio, &QTimer::timeout, this, [this] { runGuarded([this] { startupStep(); }); });

    m_tmrAlarme.setObjectName(QStringLiteral("tmrAlarme"));
    m_tmrAlarme.setInterval(1000);
    connect(&m_tmrAlarme, &QTimer::timeout, this, [this] { runGuarded([this] { alarmTick(); }); });
    m_tmrAlarme.start();

    m_tmrClip.setObjectName(QStringLiteral("tmrClip"));
    m_tmrClip.setInterval(5000);
    m_tmrClip.setSingleShot(true);

    m_tmrConecta.setObjectName(QStringLiteral("tmrConecta"));
    m_tmrConecta.setInterval(5000);
    m_tmrConecta.setSingleShot(true);

    m_wavSom = new TWavePlayer(this);
    m_wavSom->setObjectName(QStringLiteral("wavSom"));

    m_trayMenu = new TrayMenu(this);
    m_trayMenu->setNoteProvider([this] { return trayNotes(); });
    m_trayIcon = new TrayIcon(m_trayMenu->menu(), this);
    connect(m_trayIcon, &TrayIcon::clicked, this, [this] { runGuarded([this] { trayClick(); }); });
    connect(m_trayIcon, &TrayIcon::doubleClicked, this, [this] { runGuarded([this] { createNote(NoteKind::User); }); });
    connect(m_trayMenu, &TrayMenu::newNoteRequested, this, [this] { runGuarded([this] { createNote(NoteKind::User); }); });
    connect(m_trayMenu, &TrayMenu::showNoteRequested, this, &TfStickyNote::showNote);
    connect(m_trayMenu, &TrayMenu::showAllRequested, this, &TfStickyNote::showAllNotes);
    connect(m_trayMenu, &TrayMenu::findNotesRequested, this, &TfStickyNote::openNotesWindow);
    connect(m_trayMenu, &TrayMenu::saveRequested, this, &TfStickyNote::saveFromMenu);
    connect(m_trayMenu, &TrayMenu::backupRequested, this, [this] { runGuarded([this] { backupFromMenu(); }); });
    connect(m_trayMenu, &TrayMenu::webRequested, this, [] { openProductWebPage(nullptr); });
    connect(m_trayMenu, &TrayMenu::helpRequested, this, [this] { showHelp(TfrmAjuda::kContents); });
    connect(m_trayMenu, &TrayMenu::aboutRequested, this, [this] { aboutBox()->exec(); });
    connect(m_trayMenu, &TrayMenu::quitRequested, this, [this] { shutdown(ShutdownCause::User); });
    connect(m_trayMenu, &TrayMenu::languageRequested, this,
            [this](int localeId) { runGuarded([this, localeId] { SwitchLanguage(localeId); }); });

    // The dialogs live for the whole run once made; each is made when first needed, so that
    // the start-up costs neither their time nor their memory.
    connect(m_trayMenu, &TrayMenu::todayTasksRequested, this, &TfStickyNote::listTodaysTasks);

    connect(m_trayMenu, &TrayMenu::preferencesRequested, this, [this] { runGuarded([this] { openPreferences(); }); });

    m_receivedNotes = std::make_unique<ReceivedNotes>(*this);
    m_sync = std::make_unique<NoteSync>(*this);
    m_noteServer = new NoteServer(m_settings, *m_receivedNotes, m_programFolder, this);
    m_alarmCheck = [this] { checkAlarms(); };

    // The send dialog and the contact book are made on first use.
    m_sendDialogs = new SendDialogs(*this);
    connect(m_trayMenu, &TrayMenu::addressBookRequested, this, [this] { runGuarded([this] { m_sendDialogs->openAddressBook(); }); });

    m_endpoint = new MessageEndpoint(this);
    connect(m_endpoint, &MessageEndpoint::messageReceived, this,
            [this](const QByteArray &message) { runProgramCommand(ProgramCommand::fromMessage(message)); });

    m_signals = new SignalWatcher(this);
    connect(m_signals, &SignalWatcher::terminationRequested, this, [this] { shutdown(); });
    // The desktop session asks for the data first, then may end the program by any path: both
    // are covered, and the shutdown runs once whatever starts it.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] {
        const QString error = saveStore();
        if (!error.isEmpty())
            qWarning("Corkvane: %s", qPrintable(error));
    });
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { shutdown(); });

    // Screens come and go (a monitor unplugged, a laptop leaving its dock, a panel moved):
    // once they have settled, notes left out of reach are brought back.
    m_screenSettle.setSingleShot(true);
    m_screenSettle.setInterval(250);
    connect(&m_screenSettle, &QTimer::timeout, this, [this] { runGuarded([this] { rescueNotes(); }); });
    connect(qApp, &QGuiApplication::screenAdded, this, [this](QScreen *screen) {
        watchScreen(screen);
        screensChanged();
    });
    connect(qApp, &QGuiApplication::screenRemoved, this, &TfStickyNote::screensChanged);
    for (QScreen *screen : QGuiApplication::screens())
        watchScreen(screen);
    connect(m_trayMenu, &TrayMenu::gatherRequested, this, [this] { runGuarded([this] { gatherNotes(); }); });
    connect(m_trayMenu, &TrayMenu::trashRequested, this, [this] { runGuarded([this] { openTrash(); }); });
    connect(m_trayMenu, &TrayMenu::restoreRequested, this, [this] { runGuarded([this] { openRestore(); }); });

    chooseStartupLanguage();
    m_trayIcon->show();
}

TfStickyNote::~TfStickyNote()
{
    // The merge's worker finishes before the notes it may be reading about go.
    m_sync.reset();
    // The server reads the settings and builds notes through members that go before the
    // children would.
    delete m_noteServer;
    m_noteServer = nullptr;
    delete m_notesWindow;
    m_notesWindow = nullptr;
    destroyAllNotes();
    delete m_tasks;
}

TfrmSobre *TfStickyNote::aboutBox()
{
    if (!m_about) {
        m_about = new TfrmSobre(this);
        m_about->setWindowIcon(Artwork::applicationIcon());
    }
    return m_about;
}

TfrmConfSom *TfStickyNote::soundDialog()
{
    if (!m_confSom) {
        m_confSom = new TfrmConfSom(this);
        connect(m_confSom, &TfrmConfSom::helpRequested, this, &TfStickyNote::showHelp);
    }
    return m_confSom;
}

TfrmInsereBloq *TfStickyNote::blockEntryDialog()
{
    if (!m_insereBloq) {
        m_insereBloq = new TfrmInsereBloq(this);
        connect(m_insereBloq, &TfrmInsereBloq::helpRequested, this, &TfStickyNote::showHelp);
    }
    return m_insereBloq;
}

TfrmMostraAlarmes *TfStickyNote::todaysTasks()
{
    if (!m_tasks)
        m_tasks = new TfrmMostraAlarmes(&m_table);
    return m_tasks;
}

void TfStickyNote::buildFolders(const Folders &folders)
{
    m_programFolder = Paths::withSlash(folders.programFolder);
    const QString personal = folders.personalFolder.isEmpty() ? m_programFolder : Paths::withSlash(folders.personalFolder);
    m_loginName = folders.loginName.isEmpty() ? QStringLiteral("Default") : folders.loginName;

    QDir().mkpath(personal);
    const QString corkvane = personal + QStringLiteral("Corkvane/");
    const QString user = corkvane + m_loginName + QLatin1Char('/');
    m_dataFolder = user + QStringLiteral("data/");
    // Readable by the owner only: the store holds the mail password.
    DataFolder::createPrivate(corkvane);
    DataFolder::createPrivate(user);
    DataFolder::createPrivate(m_dataFolder);
    // A save cut short by a crash leaves its temporary file; the store itself is whole.
    DataFolder::removeInterruptedSaves(m_dataFolder, NoteStore::fileName());
    DataFolder::removeInterruptedSaves(m_dataFolder, SyncState::fileName());
    DataFolder::removeInterruptedSaves(m_dataFolder, NoteTrash::fileName());

    if (!QFileInfo::exists(storePath())) {
        const QString first = Locale::userLocaleId() == Locale::kPortugueseBrazil ? QStringLiteral("default_ptb.cvf")
                                                                                  : QStringLiteral("default_enu.cvf");
        if (QFile::copy(m_programFolder + first, storePath()))
            QFile::setPermissions(storePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
}

void TfStickyNote::start()
{
    m_tmrInicio.start();
}

void TfStickyNote::runGuarded(const std::function<void()> &step)
{
    try {
        step();
    } catch (const std::exception &e) {
        if (!m_shuttingDown)
            Dialogs::showException(QString::fromUtf8(e.what()));
    }
}

void TfStickyNote::startupStep()
{
    m_tmrInicio.stop();
    loadStore();
    m_tmrClip.stop();
    // A server that cannot start (its port taken, say) is reported, and the rest of the step
    // still runs: today's tasks and the clipboard message do not depend on the network.
    if (m_settings.recRede.Enabled)
        runGuarded([this] { m_noteServer->StartNoteServer(); });
    m_sendDialogs->updateAnnouncement();
    // The first merge with the sync folder, now that the notes are here.
    m_sync->configure();
    m_sync->engine().requestMerge();
    if (m_settings.recGeral.NoteDaily)
        listTodaysTasks();
    if (m_endpoint && !m_endpoint->isListening() && !m_endpoint->listen())
        qWarning("Corkvane: the CorkvaneMsg endpoint is not available: %s", qPrintable(m_endpoint->errorString()));
    m_hookInstalled = true;
    if (std::exchange(m_relistTasks, false) && !todaysTasks()->isVisible())
        listTodaysTasks();
    for (const ProgramCommand::Command command : std::exchange(m_pendingCommands, {}))
        runProgramCommand(command);
    for (const QString &warning : std::exchange(m_startupWarnings, {}))
        QTimer::singleShot(0, this, [warning] { Dialogs::warning(nullptr, warning); });
}

TfPostIt *TfStickyNote::makeNoteWindow()
{
    const int slot = m_table.count();
    auto *note = new TfPostIt(slot, this, &m_settings);
    m_table.add(note);
    connect(note, &TfPostIt::sendToComputerRequested, this, [this](int tag, bool reply) {
        runGuarded([this, tag, reply] { m_sendDialogs->openSendDialog(tag, reply); });
    });
    connect(note, &TfPostIt::emailRequested, this, &TfStickyNote::openEmailDialog);
    connect(note, &TfPostIt::configureRequested, this, [this, note](int, bool alarmsPage) {
        runGuarded([this, note, alarmsPage] {
            OpenNoteSettings(note, alarmsPage, &m_settings, [this](int context) { showHelp(context); });
        });
    });
    connect(note, &TfPostIt::helpRequested, this, &TfStickyNote::showHelp);
    connect(note, &TfPostIt::findNotesRequested, this, &TfStickyNote::openNotesWindow);
    connect(note, &TfPostIt::changed, this, &TfStickyNote::noteListChanged);
    noteListChanged(slot);
    return note;
}

void TfStickyNote::noteListChanged(int slot)
{
    if (m_notesWindow)
        m_notesWindow->noteChanged(slot);
}

void TfStickyNote::openNotesWindow()
{
    if (!m_notesWindow) {
        // A window of its own, not owned by the hidden controller: without a notification
        // area it is how the user reaches the program, so the task switchers list it.
        m_notesWindow = new TfrmNotas(&m_table, this);
        m_notesWindow->setWindowIcon(Artwork::applicationIcon());
        m_notesWindow->setMainMenu(m_trayMenu->menu());
        connect(m_notesWindow, &TfrmNotas::helpRequested, this, &TfStickyNote::showHelp);
        connect(m_notesWindow, &TfrmNotas::settingsRequested, this, [this](int slot) {
            runGuarded([this, slot] {
                if (TfPostIt *note = m_table.at(slot))
                    OpenNoteSettings(note, false, &m_settings, [this](int context) { showHelp(context); });
            });
        });
    }
    m_notesWindow->open();
}

void TfStickyNote::openEmailDialog(int tag)
{
    TfPostIt *note = m_table.at(tag);
    if (!note)
        return;
    if (!m_emailDialog) {
        // Made on first use: most runs never mail a note, and start-up stays quick.
        m_emailDialog = new TfrmEnviarEmail(&m_settings, this);
        m_emailDialog->setWindowIcon(Artwork::applicationIcon());
        m_emailDialog->setWebAddress(productWebAddress);
        m_emailDialog->setAddressChooser([this] { return m_sendDialogs->chooseRecipients(); });
        connect(m_emailDialog, &TfrmEnviarEmail::helpRequested, this, &TfStickyNote::showHelp);
    }
    // One mail at a time: an open dialog, perhaps sending, keeps the note it was opened for.
    if (!m_emailDialog->isVisible())
        m_emailDialog->prepare(note->title(), note->text());
    m_emailDialog->show();
    m_emailDialog->raise();
    m_emailDialog->activateWindow();
}

void TfStickyNote::loadStore()
{
    NoteSizeLimits sizes;
    sizes.minimum = QSize(TfPostIt::kMinWidth, TfPostIt::kMinHeight);
    sizes.maximum = virtualDesktop().size();
    const LoadedStore stored = NoteStore::load(storePath(), Clock::now(), m_loginName, m_programFolder, sizes);
    if (stored.notAProfile)
        keepUnreadableStore();
    snapshotStoreAsFound(stored);
    m_settings = stored.settings;
    ++m_notesGeneration;
    m_autoSaveCountdown = stored.autoSaveCountdown;
    const QList<QRect> areas = screenAreas();
    QList<QWidget *> shown;
    for (const NoteData &data : stored.notes) {
        TfPostIt *note = makeNoteWindow();
        // A note out of reach of every screen comes in where it can be grabbed, before it shows.
        note->applyData(withinReach(data, areas));
        if (data.visible)
            shown.append(note);
    }
    StartupTrace::watch(shown);
    QCoreApplication::processEvents();
    m_loaded = true;
    if (stored.truncated)
        Dialogs::warning(nullptr, NoteStore::tooManyNotesText());
}

QString TfStickyNote::saveStore()
{
    // Before the start-up step has loaded the store there is nothing in memory worth writing,
    // and writing it would erase every note on disk.
    if (!m_loaded)
        return {};
    QList<NoteData> notes;
    const QString error = prepareSave(&notes)();
    if (error.isEmpty()) {
        m_saveFailureTold = false;
        snapshotAfterSave(notes);
        m_sync->engine().storeSaved();
    }
    return error;
}

std::function<QString()> TfStickyNote::prepareSave(QList<NoteData> *savedNotes)
{
    if (!m_loaded)
        return [] { return QString(); };
    if (m_storeProtected) {
        const QString refusal = IniFile::writeErrorText(
            storePath(), tr("O arquivo ilegível não pôde ser guardado em outro lugar e não será substituído."));
        return [refusal] { return refusal; };
    }
    QList<NoteData> notes;
    m_table.forEach([&notes](int, TfPostIt *note) { notes.append(note->data()); });
    if (savedNotes)
        *savedNotes = notes;
    // Without a language module the built-in Portuguese runs, and the next start must bring it
    // back rather than switch to English.
    return [this, order = ++m_savesPrepared, path = storePath(), settings = m_settings, notes = std::move(notes),
            portuguese = m_language != Language::English]() -> QString {
        const std::lock_guard lock(m_saveMutex);
        // A save prepared later has been at the file already: this one holds older notes.
        if (order < m_savesAttempted)
            return {};
        m_savesAttempted = order;
        return NoteStore::save(path, settings, notes, portuguese, &m_saveCache).error;
    };
}

void TfStickyNote::backgroundSaveFinished(const QString &error, const QList<NoteData> &saved)
{
    if (!error.isEmpty()) {
        reportSaveFailure(error, SaveOrigin::Background);
        return;
    }
    m_saveFailureTold = false;
    snapshotAfterSave(saved);
}

void TfStickyNote::reportSaveFailure(const QString &error, SaveOrigin origin)
{
    if (error.isEmpty() || (origin == SaveOrigin::Background && m_saveFailureTold))
        return;
    m_saveFailureTold = true;
    if (origin == SaveOrigin::User)
        Dialogs::showException(error);
    else
        // Shown once the timer step is over, so that the alarms due now still ring.
        QTimer::singleShot(0, this, [error] { Dialogs::showException(error); });
}

void TfStickyNote::saveFromMenu()
{
    reportSaveFailure(saveStore(), SaveOrigin::User);
}

void TfStickyNote::playEventSound(const QString &file)
{
    if (!m_settings.recGeral.UseSounds || file.isEmpty())
        return;
    m_wavSom->setFileName(file);
    m_wavSom->play();
}

int TfStickyNote::createNote(NoteKind kind)
{
    if (m_table.full()) {
        if (kind == NoteKind::User)
            Dialogs::error(nullptr, tr("Não é possível criar mais notas nesta sessão: o limite de 1001 notas foi atingido. "
                                       "Salve, feche e abra o Corkvane novamente para reaproveitar as notas apagadas."));
        else
            qWarning("Corkvane: a received note was ignored: all 1001 note slots of this run are used");
        return -1;
    }
    const GeneralSettings &general = m_settings.recGeral;
    playEventSound(kind == NoteKind::User ? general.SoundNewSticky : general.SoundRecSticky);

    TfPostIt *note = makeNoteWindow();
    if (kind == NoteKind::User) {
        note->place(QRect(m_placement.nextUserNotePosition(), QSize(TfPostIt::kCreatedWidth, TfPostIt::kCreatedHeight)));
        note->setColor(general.DefaultColor);
    } else {
        note->setColor(255);
        const QSize size(TfPostIt::kCreatedWidth * 2, TfPostIt::kCreatedHeight);
        const QPoint spot = centredPosition(virtualDesktop(), size.width(), size.height());
        QList<QPoint> taken;
        m_table.forEach([&taken, note](int, TfPostIt *other) {
            if (other != note && other->isVisible())
                taken.append(other->storedGeometry().topLeft());
        });
        const QPoint free = receivedNotePosition(spot, size, ReceivedNotes::screenAreaAt(spot), NoteLayout::kCaptionHeight, taken);
        note->place(QRect(free, size));
    }
    note->setTitle(newNoteTitle(Clock::now(), general.ShowDate, general.ShowTime));
    if (kind == NoteKind::User)
        note->setNoteFont(general.DefaultFont);
    else
        note->setNoteFont(NoteFont{QStringLiteral("Courier New"), 8, 0xFFFFFF, true, false});
    if (general.DarkCaption) {
        note->setTrackPosition(general.TrackPosition);
        note->setDarkCaption(true);
    }
    note->setScrollBar(general.ScrollBar);
    note->setTitleFontColour(general.DefaultFont.colour);
    note->bringToFront();
    return note->Tag();
}

void TfStickyNote::clipboardMessage()
{
    if (!m_hookInstalled || m_tmrClip.isActive())
        return;
    m_tmrClip.start();
    if (createNote(NoteKind::User) < 0)
        return;
    for (int i = 0; i < 51; ++i) {
        QThread::msleep(10);
        QCoreApplication::processEvents();
    }
    if (TfPostIt *note = m_table.at(m_table.count() - 1))
        note->pasteClipboard();
}

void TfStickyNote::showHelp(int context)
{
    if (!m_help)
        m_help = new TfrmAjuda(this);
    m_help->showTopic(TfrmAjuda::helpFile(m_programFolder, m_language == Language::English), context);
}

void TfStickyNote::runProgramCommand(ProgramCommand::Command command)
{
    if (!m_loaded) {
        m_pendingCommands.append(command);
        return;
    }
    runGuarded([this, command] {
        switch (command) {
        case ProgramCommand::Command::Clipboard:
            clipboardMessage();
            break;
        case ProgramCommand::Command::Show:
            // Started again: the notes come up, and with them the menu at the pointer, or,
            // without a notification area, the notes window, which reaches the menu too.
            showAllNotes();
            if (notificationAreaAvailable())
                m_trayMenu->menu()->popup(QCursor::pos());
            else
                openNotesWindow();
            break;
        case ProgramCommand::Command::Notes:
            openNotesWindow();
            break;
        case ProgramCommand::Command::NewNote:
            createNote(NoteKind::User);
            break;
        case ProgramCommand::Command::ShowAll:
            showAllNotes();
            break;
        case ProgramCommand::Command::Preferences:
            emit m_trayMenu->preferencesRequested();
            break;
        }
    });
}

void TfStickyNote::deleteNoteRequest(int slot)
{
    TfPostIt *note = m_table.at(slot);
    if (!note)
        return;
    if (m_settings.recGeral.AskDelete && !Dialogs::confirm(nullptr, tr("Aviso"), tr("Deseja realmente eliminar esta nota?")))
        return;
    // The note may have gone while the question was open.
    note = m_table.at(slot);
    if (!note)
        return;
    // The note goes to the trash before its window goes; a trash that cannot be written keeps
    // the note where it is, since it would exist nowhere else.
    QString error;
    if (!trash().add(note->data(), Clock::now(), &error)) {
        Dialogs::error(nullptr, NoteTrash::notTrashedText(error));
        return;
    }
    playEventSound(m_settings.recGeral.SoundDelSticky);
    discardNote(slot);
    // The deletion reaches the sync folder as a tombstone.
    m_sync->engine().requestMerge();
}

void TfStickyNote::discardNote(int slot)
{
    TfPostIt *note = m_table.at(slot);
    if (!note)
        return;
    if (m_ringingNote == slot)
        m_ringingNote = -1;
    if (note->ringingIconShown())
        QCoreApplication::postEvent(this, new AlarmAcknowledged);
    m_table.take(slot);
    delete note;
    noteListChanged(slot);
}

int TfStickyNote::createSyncedNote(const NoteData &data)
{
    if (m_table.full())
        return -1;
    TfPostIt *note = makeNoteWindow();
    note->applyData(data);
    if (data.visible)
        note->show();
    return note->Tag();
}

bool TfStickyNote::trashSyncedNote(int slot)
{
    TfPostIt *note = m_table.at(slot);
    if (!note)
        return false;
    // As for a deletion here: into the trash first, and a trash that cannot be written keeps
    // the note (the next merge tries again; the failure is told once).
    QString error;
    if (!trash().add(note->data(), Clock::now(), &error)) {
        if (!m_syncTrashFailureTold) {
            m_syncTrashFailureTold = true;
            QTimer::singleShot(0, this, [error] { Dialogs::error(nullptr, NoteTrash::notTrashedText(error)); });
        }
        return false;
    }
    m_syncTrashFailureTold = false;
    discardNote(slot);
    return true;
}

bool TfStickyNote::event(QEvent *event)
{
    if (event->type() == DeleteNoteRequestType) {
        if (const auto *request = dynamic_cast<DeleteNoteRequest *>(event)) {
            const int slot = request->slot();
            runGuarded([this, slot] { deleteNoteRequest(slot); });
        }
        return true;
    }
    if (event->type() == AlarmAcknowledgedType) {
        setAlarmAnimation(false);
        return true;
    }
    return QWidget::event(event);
}

void TfStickyNote::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        m_trayIcon->retranslate();
    QWidget::changeEvent(event);
}

void TfStickyNote::setAlarmAnimation(bool on)
{
    m_trayIcon->setAnimated(on);
}

QList<TrayNoteEntry> TfStickyNote::trayNotes() const
{
    QList<TrayNoteEntry> entries;
    m_table.forEach([&entries](int slot, TfPostIt *note) { entries.append({slot, note->title(), note->isHidden()}); });
    return entries;
}

void TfStickyNote::showNote(int slot)
{
    if (TfPostIt *note = m_table.at(slot))
        note->bringToFront();
}

void TfStickyNote::showAllNotes()
{
    m_table.forEach([](int, TfPostIt *note) { note->bringToFront(); });
}

void TfStickyNote::trayClick()
{
    AnswerRingingNote(m_table, m_ringingNote, [this] { setAlarmAnimation(false); });
}

void TfStickyNote::alarmTick()
{
    // The auto-save countdown. A failing save is reported, but the alarm check still runs: a
    // full disk must not silence the alarms.
    if (--m_autoSaveCountdown == 0) {
        m_autoSaveCountdown = m_settings.recGeral.TimeAutoSave * 60;
        if (m_settings.recGeral.AutoSave)
            reportSaveFailure(saveStore(), SaveOrigin::Background);
    }
    if (m_alarmCheck)
        m_alarmCheck();
}

void TfStickyNote::checkAlarms()
{
    AlarmHooks hooks;
    hooks.startTrayAnimation = [this] { setAlarmAnimation(true); };
    hooks.saveStore = [this] { reportSaveFailure(saveStore(), SaveOrigin::Background); };
    hooks.playSound = [this](const QString &file) {
        m_wavSom->setFileName(file);
        m_wavSom->play();
    };
    hooks.beep = &TWavePlayer::defaultBeep;
    RunAlarmTick(m_table, m_ringingNote, Clock::now(), hooks);
}

void TfStickyNote::listTodaysTasks()
{
    todaysTasks()->listTodaysTasks();
}

void TfStickyNote::backupFromMenu()
{
    const QString chosen = Dialogs::getSaveFileName(nullptr, tr("Selecione o Local para Backup"),
                                                    QDir::homePath() + QLatin1Char('/') + backupFileName(Clock::now()), QString());
    if (chosen.isEmpty())
        return;
    // The dialog may stay open for minutes: the copy is named after the moment it is made.
    const QDateTime now = Clock::now();
    const QString folder = QFileInfo(chosen).absolutePath();
    QString error;
    const QString copy = backupStore(storePath(), folder, now, &error);
    if (copy.isEmpty())
        Dialogs::error(nullptr, error);
    else
        Dialogs::warning(nullptr, tr("Backup efetuado em ") + QLatin1Char(' ') + copy);
}

void TfStickyNote::openPreferences()
{
    PreferencesServices services;
    services.applyNetworking = [this](bool enabled) {
        if (enabled)
            m_noteServer->MoveNoteServer();
        else
            m_noteServer->StopNoteServer();
        m_sendDialogs->updateAnnouncement();
    };
    services.askBlockedSender = [this]() -> std::optional<QString> {
        if (blockEntryDialog()->exec() != QDialog::Accepted)
            return std::nullopt;
        return blockEntryDialog()->entry();
    };
    services.chooseEventSound = [this](const QString &eventName, const QString &path) {
        return soundDialog()->chooseSound(eventName, path);
    };
    services.dataFolder = m_dataFolder;
    services.programPath = QCoreApplication::applicationFilePath();
    services.syncStatus = m_sync->engine().statusText();
    services.applySync = [this] {
        m_sync->configure();
        m_sync->engine().requestMerge();
    };
    OpenPreferences(&m_settings, services, [this](int context) { showHelp(context); });
}

void TfStickyNote::destroyAllNotes()
{
    ++m_notesGeneration;
    m_table.forEach([](int, TfPostIt *note) { delete note; });
    m_table.reset();
    if (m_notesWindow)
        m_notesWindow->reloadAll();
}

void TfStickyNote::shutdown(ShutdownCause cause)
{
    if (m_shuttingDown)
        return;
    m_shuttingDown = true;
    m_tmrAlarme.stop();
    m_tmrInicio.stop();
    const auto quietly = [](const std::function<void()> &step) {
        try {
            step();
        } catch (...) {
        }
    };
    // The last chance to keep what is in memory: a failure is never passed over in silence.
    const auto tell = [cause](const QString &error) {
        if (error.isEmpty())
            return;
        if (cause == ShutdownCause::User)
            Dialogs::showException(error);
        else
            qWarning("Corkvane: %s", qPrintable(error));
    };
    m_sync->engine().stop();
    quietly([this, &tell] { tell(saveStore()); });
    // What changed here since the last merge reaches the sync folder before the program ends.
    quietly([this] { m_sync->engine().pushBeforeExit(); });
    if (m_loaded && m_settings.recGeral.BackupOnExit && !m_settings.recGeral.BackupPath.trimmed().isEmpty())
        quietly([this, &tell] {
            QString error;
            if (backupStore(storePath(), m_settings.recGeral.BackupPath, Clock::now(), &error,
                            BackupFolder::CreateWhenMissing).isEmpty())
                tell(error);
        });
    quietly([this] { m_noteServer->StopNoteServer(); });
    quietly([this] { m_sendDialogs->shutdown(); });
    // The message endpoint goes with its socket file, so that nothing stays behind however the
    // process then ends.
    delete m_endpoint;
    m_endpoint = nullptr;
    // A process about to end leaves its windows to the system: destroying a thousand of them
    // one by one kept the desktop session waiting at logout for nothing.
    if (!m_processEndsAfterShutdown)
        quietly([this] { destroyAllNotes(); });
    m_trayIcon->hide();
    emit shutdownFinished();
    QCoreApplication::exit(0);
}
