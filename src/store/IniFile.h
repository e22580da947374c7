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
// - A read value is trimmed of blanks, loses one pair of enclosing double or single quotes and
//   is cut to 2047 characters.
// - Lines that are neither a section header nor "key=value" (comments, stray text, lines before
//   the first section) are ignored on reading and written back unchanged, as is every line
//   that was not written to. Lines are written back with CR LF, whatever ended them before.
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
    static constexpr int kMaxValueLength = 2047;

    IniFile();
    explicit IniFile(const QByteArray &bytes);

    // The whole file, every line ending in CR LF.
    QByteArray toBytes() const;

    // Reads a file from disk. A missing file is an empty profile; `readable` (when given) is
    // false only when the file exists but could not be read.
    static IniFile fromFile(const QString &path, bool *readable = nullptr);
    // Replaces the file at `path` atomically (temporary file in the same folder, flushed, then
    // renamed over the old one) with owner-only permissions. On failure the old file is left
    // as it was and `error` receives "Unable to write to <full path>".
    bool saveToFile(const QString &path, QString *error = nullptr) const;
    static QString writeErrorText(const QString &path);

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
        QByteArray text;     // as in the file, without its line break
        qsizetype eq = -1;   // position of the '=' of a key line, -1 for any other line
    };
    struct Section
    {
        QByteArray header;   // the header line as in the file; empty for the lines before any
        QByteArray folded;   // the name folded for matching
        std::vector<Line> lines;
        QHash<QByteArray, int> keyIndex;  // folded key -> index of its first line
        bool erased = false;
    };

    void parse(const QByteArray &bytes);
    int findSection(const QByteArray &folded) const;
    const Line *findLine(const QString &section, const QString &key) const;
    int sectionForWrite(const QString &section);
    void writeRaw(const QString &section, const QString &key, QByteArray value);

    std::vector<Section> m_sections;  // [0] holds the lines before the first section
    QHash<QByteArray, QList<int>> m_sectionIndex;  // folded name -> live sections, file order
};

namespace IniValue {

// The value part of a read: trimmed, one pair of enclosing quotes removed, cut to 2047.
QByteArrayView cleanValue(QByteArrayView raw);
// Integer reading of the store: decimal with an optional sign, or "0x"/"0X" followed by up to
// eight hexadecimal digits (taken as a 32-bit pattern). False when the text is neither.
bool parseInteger(QByteArrayView text, qint32 *value);

} // namespace IniValue
