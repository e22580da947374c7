#include "store/IniFile.h"

#include "platform/TextCodec.h"
#include "store/DataFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QVarLengthArray>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

inline char foldByte(char c)
{
    return kFold[static_cast<unsigned char>(c)];
}

QByteArray fold(QByteArrayView name)
{
    QByteArray out(name.size(), Qt::Uninitialized);
    char *dst = out.data();
    for (qsizetype i = 0; i < name.size(); ++i)
        dst[i] = foldByte(name[i]);
    return out;
}

// FNV-1a over the folded bytes.
quint32 foldedHash(QByteArrayView folded)
{
    quint32 h = 2166136261u;
    for (char c : folded)
        h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
}

quint32 hashOfRawName(QByteArrayView name)
{
    quint32 h = 2166136261u;
    for (char c : name)
        h = (h ^ static_cast<unsigned char>(foldByte(c))) * 16777619u;
    return h;
}

bool sameFolded(QByteArrayView raw, QByteArrayView folded)
{
    if (raw.size() != folded.size())
        return false;
    for (qsizetype i = 0; i < raw.size(); ++i)
        if (foldByte(raw[i]) != folded[i])
            return false;
    return true;
}

bool sameName(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (foldByte(a[i]) != foldByte(b[i]))
            return false;
    return true;
}

bool isSpace(char16_t c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Writes the Windows-1252 form of `text` (at most one byte per character) and returns the
// number of bytes. Line breaks become blanks when `oneLine` is set.
qsizetype toWin1252(char *const out, QStringView text, bool oneLine)
{
    const char16_t *src = text.utf16();
    const qsizetype n = text.size();
    char *dst = out;
    qsizetype i = 0;
    while (i < n) {
#if defined(__SSE2__)
        // Blocks of eight printable characters that are the same byte in both (ASCII and
        // the Latin-1 letters), by far the most of any store.
        const __m128i asciiFrom = _mm_set1_epi16(0x1F);
        const __m128i asciiTo = _mm_set1_epi16(0x80);
        const __m128i latinFrom = _mm_set1_epi16(0x9F);
        const __m128i latinTo = _mm_set1_epi16(0x100);
        while (i + 8 <= n) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i));
            const __m128i plain = _mm_or_si128(
                _mm_and_si128(_mm_cmpgt_epi16(v, asciiFrom), _mm_cmplt_epi16(v, asciiTo)),
                _mm_and_si128(_mm_cmpgt_epi16(v, latinFrom), _mm_cmplt_epi16(v, latinTo)));
            if (_mm_movemask_epi8(plain) != 0xFFFF)
                break;
            _mm_storel_epi64(reinterpret_cast<__m128i *>(dst), _mm_packus_epi16(v, v));
            dst += 8;
            i += 8;
        }
        const qsizetype stop = std::min(n, i + 8);
#else
        const qsizetype stop = n;
#endif
        for (; i < stop; ++i) {
            const char16_t u = src[i];
            if (u < 0x80) {
                *dst++ = (oneLine && (u == '\r' || u == '\n')) ? ' ' : static_cast<char>(u);
            } else if (u >= 0xA0 && u <= 0xFF) {
                *dst++ = static_cast<char>(u);
            } else {
                // The rest of the code page, and what it cannot hold, as the codec has it.
                const qsizetype len = (QChar::isHighSurrogate(u) && i + 1 < n
                                       && QChar::isLowSurrogate(src[i + 1])) ? 2 : 1;
                const QByteArray b = TextCodec::toWin1252(text.sliced(i, len).toString());
                *dst++ = b.isEmpty() ? '?' : b.front();
                i += len - 1;
            }
        }
    }
    return dst - out;
}

// TextCodec::fromWin1252, taking the short way when no byte needs its table.
QString fromWin1252(QByteArrayView bytes)
{
    bool plain = true;
#if defined(__SSE2__)
    // Bytes 0x80..0x9F are the ones that differ from Latin-1.
    const __m128i limit = _mm_set1_epi8(static_cast<char>(0xA0));
    qsizetype i = 0;
    for (; plain && i + 16 <= bytes.size(); i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes.data() + i));
        plain = _mm_movemask_epi8(_mm_cmplt_epi8(v, limit)) == 0;
    }
    for (; plain && i < bytes.size(); ++i)
#else
    for (qsizetype i = 0; plain && i < bytes.size(); ++i)
#endif
        plain = static_cast<unsigned char>(bytes[i]) < 0x80 || static_cast<unsigned char>(bytes[i]) >= 0xA0;
    if (plain)
        return QString::fromLatin1(bytes);
    return TextCodec::fromWin1252(bytes.data(), bytes.size());
}

void appendWin1252(QByteArray &out, QStringView text, bool oneLine)
{
    const qsizetype start = out.size();
    out.resize(start + text.size());
    out.resize(start + toWin1252(out.data() + start, text, oneLine));
}

// A name given by a caller, trimmed and folded as names read from the file are.
using NameBuffer = QVarLengthArray<char, 96>;

QStringView trimmedName(const QString &name)
{
    QStringView v(name);
    while (!v.isEmpty() && isSpace(v.front().unicode()))
        v = v.sliced(1);
    while (!v.isEmpty() && isSpace(v.back().unicode()))
        v.chop(1);
    return v;
}

void foldedName(const QString &name, NameBuffer *out)
{
    const QStringView v = trimmedName(name);
    out->resize(v.size());
    qsizetype n = 0;
    for (qsizetype i = 0; i < v.size(); ++i) {
        const char16_t u = v[i].unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            (*out)[n++] = foldByte(u == '\r' || u == '\n' ? ' ' : static_cast<char>(u));
        } else {
            QByteArray b;
            const qsizetype len = (QChar::isHighSurrogate(u) && i + 1 < v.size()
                                   && v[i + 1].isLowSurrogate()) ? 2 : 1;
            appendWin1252(b, v.sliced(i, len), true);
            (*out)[n++] = foldByte(b.front());
            i += len - 1;
        }
    }
    out->resize(n);
}

QByteArray nameBytes(const QString &name)
{
    QByteArray bytes;
    appendWin1252(bytes, trimmedName(name), true);
    return bytes;
}

// The name between the brackets of a header line; false when the line is no header.
bool headerName(QByteArrayView line, QByteArrayView *name, bool firstLine)
{
    // A file saved by an editor that marks UTF-8 starts with the mark: the first section must
    // still be found, or a save would take the notes for missing and drop them. Only the file's
    // first line can carry it; elsewhere the same bytes belong to the line (a key's name).
    if (firstLine && line.startsWith("\xEF\xBB\xBF"))
        line = line.sliced(3);
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

QByteArrayView keyOf(const QByteArray &text, qsizetype eq)
{
    return QByteArrayView(text).first(eq).trimmed();
}

// The system's text for an error number, as the user's language module has it where it has
// one ("No space left on device", "Read-only file system").
QString systemError(int error)
{
    return qt_error_string(error);
}

// The file a save replaces: a store reached through a symbolic link (into a synced folder, say)
// is replaced where it lies, and the link stays.
QString finalTarget(const QString &path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < 128 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? path : info.filePath();
}

bool writeAllTo(int fd, const QByteArray &bytes)
{
    const char *p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

// Writes `bytes` to a temporary file beside the store (owner-only from its first byte: the store
// holds the mail password), flushes it, renames it over the store and flushes the folder's
// entries, so that the store on disk is at every moment either the old one or the new one, and
// survives a power loss under its name. Each step that fails gives the system's reason.
bool replaceWhole(const QString &path, const QByteArray &bytes, QString *reason)
{
    const QString target = finalTarget(path);
    const QByteArray name = QFile::encodeName(target);
    const auto fail = [reason](int error) {
        *reason = systemError(error);
        return false;
    };
    struct stat st {};
    if (::stat(name.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return fail(EISDIR);
        // A store the user made read-only is not replaced behind the user's back.
        if (::access(name.constData(), W_OK) != 0)
            return fail(errno);
    }
    QByteArray temporary = name + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(errno);
    const auto abandon = [&](int error) {
        ::close(fd);
        ::unlink(temporary.constData());
        return fail(error);
    };
    if (!writeAllTo(fd, bytes))
        return abandon(errno);
    int rc;
    do {
        rc = ::fsync(fd);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0 && errno != EINVAL && errno != ENOTSUP)
        return abandon(errno);
    if (::close(fd) != 0 && errno != EINTR) {
        const int error = errno;
        ::unlink(temporary.constData());
        return fail(error);
    }
    if (::rename(temporary.constData(), name.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return fail(error);
    }
    if (!DataFolder::syncEntries(QFileInfo(target).absolutePath()))
        return fail(errno);
    return true;
}

bool isBlank(const QByteArray &line)
{
    for (char c : line)
        if (c != ' ' && c != '\t')
            return false;
    return true;
}

} // namespace

namespace IniValue {

QByteArrayView cleanValue(QByteArrayView raw)
{
    QByteArrayView v = raw.trimmed();
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.sliced(1, v.size() - 2);
    return v;
}

bool needsQuotes(QByteArrayView value)
{
    // Wider than what either reader trims: quotes around a value cost nothing to a reader,
    // a lost blank is lost for good.
    const auto atEdge = [](char c) {
        return static_cast<unsigned char>(c) <= ' ' || c == '"' || c == '\'';
    };
    return !value.isEmpty() && (atEdge(value.front()) || atEdge(value.back()));
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
    : m_source(bytes)
{
    parse();
}

void IniFile::parse()
{
    m_lastSection = -1;
    m_sections.clear();
    m_sectionIndex.clear();
    m_sections.emplace_back();
    // A note section holds some 30 lines of about 80 bytes, most of its size being the text.
    m_sections.reserve(size_t(m_source.size() / 2048) + 16);
    m_sectionIndex.reserve(m_source.size() / 2048 + 16);

    // CR LF, LF alone and CR alone each end a line (files edited elsewhere use any of them).
    // The next CR and the next LF are each looked for once and kept until passed, so a file
    // that holds only one of them is still read in one pass.
    const char *p = m_source.constData();
    const char *const end = p + m_source.size();
    auto next = [end](const char *from, char c) {
        const void *found = std::memchr(from, c, size_t(end - from));
        return found ? static_cast<const char *>(found) : end;
    };
    const char *nextLf = next(p, '\n');
    const char *nextCr = next(p, '\r');
    while (p < end) {
        if (nextLf < p)
            nextLf = next(p, '\n');
        if (nextCr < p)
            nextCr = next(p, '\r');
        const char *lineEnd = std::min(nextLf, nextCr);
        const QByteArrayView line(p, lineEnd - p);
        const bool firstLine = p == m_source.constData();
        p = lineEnd;
        if (p < end && *p++ == '\r' && p < end && *p == '\n')
            ++p;

        QByteArrayView name;
        if (headerName(line, &name, firstLine)) {
            Section s;
            s.header = QByteArray::fromRawData(line.data(), line.size());
            s.folded = fold(name);
            addSection(std::move(s));
            continue;
        }
        Section &s = m_sections.back();
        Line l;
        l.text = QByteArray::fromRawData(line.data(), line.size());
        // Text before the first section belongs to no section and holds no keys.
        if (m_sections.size() > 1)
            l.eq = keySeparator(line);
        s.lines.push_back(std::move(l));
        if (s.lines.back().eq >= 0) {
            const QByteArrayView key = keyOf(s.lines.back().text, s.lines.back().eq);
            const quint32 h = hashOfRawName(key);
            if (findKey(s, key, h, false) < 0)
                addKey(s, h, int(s.lines.size()) - 1);
        }
    }
}

int IniFile::addSection(Section &&s)
{
    const int index = int(m_sections.size());
    SectionEntry &entry = m_sectionIndex[s.folded];
    if (entry.count++ == 0)
        entry.first = index;
    m_sections.push_back(std::move(s));
    return index;
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
    QByteArray out(size, Qt::Uninitialized);
    char *dst = out.data();
    auto put = [&dst](const QByteArray &text) {
        std::memcpy(dst, text.constData(), size_t(text.size()));
        dst += text.size();
        *dst++ = '\r';
        *dst++ = '\n';
    };
    for (const Section &s : m_sections) {
        if (s.erased)
            continue;
        if (&s != &m_sections.front())
            put(s.header);
        for (const Line &l : s.lines)
            put(l.text);
    }
    return out;
}

IniFile IniFile::fromFile(const QString &path, bool *readable, QString *reason)
{
    if (readable)
        *readable = true;
    QFile file(path);
    if (!file.exists())
        return IniFile();
    const auto unreadable = [&] {
        if (readable)
            *readable = false;
        if (reason)
            *reason = file.errorString();
        return IniFile();
    };
    if (!file.open(QIODevice::ReadOnly))
        return unreadable();
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return unreadable();
    return IniFile(bytes);
}

QString IniFile::writeErrorText(const QString &path, const QString &reason)
{
    const QString first = QCoreApplication::translate("IniFile", "Unable to write to %1")
                              .arg(QFileInfo(path).absoluteFilePath());
    return reason.isEmpty() ? first : first + QLatin1Char('\n') + reason;
}

bool IniFile::saveToFile(const QString &path, QString *error) const
{
    return saveBytes(path, toBytes(), error);
}

bool IniFile::saveBytes(const QString &path, const QByteArray &bytes, QString *error)
{
    QString reason;
    const bool ok = replaceWhole(path, bytes, &reason);
    if (!ok && error)
        *error = writeErrorText(path, reason);
    return ok;
}

int IniFile::findSection(QByteArrayView folded) const
{
    const auto it = m_sectionIndex.constFind(QByteArray::fromRawData(folded.data(), folded.size()));
    return it == m_sectionIndex.cend() ? -1 : it->first;
}

int IniFile::sectionIndexOf(const QString &section) const
{
    if (m_lastSection >= 0 && section == m_lastName)
        return m_lastSection;
    NameBuffer name;
    foldedName(section, &name);
    const int si = findSection(QByteArrayView(name.constData(), name.size()));
    if (si >= 0) {
        m_lastName = section;
        m_lastSection = si;
    }
    return si;
}

int IniFile::findKey(const Section &s, QByteArrayView name, quint32 hash, bool folded)
{
    if (s.keys.empty())
        return -1;
    const size_t mask = s.keys.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const KeySlot &slot = s.keys[i];
        if (slot.line < 0)
            return -1;
        if (slot.hash == hash) {
            const Line &l = s.lines[size_t(slot.line)];
            const QByteArrayView key = keyOf(l.text, l.eq);
            if (folded ? sameFolded(key, name) : sameName(key, name))
                return slot.line;
        }
    }
}

void IniFile::addKey(Section &s, quint32 hash, int line)
{
    if (size_t(s.keyCount + 1) * 2 > s.keys.size()) {
        std::vector<KeySlot> old = std::move(s.keys);
        s.keys.assign(std::max<size_t>(64, old.size() * 2), KeySlot());
        s.keyCount = 0;
        for (const KeySlot &k : old)
            if (k.line >= 0)
                addKey(s, k.hash, k.line);
    }
    const size_t mask = s.keys.size() - 1;
    size_t i = hash & mask;
    while (s.keys[i].line >= 0)
        i = (i + 1) & mask;
    s.keys[i] = KeySlot{hash, line};
    ++s.keyCount;
}

void IniFile::rebuildKeys(Section &s)
{
    s.keys.clear();
    s.keyCount = 0;
    for (size_t i = 0; i < s.lines.size(); ++i) {
        const Line &l = s.lines[i];
        if (l.eq < 0)
            continue;
        const QByteArrayView key = keyOf(l.text, l.eq);
        const quint32 h = hashOfRawName(key);
        if (findKey(s, key, h, false) < 0)
            addKey(s, h, int(i));
    }
}

const IniFile::Line *IniFile::findLine(const QString &section, const QString &key) const
{
    const int si = sectionIndexOf(section);
    if (si < 0)
        return nullptr;
    const Section &s = m_sections[size_t(si)];
    NameBuffer name;
    foldedName(key, &name);
    const QByteArrayView folded(name.constData(), name.size());
    const int li = findKey(s, folded, foldedHash(folded), true);
    return li < 0 ? nullptr : &s.lines[size_t(li)];
}

bool IniFile::sectionExists(const QString &section) const
{
    return sectionIndexOf(section) >= 0;
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
        const bool firstLine = !m_source.isEmpty() && s.header.constData() == m_source.constData();
        if (!s.erased && headerName(s.header, &name, firstLine))
            names.append(TextCodec::fromWin1252(name.data(), name.size()));
    }
    return names;
}

QStringList IniFile::keys(const QString &section) const
{
    QStringList names;
    const int si = sectionIndexOf(section);
    if (si < 0)
        return names;
    for (const Line &l : m_sections[size_t(si)].lines)
        if (l.eq >= 0) {
            const QByteArrayView key = keyOf(l.text, l.eq);
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
    return fromWin1252(IniValue::cleanValue(QByteArrayView(l->text).sliced(l->eq + 1)));
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

IniFile::TextArena &IniFile::TextArena::operator=(const TextArena &other)
{
    m_blocks = other.m_blocks;
    m_next = nullptr;
    m_left = 0;
    return *this;
}

IniFile::TextArena::TextArena(TextArena &&other) noexcept
    : m_blocks(std::move(other.m_blocks)), m_next(other.m_next), m_left(other.m_left)
{
    other.m_blocks.clear();
    other.m_next = nullptr;
    other.m_left = 0;
}

IniFile::TextArena &IniFile::TextArena::operator=(TextArena &&other) noexcept
{
    m_blocks = std::move(other.m_blocks);
    m_next = other.m_next;
    m_left = other.m_left;
    other.m_blocks.clear();
    other.m_next = nullptr;
    other.m_left = 0;
    return *this;
}

char *IniFile::TextArena::allocate(qsizetype size)
{
    if (size > m_left) {
        constexpr qsizetype kBlock = 256 * 1024;
        QByteArray block(std::max(size, kBlock), Qt::Uninitialized);
        m_next = block.data();
        m_left = block.size();
        m_blocks.push_back(std::move(block));
    }
    char *p = m_next;
    m_next += size;
    m_left -= size;
    return p;
}

void IniFile::TextArena::giveBack(qsizetype size)
{
    m_next -= size;
    m_left += size;
}

template <typename Fill>
void IniFile::writeLine(const QString &section, const QString &key, qsizetype maxValue, Fill fill)
{
    NameBuffer name;
    int si = sectionIndexOf(section);
    if (si < 0) {
        foldedName(section, &name);
        Section s;
        s.header = '[' + nameBytes(section) + ']';
        s.folded = QByteArray(name.constData(), name.size());
        si = addSection(std::move(s));
    }
    Section &s = m_sections[size_t(si)];

    foldedName(key, &name);
    const QByteArrayView folded(name.constData(), name.size());
    const quint32 hash = foldedHash(folded);
    const int li = findKey(s, folded, hash, true);

    // The file's spelling of an existing key stays.
    QByteArrayView keyText;
    if (li >= 0) {
        keyText = keyOf(s.lines[size_t(li)].text, s.lines[size_t(li)].eq);
    } else {
        const QStringView trimmed = trimmedName(key);
        name.resize(trimmed.size());
        keyText = QByteArrayView(name.constData(), toWin1252(name.data(), trimmed, true));
    }
    const qsizetype reserved = keyText.size() + 1 + maxValue;
    char *const start = m_arena.allocate(reserved);
    std::memcpy(start, keyText.data(), size_t(keyText.size()));
    start[keyText.size()] = '=';
    const qsizetype valueSize = fill(start + keyText.size() + 1);
    m_arena.giveBack(maxValue - valueSize);

    Line line;
    line.eq = keyText.size();
    line.text = QByteArray::fromRawData(start, keyText.size() + 1 + valueSize);
    if (li >= 0) {
        s.lines[size_t(li)] = std::move(line);
        return;
    }
    // After the last non-blank line: only blank lines follow, so no key's line moves.
    size_t pos = s.lines.size();
    while (pos > 0 && isBlank(s.lines[pos - 1].text))
        --pos;
    s.lines.insert(s.lines.begin() + qsizetype(pos), std::move(line));
    addKey(s, hash, int(pos));
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    writeLine(section, key, value.size() + 2, [&value](char *dst) {
        const qsizetype size = toWin1252(dst, value, true);
        if (!IniValue::needsQuotes(QByteArrayView(dst, size)))
            return size;
        std::memmove(dst + 1, dst, size_t(size));
        dst[0] = '"';
        dst[size + 1] = '"';
        return size + 2;
    });
}

void IniFile::writeInteger(const QString &section, const QString &key, qint32 value)
{
    writeLine(section, key, 11, [value](char *dst) {
        return std::to_chars(dst, dst + 11, value).ptr - dst;
    });
}

void IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeLine(section, key, 1, [value](char *dst) {
        *dst = value ? '1' : '0';
        return qsizetype(1);
    });
}

void IniFile::eraseSection(const QString &section)
{
    NameBuffer name;
    foldedName(section, &name);
    const QByteArray folded = QByteArray::fromRawData(name.constData(), name.size());
    const auto it = m_sectionIndex.find(folded);
    if (it == m_sectionIndex.end())
        return;
    Section &s = m_sections[size_t(it->first)];
    m_lastSection = -1;
    s.erased = true;
    s.lines = {};
    s.keys = {};
    s.keyCount = 0;
    if (--it->count == 0) {
        m_sectionIndex.erase(it);
        return;
    }
    // A repeated section further down now counts.
    for (size_t i = size_t(it->first) + 1; i < m_sections.size(); ++i)
        if (!m_sections[i].erased && m_sections[i].folded == s.folded) {
            it->first = int(i);
            break;
        }
}

void IniFile::deleteKey(const QString &section, const QString &key)
{
    const int si = sectionIndexOf(section);
    if (si < 0)
        return;
    Section &s = m_sections[size_t(si)];
    NameBuffer name;
    foldedName(key, &name);
    const QByteArrayView folded(name.constData(), name.size());
    const int li = findKey(s, folded, foldedHash(folded), true);
    if (li < 0)
        return;
    s.lines.erase(s.lines.begin() + li);
    // Line positions moved, and a repeated key further down now counts.
    rebuildKeys(s);
}
