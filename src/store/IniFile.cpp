#include "store/IniFile.h"

#include "platform/TextCodec.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <array>
#include <cstring>

namespace {

// Case folding of Windows-1252 bytes: ASCII letters, the Latin-1 letters of 0xC0..0xDE (but
// not the multiplication sign) and the four letter pairs of 0x8A..0x9F.
constexpr std::array<char, 256> makeFoldTable()
{
    std::array<char, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[static_cast<size_t>(i)] = static_cast<char>(i);
    for (int c = 'A'; c <= 'Z'; ++c)
        table[static_cast<size_t>(c)] = static_cast<char>(c + 0x20);
    for (int c = 0xC0; c <= 0xDE; ++c)
        if (c != 0xD7)
            table[static_cast<size_t>(c)] = static_cast<char>(c + 0x20);
    table[0x8A] = static_cast<char>(0x9A);  // S caron
    table[0x8C] = static_cast<char>(0x9C);  // OE
    table[0x8E] = static_cast<char>(0x9E);  // Z caron
    table[0x9F] = static_cast<char>(0xFF);  // Y diaeresis
    return table;
}

constexpr std::array<char, 256> kFold = makeFoldTable();

QByteArray fold(QByteArrayView name)
{
    QByteArray out(name.size(), Qt::Uninitialized);
    char *dst = out.data();
    for (qsizetype i = 0; i < name.size(); ++i)
        dst[i] = kFold[static_cast<unsigned char>(name[i])];
    return out;
}

QByteArray foldName(const QString &name)
{
    return fold(QByteArrayView(TextCodec::toWin1252(name)).trimmed());
}

// The name between the brackets of a header line; false when the line is no header.
bool headerName(QByteArrayView line, QByteArrayView *name)
{
    const QByteArrayView t = line.trimmed();
    if (t.isEmpty() || t.front() != '[')
        return false;
    const qsizetype close = t.indexOf(']');
    if (close < 0)
        return false;
    *name = t.sliced(1, close - 1).trimmed();
    return true;
}

// Position of the '=' of a key line, -1 when the line holds no key.
qsizetype keySeparator(QByteArrayView line)
{
    const qsizetype eq = line.indexOf('=');
    if (eq < 0)
        return -1;
    const QByteArrayView key = line.first(eq).trimmed();
    if (key.isEmpty() || key.front() == ';')
        return -1;
    return eq;
}

bool isBlank(const QByteArray &line)
{
    for (char c : line)
        if (c != ' ' && c != '\t')
            return false;
    return true;
}

QByteArray oneLine(QByteArray value)
{
    for (char &c : value)
        if (c == '\r' || c == '\n')
            c = ' ';
    return value;
}

} // namespace

namespace IniValue {

QByteArrayView cleanValue(QByteArrayView raw)
{
    QByteArrayView v = raw.trimmed();
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.sliced(1, v.size() - 2);
    if (v.size() > IniFile::kMaxValueLength)
        v = v.first(IniFile::kMaxValueLength);
    return v;
}

bool parseInteger(QByteArrayView text, qint32 *value)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        quint32 v = 0;
        int significant = 0;
        for (qsizetype i = 2; i < text.size(); ++i) {
            const char c = text[i];
            int digit;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else
                return false;
            if (significant > 0 || digit != 0)
                ++significant;
            if (significant > 8)
                return false;
            v = (v << 4) | static_cast<quint32>(digit);
        }
        *value = static_cast<qint32>(v);  // a full 32-bit pattern such as 0xFFFFFFFF is -1
        return true;
    }
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return false;
    qint64 v = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
        if (v > 2147483648LL)
            return false;
    }
    if (negative)
        v = -v;
    if (v > 2147483647LL)
        return false;
    *value = static_cast<qint32>(v);
    return true;
}

} // namespace IniValue

IniFile::IniFile()
{
    m_sections.emplace_back();
}

IniFile::IniFile(const QByteArray &bytes)
{
    parse(bytes);
}

void IniFile::parse(const QByteArray &bytes)
{
    m_sections.clear();
    m_sectionIndex.clear();
    m_sections.emplace_back();
    // A store of 1001 notes holds some 30 lines per section.
    m_sectionIndex.reserve(bytes.size() / 2048 + 16);

    const char *p = bytes.constData();
    const char *const end = p + bytes.size();
    while (p < end) {
        const char *nl = static_cast<const char *>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        const char *lineEnd = nl ? nl : end;
        if (lineEnd > p && lineEnd[-1] == '\r')
            --lineEnd;
        const QByteArrayView line(p, lineEnd - p);
        p = nl ? nl + 1 : end;

        QByteArrayView name;
        if (headerName(line, &name)) {
            Section s;
            s.header = line.toByteArray();
            s.folded = fold(name);
            m_sectionIndex[s.folded].append(int(m_sections.size()));
            m_sections.push_back(std::move(s));
            continue;
        }
        Section &s = m_sections.back();
        Line l;
        l.text = line.toByteArray();
        // Text before the first section belongs to no section and holds no keys.
        if (m_sections.size() > 1)
            l.eq = keySeparator(line);
        if (l.eq >= 0) {
            QByteArray key = fold(line.first(l.eq).trimmed());
            if (!s.keyIndex.contains(key))
                s.keyIndex.insert(key, int(s.lines.size()));
        }
        s.lines.push_back(std::move(l));
    }
}

QByteArray IniFile::toBytes() const
{
    qsizetype size = 0;
    for (const Section &s : m_sections) {
        if (s.erased)
            continue;
        if (&s != &m_sections.front())
            size += s.header.size() + 2;
        for (const Line &l : s.lines)
            size += l.text.size() + 2;
    }
    QByteArray out;
    out.reserve(size);
    for (const Section &s : m_sections) {
        if (s.erased)
            continue;
        if (&s != &m_sections.front()) {
            out.append(s.header);
            out.append("\r\n", 2);
        }
        for (const Line &l : s.lines) {
            out.append(l.text);
            out.append("\r\n", 2);
        }
    }
    return out;
}

IniFile IniFile::fromFile(const QString &path, bool *readable)
{
    if (readable)
        *readable = true;
    QFile file(path);
    if (!file.exists())
        return IniFile();
    if (!file.open(QIODevice::ReadOnly)) {
        if (readable)
            *readable = false;
        return IniFile();
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (readable)
            *readable = false;
        return IniFile();
    }
    return IniFile(bytes);
}

QString IniFile::writeErrorText(const QString &path)
{
    return QCoreApplication::translate("IniFile", "Unable to write to %1")
        .arg(QFileInfo(path).absoluteFilePath());
}

bool IniFile::saveToFile(const QString &path, QString *error) const
{
    const QByteArray bytes = toBytes();
    QSaveFile file(path);
    // The store holds the mail password: owner-only from the first byte written.
    const bool ok = file.open(QIODevice::WriteOnly)
                    && file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)
                    && file.write(bytes) == bytes.size() && file.commit();
    if (!ok) {
        file.cancelWriting();
        if (error)
            *error = writeErrorText(path);
    }
    return ok;
}

int IniFile::findSection(const QByteArray &folded) const
{
    const auto it = m_sectionIndex.constFind(folded);
    return it == m_sectionIndex.cend() ? -1 : it->front();
}

const IniFile::Line *IniFile::findLine(const QString &section, const QString &key) const
{
    const int si = findSection(foldName(section));
    if (si < 0)
        return nullptr;
    const Section &s = m_sections[size_t(si)];
    const auto it = s.keyIndex.constFind(foldName(key));
    return it == s.keyIndex.cend() ? nullptr : &s.lines[size_t(*it)];
}

bool IniFile::sectionExists(const QString &section) const
{
    return findSection(foldName(section)) >= 0;
}

bool IniFile::valueExists(const QString &section, const QString &key) const
{
    return findLine(section, key) != nullptr;
}

QStringList IniFile::sections() const
{
    QStringList names;
    for (size_t i = 1; i < m_sections.size(); ++i) {
        const Section &s = m_sections[i];
        QByteArrayView name;
        if (!s.erased && headerName(s.header, &name))
            names.append(TextCodec::fromWin1252(name.data(), name.size()));
    }
    return names;
}

QStringList IniFile::keys(const QString &section) const
{
    QStringList names;
    const int si = findSection(foldName(section));
    if (si < 0)
        return names;
    for (const Line &l : m_sections[size_t(si)].lines)
        if (l.eq >= 0) {
            const QByteArrayView key = QByteArrayView(l.text).first(l.eq).trimmed();
            names.append(TextCodec::fromWin1252(key.data(), key.size()));
        }
    return names;
}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    const Line *l = findLine(section, key);
    if (!l)
        return defaultValue;
    const QByteArrayView v = IniValue::cleanValue(QByteArrayView(l->text).sliced(l->eq + 1));
    return TextCodec::fromWin1252(v.data(), v.size());
}

qint32 IniFile::readInteger(const QString &section, const QString &key, qint32 defaultValue) const
{
    const Line *l = findLine(section, key);
    if (!l)
        return defaultValue;
    qint32 value;
    if (!IniValue::parseInteger(IniValue::cleanValue(QByteArrayView(l->text).sliced(l->eq + 1)),
                                &value))
        return defaultValue;
    return value;
}

bool IniFile::readBool(const QString &section, const QString &key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

int IniFile::sectionForWrite(const QString &section)
{
    const QByteArray name = QByteArrayView(TextCodec::toWin1252(section)).trimmed().toByteArray();
    QByteArray folded = fold(name);
    const int existing = findSection(folded);
    if (existing >= 0)
        return existing;
    Section s;
    s.header = '[' + name + ']';
    s.folded = folded;
    m_sectionIndex[folded].append(int(m_sections.size()));
    m_sections.push_back(std::move(s));
    return int(m_sections.size()) - 1;
}

void IniFile::writeRaw(const QString &section, const QString &key, QByteArray value)
{
    value = oneLine(std::move(value));
    Section &s = m_sections[size_t(sectionForWrite(section))];
    const QByteArray keyName = oneLine(QByteArrayView(TextCodec::toWin1252(key)).trimmed().toByteArray());
    QByteArray folded = fold(keyName);
    const auto it = s.keyIndex.constFind(folded);
    if (it != s.keyIndex.cend()) {
        Line &l = s.lines[size_t(*it)];
        const QByteArray fileKey = QByteArrayView(l.text).first(l.eq).trimmed().toByteArray();
        l.text = fileKey + '=' + value;
        l.eq = fileKey.size();
        return;
    }
    // After the last non-blank line: only blank lines follow, so no key index moves.
    size_t pos = s.lines.size();
    while (pos > 0 && isBlank(s.lines[pos - 1].text))
        --pos;
    Line l;
    l.text = keyName + '=' + value;
    l.eq = keyName.size();
    s.lines.insert(s.lines.begin() + qsizetype(pos), std::move(l));
    s.keyIndex.insert(std::move(folded), int(pos));
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    writeRaw(section, key, TextCodec::toWin1252(value));
}

void IniFile::writeInteger(const QString &section, const QString &key, qint32 value)
{
    writeRaw(section, key, QByteArray::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeRaw(section, key, value ? QByteArray("1") : QByteArray("0"));
}

void IniFile::eraseSection(const QString &section)
{
    const QByteArray folded = foldName(section);
    const auto it = m_sectionIndex.find(folded);
    if (it == m_sectionIndex.end())
        return;
    Section &s = m_sections[size_t(it->front())];
    s.erased = true;
    s.lines.clear();
    s.keyIndex.clear();
    it->removeFirst();
    if (it->isEmpty())
        m_sectionIndex.erase(it);
}

void IniFile::deleteKey(const QString &section, const QString &key)
{
    const int si = findSection(foldName(section));
    if (si < 0)
        return;
    Section &s = m_sections[size_t(si)];
    const auto it = s.keyIndex.constFind(foldName(key));
    if (it == s.keyIndex.cend())
        return;
    s.lines.erase(s.lines.begin() + *it);
    // A repeated key further down now becomes the one that counts.
    s.keyIndex.clear();
    for (size_t i = 0; i < s.lines.size(); ++i) {
        const Line &l = s.lines[i];
        if (l.eq < 0)
            continue;
        QByteArray k = fold(QByteArrayView(l.text).first(l.eq).trimmed());
        if (!s.keyIndex.contains(k))
            s.keyIndex.insert(k, int(i));
    }
}
