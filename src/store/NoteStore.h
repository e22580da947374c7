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
#include <QString>

struct LoadedStore
{
    AppSettings settings;
    QList<NoteData> notes;     // note n of the file, for table slot n
    QString defaultLang;       // [General] DefaultLang as written, empty when missing
    int autoSaveCountdown = 0; // seconds to the first automatic save: TimeAutoSave x 60
    int declaredNotes = 0;     // NumStickies as read
    bool truncated = false;    // the file claims more notes than the table holds
};

struct SaveResult
{
    bool ok = false;
    QString error;             // "Unable to write to <full path>" when not ok
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
    static LoadedStore load(const QString &path, const QDateTime &loadMoment,
                            const QString &loginName, const QString &programFolder);
    static LoadedStore read(const IniFile &ini, const QDateTime &loadMoment,
                            const QString &loginName, const QString &programFolder);

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

    // One note section: what a load reads from it and what a save writes into it. The sync
    // folder's note files use the same keys.
    static NoteData readNoteSection(const IniFile &ini, const QString &section, const QDateTime &loadMoment);
    static void writeNoteSection(IniFile &ini, const QString &section, const NoteData &note);

    // [General] DefaultLang, read alone at start-up before the first load.
    static QString readDefaultLang(const QString &path);

    // Shown by the caller when a load comes back truncated.
    static QString tooManyNotesText();
};
