#pragma once
// The store file stickies.cvf: settings, block list and notes. The store works on plain data:
// the controller hands it the notes of its table in table order and builds the note windows
// from what a load returns.
#include "store/AppSettings.h"
#include "store/IniFile.h"
#include "store/NoteData.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QSize>
#include <QString>

struct LoadedStore
{
    AppSettings settings;
    QList<NoteData> notes;     // note n of the file, for table slot n
    QString defaultLang;       // [General] DefaultLang as written, empty when missing
    int autoSaveCountdown = 0; // seconds to the first automatic save: TimeAutoSave x 60
    int declaredNotes = 0;     // NumStickies as read
    bool truncated = false;    // the file holds or claims more notes than the table holds
    // The file exists and could be read, but holds no section at all: binary junk, a file of
    // another kind, an empty file left by a crash. Everything then has its default.
    bool notAProfile = false;
};

// The window sizes a load gives its notes: at least the note window's smallest size and at
// most the desktop, whatever a damaged or hand-edited store says (a window of 100000 pixels
// cannot be made, one of 2147483647 would take gigabytes). The minimum wins over a maximum
// below it.
struct NoteSizeLimits
{
    // Without a screen to go by: the largest desktops in use.
    static constexpr int kLargestDesktop = 8192;

    QSize minimum{1, 1};
    QSize maximum{kLargestDesktop, kLargestDesktop};

    QSize bounded(int width, int height) const;

    // A position is left as the file has it (a note may lie off the screens on purpose), only
    // kept far enough from the ends of the integers that its window's far edge is still one.
    static constexpr int kFarthestPosition = 1 << 24;
    static int boundedPosition(int position);
};

struct SaveResult
{
    bool ok = false;
    QString error;             // "Unable to write to <full path>" and the reason under it, when not ok
    explicit operator bool() const { return ok; }
};

class NoteStore
{
    Q_DECLARE_TR_FUNCTIONS(NoteStore)

public:
    // The note table's slots; a save erases exactly the sections Stick0 .. Stick1000.
    static constexpr int kMaxNotes = 1001;
    // A hand-edited Listcount cannot make a load build an unbounded list.
    static constexpr int kMaxBlockListEntries = 65536;

    static QString fileName() { return QStringLiteral("stickies.cvf"); }
    static QString sectionName(int note) { return QStringLiteral("Stick") + QString::number(note); }

    // Reads the file; a missing or unreadable file gives every default. `loadMoment` is the
    // alarm moment of an armed note whose AlarmDateTime is missing or unparsable.
    //
    // The notes are Stick0 .. Stick<NumStickies-1>; a missing section below NumStickies is a
    // note with every default. A NumStickies that is missing, unparsable, negative or smaller
    // than the run of sections Stick0, Stick1, ... the file holds without a gap gives way to
    // that run, so that no count can hide notes from a load (and erase them at the next save).
    // At most kMaxNotes notes are read.
    static LoadedStore load(const QString &path, const QDateTime &loadMoment,
                            const QString &loginName, const QString &programFolder,
                            const NoteSizeLimits &sizes = NoteSizeLimits());
    static LoadedStore read(const IniFile &ini, const QDateTime &loadMoment,
                            const QString &loginName, const QString &programFolder,
                            const NoteSizeLimits &sizes = NoteSizeLimits());

    // What one file looked like on disk: a save trusts its cache only while it still does.
    struct FileStamp
    {
        bool exists = false;
        quint64 device = 0, inode = 0;
        qint64 size = 0, modifiedNs = 0, changedNs = 0;
        bool operator==(const FileStamp &) const = default;
        static FileStamp of(const QString &path);
    };

    // What the last save wrote: the file's other sections and each note's section. The next
    // save then neither reads the file again nor remakes the sections of unchanged notes, and
    // still writes the very bytes a save without it would. Trusted only while the file on disk
    // is the one that save left; any other writer, or a failed save, sends the next save the
    // plain way.
    class SaveCache
    {
    public:
        void clear();

    private:
        friend class NoteStore;
        bool m_valid = false;
        QString m_path;
        FileStamp m_stamp;
        IniFile m_head;                 // every section but the notes', as last written
        QList<NoteData> m_notes;        // the notes last written, in table order
        QList<QByteArray> m_sections;   // their sections' bytes
    };

    // Writes the settings and the notes onto the file as it stands (sections the store does
    // not own, such as the contact book, stay as they are) and replaces it atomically. On
    // failure the file is left byte for byte as it was.
    static SaveResult save(const QString &path, const AppSettings &settings,
                           const QList<NoteData> &notesInTableOrder, bool portugueseActive);
    static SaveResult save(const QString &path, const AppSettings &settings,
                           const QList<NoteData> &notesInTableOrder, bool portugueseActive,
                           SaveCache *cache);
    static void write(IniFile &ini, const AppSettings &settings,
                      const QList<NoteData> &notesInTableOrder, bool portugueseActive);

    // One note section, read and written as a load and a save do; the trash keeps its notes in
    // sections of the same form, and the sync folder's note files use the same keys.
    static NoteData readNoteSection(const IniFile &ini, const QString &section, const QDateTime &loadMoment,
                                    const NoteSizeLimits &sizes = NoteSizeLimits());
    static void writeNoteSection(IniFile &ini, const QString &section, const NoteData &note);

    // [General] DefaultLang, read alone at start-up before the first load.
    static QString readDefaultLang(const QString &path);

    // Shown by the caller when a load comes back truncated.
    static QString tooManyNotesText();
};
