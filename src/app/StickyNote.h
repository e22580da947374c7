#pragma once
// TfStickyNote: the hidden controller. It owns the note table, the settings, the tray icon and
// its menu, the timers, the wave player and the note server, starts the program up, creates and
// deletes notes, and shuts the program down. It is never shown.
#include "app/NewNote.h"
#include "notes/NoteTable.h"
#include "store/AppSettings.h"
#include "store/NoteStore.h"
#include "store/NoteTrash.h"

#include <QDateTime>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <mutex>

class LanguageModules;
class MessageEndpoint;
class NoteSync;
class NoteServer;
class ReceivedNotes;
class SendDialogs;
class TfrmMostraAlarmes;
class SignalWatcher;
class TfPostIt;
class TfrmAjuda;
class TfrmLixeira;
class TfrmRestaurarCopia;
class QScreen;
class TfrmSobre;
class TfrmEnviarEmail;
class TfrmConfSom;
class TfrmInsereBloq;
class TfrmNotas;
class TrayIcon;
class TrayMenu;
class TWavePlayer;

struct TrayNoteEntry;
namespace ProgramCommand {
enum class Command;
}

class TfStickyNote : public QWidget
{
    Q_OBJECT
public:
    enum class Language { None, Portuguese, English };
    enum class NoteKind { User, Received };

    struct Folders
    {
        QString programFolder;   // with a trailing '/'
        QString personalFolder;  // empty: the platform reports none
        QString loginName;
    };

    // Builds the folder tree and the first store, and chooses the start-up language.
    explicit TfStickyNote(const Folders &folders, QWidget *parent = nullptr);
    ~TfStickyNote() override;

    // Starts tmrInicio: the start-up step runs 500 ms later from the event loop.
    void start();

    // --- state -----------------------------------------------------------------------------
    const QString &ProgramFolder() const { return m_programFolder; }
    const QString &DataFolder() const { return m_dataFolder; }
    const QString &LoginName() const { return m_loginName; }
    QString storePath() const { return m_dataFolder + QStringLiteral("stickies.cvf"); }
    // trash.cvf beside the store: where every deleted note goes first.
    NoteTrash trash() const { return NoteTrash(NoteTrash::besideStore(storePath())); }
    AppSettings &settings() { return m_settings; }
    const NoteTable &noteTable() const { return m_table; }
    TfPostIt *note(int slot) const { return m_table.at(slot); }
    int RingingNote() const { return m_ringingNote; }
    int &ringingNoteRef() { return m_ringingNote; }
    Language activeLanguage() const { return m_language; }
    int AutoSaveCountdown() const { return m_autoSaveCountdown; }
    bool loaded() const { return m_loaded; }

    TrayMenu *trayMenu() const { return m_trayMenu; }
    TrayIcon *trayIcon() const { return m_trayIcon; }
    TWavePlayer *wavSom() const { return m_wavSom; }
    TfrmSobre *aboutBox();
    NoteServer *noteServer() const { return m_noteServer; }
    TfrmMostraAlarmes *todaysTasks();
    // The sender (sockCliente), the send-to-computer dialog and the contact book.
    SendDialogs *sendDialogs() const { return m_sendDialogs; }
    TfrmConfSom *soundDialog();
    TfrmInsereBloq *blockEntryDialog();
    // The notes window, made on first use; null until then.
    TfrmNotas *notesWindow() const { return m_notesWindow; }
    QTimer &tmrInicio() { return m_tmrInicio; }
    QTimer &tmrAlarme() { return m_tmrAlarme; }
    QTimer &tmrClip() { return m_tmrClip; }
    QTimer &tmrConecta() { return m_tmrConecta; }

    // --- operations ------------------------------------------------------------------------
    // The start-up step: Load, then the server, today's tasks and the "CorkvaneMsg" hook.
    void startupStep();
    // Reads the store into the settings and one hidden-or-shown window per note.
    void loadStore();
    // Writes the settings and every note; on failure returns "Unable to write to <path>" with
    // the system's reason on the line under it. The notes stay in memory either way.
    QString saveStore();
    // Who asked for a save decides how its failure is told: a command of the user's own
    // ("Salvar A&gora", a language switch, "&Sair") reports every failure; the saves the program
    // makes by itself (the auto-save, a rearmed alarm) report the first failure after a
    // success only, and are simply tried again at their next turn.
    enum class SaveOrigin { User, Background };
    void reportSaveFailure(const QString &error, SaveOrigin origin);
    // A save whose writing may run on another thread: the settings and notes are read now, on
    // the GUI thread; the call returned writes them (once, on any thread) and gives what
    // saveStore() would. Saves reach the file in the order they were prepared: one prepared
    // earlier never writes over a later one. saveStore() is prepareSave()() on the GUI thread.
    // `savedNotes`, when given, receives the notes the save holds.
    std::function<QString()> prepareSave(QList<NoteData> *savedNotes = nullptr);
    // Back on the GUI thread after a save of the program's own made that way.
    void backgroundSaveFinished(const QString &error, const QList<NoteData> &saved);
    // The menu's "Salvar A&gora".
    void saveFromMenu();
    // Creates a note of the given kind in slot `count`; -1 when every slot of the run is used
    // (a user request is then refused with a message box).
    int createNote(NoteKind kind);
    // The "CorkvaneMsg" message: a user note holding the clipboard's text.
    void clipboardMessage();
    // A request from another process of this user (a second start, a desktop action). Before
    // the store is loaded it waits for the start-up step.
    void runProgramCommand(ProgramCommand::Command command);
    // Shows one note, or every note, and brings it to the front.
    void showNote(int slot);
    void showAllNotes();
    // The tray's single click: brings up the ringing note and stops the blinking.
    void trayClick();
    // One tick of tmrAlarme: the auto-save countdown, then the alarm check.
    void alarmTick();
    // The "&Sair" sequence. A save or exit backup that fails is told to the user when the user
    // asked to quit, and written to the standard error when the session or a signal ends the
    // program (nobody may be there to answer a box); shutdown goes on either way.
    enum class ShutdownCause { Session, User };
    void shutdown(ShutdownCause cause = ShutdownCause::Session);
    bool shutDown() const { return m_shuttingDown; }
    // Set by the program's entry when the process ends right after the shutdown: the note
    // windows are then left to the system instead of being destroyed one by one.
    void setProcessEndsAfterShutdown(bool ends) { m_processEndsAfterShutdown = ends; }
    // The tray menu's backup command.
    void backupFromMenu();

    // --- notes within reach ----------------------------------------------------------------
    // The available areas of the screens, the primary screen's first. Tests replace the
    // source to take a screen away; an empty function goes back to the real screens.
    void setScreenAreaSource(std::function<QList<QRect>()> source);
    QList<QRect> screenAreas() const;
    // Moves every note whose title bar cannot be grabbed on any screen into the nearest
    // screen's available area (NotePlaces::rescue); the new place is the one the store keeps.
    // Runs at load and, a moment after they settle, whenever the screens change.
    void rescueNotes();
    // Asks for a rescue once the screens have settled (changes come in bursts).
    void screensChanged();
    // "Reunir Notas": every shown note cascaded over the screen under the pointer, in the
    // order of the "Mostrar" list.
    void gatherNotes();

    // --- trash, snapshots, restore ---------------------------------------------------------
    // snapshots/ beside the store.
    QString snapshotFolder() const;
    // Brings the trash entries named by `ids` back as new notes at the end of the table, whole
    // and shown; as many as there are free slots. The slots of the new notes.
    QList<int> restoreFromTrash(const QStringList &ids);
    // Replaces the running notes and settings with those of the store copy at `path`, after
    // saving the current state and taking a snapshot of it, so that the restore can itself be
    // undone. False, after telling the user why, when nothing was changed.
    bool restoreStoreCopy(const QString &path);
    // The dialogs of "Lixeira..." and "Restaurar Cópia...", made on first use.
    TfrmLixeira *trashDialog();
    TfrmRestaurarCopia *restoreDialog();
    void openTrash();
    void openRestore();
    // The tray menu's "&Preferências...": the settings dialog in its general mode.
    void openPreferences();
    // "&Localizar Notas...", Ctrl+F in a note, `corkvane --notes`: the notes window, made on
    // first use, with the focus in its search field.
    void openNotesWindow();
    // Whether the desktop shows a notification area for the tray icon now. Without one, a
    // second start opens the notes window instead of the tray menu. Replaceable for tests.
    bool notificationAreaAvailable() const { return m_notificationArea(); }
    void setNotificationAreaCheck(std::function<bool()> check) { m_notificationArea = std::move(check); }

    // --- sync ------------------------------------------------------------------------------
    NoteSync *noteSync() const { return m_sync.get(); }
    // Changes whenever the note windows are let go and the store is read again.
    quint64 notesGeneration() const { return m_notesGeneration; }
    // A note that came through the sync folder: shown where `data` says, without a sound and
    // without taking the focus. -1 when every slot of the run is used.
    int createSyncedNote(const NoteData &data);
    // A note another computer deleted leaves the desktop for this computer's trash.
    bool trashSyncedNote(int slot);

    // Replaceable for tests: the alarm check run by each tick after the auto-save countdown.
    void setAlarmCheck(std::function<void()> check) { m_alarmCheck = std::move(check); }
    // Runs the alarm check of one tick with the controller's clock, player and tray.
    void checkAlarms();
    // Lists today's tasks (the tray item, and start-up with NoteDaily).
    void listTodaysTasks();

    void setAlarmAnimation(bool on);

    // "E-Mail..." of a note: the send-by-e-mail dialog, made on first use, filled from the note.
    void openEmailDialog(int tag);
    TfrmEnviarEmail *emailDialog() const { return m_emailDialog; }
    // The help window, made on first use; null until then.
    TfrmAjuda *helpWindow() const { return m_help; }

public slots:
    // Opens the help of the active language at the topic of a help context (1 to 9; 0 the
    // contents). Every form's helpRequested(int) is connected here.
    void showHelp(int context);

public:
    // The language items' handler (1046 Portuguese, 1033 English): loads the module, and when
    // notes exist saves them, lets them go and has the start-up step bring them back 500 ms
    // later in the new language. False when no module could be loaded (nothing changed).
    bool SwitchLanguage(int localeId);
    LanguageModules *languageModules() const { return m_modules.get(); }

signals:
    void shutdownFinished();
    void languageSwitched(int localeId);

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildFolders(const Folders &folders);
    void chooseStartupLanguage();
    void checkLanguage(int localeId);
    void deleteNoteRequest(int slot);
    // Takes the note out of the table and destroys its window (after a deletion was decided).
    void discardNote(int slot);
    TfPostIt *makeNoteWindow();
    QList<TrayNoteEntry> trayNotes() const;
    void playEventSound(const QString &file);
    void runGuarded(const std::function<void()> &step);
    void destroyAllNotes();
    // Tells the notes window, when there is one, that the note in `slot` came, changed or went.
    void noteListChanged(int slot);
    // Lets every note window go so that the start-up step can load the store again (the
    // language switch, a restore): the server stops and forgets its notes in progress, an open
    // list of today's tasks is made again after the load, and until then nothing is saved.
    void releaseNotesForReload();
    void watchScreen(QScreen *screen);
    // The note as it is to be shown: moved into the nearest of `areas` when out of reach.
    static NoteData withinReach(NoteData data, const QList<QRect> &areas);
    // The snapshot policy: the store as found, once per run before anything is written, and
    // one more at most each hour when a save wrote notes that changed.
    void snapshotStoreAsFound(const LoadedStore &stored);
    void snapshotAfterSave(const QList<NoteData> &saved);
    void keepUnreadableStore();

    QString m_programFolder;
    QString m_dataFolder;
    QString m_loginName;
    AppSettings m_settings;
    NoteTable m_table;
    int m_ringingNote = -1;
    int m_autoSaveCountdown = 0;
    Language m_language = Language::None;
    bool m_loaded = false;
    // Auto-saves rewrite only the notes that changed since the last save.
    NoteStore::SaveCache m_saveCache;
    // Guards the cache and the order of saves that run off the GUI thread.
    std::mutex m_saveMutex;
    quint64 m_savesPrepared = 0;   // GUI thread only
    quint64 m_savesAttempted = 0;  // under m_saveMutex
    // The user has been told that saving fails, and no save has succeeded since.
    bool m_saveFailureTold = false;
    bool m_hookInstalled = false;
    // Today's tasks were open when the notes were let go: listed again after the load.
    bool m_relistTasks = false;
    std::function<QList<QRect>()> m_screenAreas;
    QTimer m_screenSettle;
    bool m_startSnapshotTaken = false;
    QDateTime m_lastSnapshotAt;
    QList<NoteData> m_lastSnapshotNotes;
    // The store was found unreadable and could not be kept elsewhere: it is never written over.
    bool m_storeProtected = false;
    // Told once the start-up step is over, so that nothing of the start waits for an answer.
    QStringList m_startupWarnings;
    TfrmLixeira *m_trashDialog = nullptr;
    TfrmRestaurarCopia *m_restoreDialog = nullptr;
    bool m_shuttingDown = false;
    bool m_processEndsAfterShutdown = false;
    NotePlacement m_placement;
    QList<ProgramCommand::Command> m_pendingCommands;

    QTimer m_tmrInicio;
    QTimer m_tmrAlarme;
    QTimer m_tmrClip;
    QTimer m_tmrConecta;

    TrayMenu *m_trayMenu = nullptr;
    TrayIcon *m_trayIcon = nullptr;
    TWavePlayer *m_wavSom = nullptr;
    TfrmSobre *m_about = nullptr;
    MessageEndpoint *m_endpoint = nullptr;
    SignalWatcher *m_signals = nullptr;

    std::unique_ptr<LanguageModules> m_modules;
    std::function<void()> m_alarmCheck;
    std::unique_ptr<ReceivedNotes> m_receivedNotes;
    std::unique_ptr<NoteSync> m_sync;
    quint64 m_notesGeneration = 0;
    bool m_syncTrashFailureTold = false;
    NoteServer *m_noteServer = nullptr;
    TfrmMostraAlarmes *m_tasks = nullptr;
    SendDialogs *m_sendDialogs = nullptr;
    TfrmEnviarEmail *m_emailDialog = nullptr;
    TfrmConfSom *m_confSom = nullptr;
    TfrmInsereBloq *m_insereBloq = nullptr;
    TfrmAjuda *m_help = nullptr;
    TfrmNotas *m_notesWindow = nullptr;
    std::function<bool()> m_notificationArea;
};
