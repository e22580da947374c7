#pragma once
// The profile (INI) file of the store, held in memory: parsed once from its Windows-1252 bytes,
// read and changed with the rules of the Windows profile service, and written back whole.
//
// Rules kept:
// - Section and key names match without regard to case (Latin-1 letters of Windows-1252
//   included). With repeated names the first one counts, for reading and for writing.
// - Writing a key that exists replaces its value in place and keeps the spelling the file
//   already has for the key and for its section; a new key goes after the last non-blank line
//   of its section (blank lines that separate it from the next section stay after it); a new
//   section goes at the end of the file, spelled as the writer spelled it.
// - A read value is trimmed of blanks and loses one pair of enclosing double or single quotes.
//   It is read whole, however long (the Windows profile service reads only its first 2047
//   characters).
// - A written value that the reading would change (it starts or ends with a blank, a control
//   character or a quote) goes inside one pair of double quotes, which both readers take off;
//   every other value is written bare.
// - Lines that are neither a section header nor "key=value" (comments, stray text, lines before
//   the first section) are ignored on reading and written back unchanged, as is every line
//   that was not written to. CR LF, LF alone and CR alone each end a line on reading (mixed
//   too); lines are written back with CR LF, whatever ended them before.
// - One profile is used from one thread at a time (reads remember the last section found).
// - A value never spans lines: a line break in a written value becomes a blank, so a value can
//   never plant keys or sections of its own in the file.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

class IniFile
{
public:
    IniFile();
    // Keeps (shares) the bytes rather than copying them: the lines read point into them.
    explicit IniFile(const QByteArray &bytes);

    // The whole file, every line ending in CR LF.
    QByteArray toBytes() const;

    // Reads a file from disk. A missing file is an empty profile; `readable` (when given) is
    // false only when the file exists but could not be read, and `reason` then receives the
    // system's text for why.
    static IniFile fromFile(const QString &path, bool *readable = nullptr, QString *reason = nullptr);
    // Replaces the file at `path` atomically (temporary file in the same folder, flushed, then
    // renamed over the old one, and the folder flushed) with owner-only permissions. On failure
    // the old file is left as it was and `error` receives "Unable to write to <full path>" and,
    // on a line of its own, the system's text for why ("Read-only file system").
    bool saveToFile(const QString &path, QString *error = nullptr) const;
    // The same for bytes made elsewhere.
    static bool saveBytes(const QString &path, const QByteArray &bytes, QString *error = nullptr);
    // "Unable to write to <full path>", and the reason under it when there is one.
    static QString writeErrorText(const QString &path, const QString &reason = QString());

    bool sectionExists(const QString &section) const;
    bool valueExists(const QString &section, const QString &key) const;
    // Section names in file order, as spelled in the file.
    QStringList sections() const;
    // Key names of a section in file order, as spelled in the file.
    QStringList keys(const QString &section) const;

    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue = QString()) const;
    // Decimal, or hexadecimal after "0x"/"0X"; the default when missing or unparsable.
    qint32 readInteger(const QString &section, const QString &key, qint32 defaultValue) const;
    // Read as an integer: any non-zero value is true.
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;

    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, qint32 value);
    void writeBool(const QString &section, const QString &key, bool value);

    // Removes the section's header and every line up to the next section; no-op when missing.
    void eraseSection(const QString &section);
    // Removes one key line; no-op when missing.
    void deleteKey(const QString &section, const QString &key);

private:
    struct Line
    {
        // As in the file, without its line break. Lines read from the file point into
        // m_source rather than holding a copy of their own.
        QByteArray text;
        qsizetype eq = -1;   // position of the '=' of a key line, -1 for any other line
    };
    struct KeySlot
    {
        quint32 hash = 0;
        int line = -1;       // -1: empty slot
    };
    struct Section
    {
        QByteArray header;   // the header line as in the file; empty for the lines before any
        QByteArray folded;   // the name folded for matching
        std::vector<Line> lines;
        std::vector<KeySlot> keys;  // open addressing: first line of each key, by folded name
        int keyCount = 0;
        bool erased = false;
    };
    struct SectionEntry
    {
        int first = -1;      // the live section that counts
        int count = 0;       // live sections of this name
    };

    // Written lines live in large blocks that never move, so that a line can point into them
    // just as lines read from the file point into m_source. A copy keeps the blocks its lines
    // point into but fills blocks of its own.
    class TextArena
    {
    public:
        TextArena() = default;
        TextArena(const TextArena &other) : m_blocks(other.m_blocks) {}
        TextArena &operator=(const TextArena &other);
        TextArena(TextArena &&other) noexcept;
        TextArena &operator=(TextArena &&other) noexcept;
        char *allocate(qsizetype size);
        // Returns the unused end of the last allocation.
        void giveBack(qsizetype size);

    private:
        std::vector<QByteArray> m_blocks;
        char *m_next = nullptr;
        qsizetype m_left = 0;
    };

    void parse();
    int findSection(QByteArrayView folded) const;
    // findSection for a caller's name, remembering the last one found: the store reads and
    // writes some thirty keys of one section in a row.
    int sectionIndexOf(const QString &section) const;
    // `name` as written in the file, or already folded.
    static int findKey(const Section &s, QByteArrayView name, quint32 hash, bool folded);
    static void addKey(Section &s, quint32 hash, int line);
    static void rebuildKeys(Section &s);
    const Line *findLine(const QString &section, const QString &key) const;
    int addSection(Section &&s);
    // Writes the key's line (created when missing): "key=" and then the value that `fill`
    // puts at the pointer it is given, at most `maxValue` bytes; `fill` returns their number.
    template <typename Fill>
    void writeLine(const QString &section, const QString &key, qsizetype maxValue, Fill fill);

    QByteArray m_source;
    TextArena m_arena;
    std::vector<Section> m_sections;  // [0] holds the lines before the first section
    QHash<QByteArray, SectionEntry> m_sectionIndex;
    mutable QString m_lastName;
    mutable int m_lastSection = -1;
};

namespace IniValue {

// The value part of a read: trimmed, one pair of enclosing quotes removed.
QByteArrayView cleanValue(QByteArrayView raw);
// True when a value written bare would not read back as written: it starts or ends with a
// blank, a control character or a quote.
bool needsQuotes(QByteArrayView value);
// Integer reading of the store: decimal with an optional sign, or "0x"/"0X" followed by up to
// eight hexadecimal digits (taken as a 32-bit pattern). False when the text is neither.
bool parseInteger(QByteArrayView text, qint32 *value);

} // namespace IniValue
