#include "mail/MailComposer.h"

#include "platform/TextCodec.h"

#include <QFileInfo>

#include <algorithm>

namespace MailComposer {

QByteArray contentTypeString(TSmtpContentType type)
{
    return type == smtpHTML ? QByteArrayLiteral("text/html") : QByteArrayLiteral("text/plain");
}

int timeZoneBias(const QDateTime &when)
{
    return -when.offsetFromUtc() / 60;
}

QByteArray rfc822Date(const QDateTime &when, int biasMinutes)
{
    static const char *const days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDate d = when.date();
    const QTime t = when.time();
    const int absBias = biasMinutes < 0 ? -biasMinutes : biasMinutes;
    return QByteArray(days[d.dayOfWeek() - 1]) + ", " + QByteArray::number(d.day()) + ' '
        + months[d.month() - 1] + ' ' + QByteArray::number(d.year()) + ' '
        + QByteArray::number(t.hour()).rightJustified(2, '0') + ':'
        + QByteArray::number(t.minute()).rightJustified(2, '0') + ':'
        + QByteArray::number(t.second()).rightJustified(2, '0') + ' ' + (biasMinutes > 0 ? '-' : '+')
        + QByteArray::number(absBias / 60).rightJustified(2, '0')
        + QByteArray::number(absBias % 60).rightJustified(2, '0');
}

static bool needsEncoding(const QByteArray &value)
{
    for (const char c : value) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && u != '\t') || u > 0x7e)
            return true;
    }
    // Text that looks like an encoded word would be decoded by the reader.
    return value.contains("=?");
}

// RFC 2047's Q form with the characters allowed in any header position left as they are.
static QByteArray qEncoded(unsigned char u)
{
    if (u == ' ')
        return QByteArrayLiteral("_");
    if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '!' || u == '*'
        || u == '+' || u == '-' || u == '/')
        return QByteArray(1, char(u));
    static const char hex[] = "0123456789ABCDEF";
    const char encoded[] = {'=', hex[u >> 4], hex[u & 15]};
    return QByteArray(encoded, 3);
}

QByteArray unstructuredHeader(const QByteArray &name, const QByteArray &value)
{
    const QByteArray head = name + ": ";
    if (!needsEncoding(value))
        return head + value;
    const QByteArray open = QByteArray("=?") + kTextCharset + "?Q?";
    const QByteArray close = "?=";
    const qsizetype overhead = open.size() + close.size();
    QByteArray out = head;
    // Room for the encoded word on the line it starts: after "Name: " on the first line,
    // after the folding blank on the others.
    qsizetype room = std::min<qsizetype>(kMaxEncodedWordLength, kMaxEncodedLineLength - head.size());
    if (room < overhead + 3) {
        out = name + ":\r\n ";
        room = kMaxEncodedWordLength;
    }
    QByteArray word;
    for (const char c : value) {
        const QByteArray piece = qEncoded(static_cast<unsigned char>(c));
        if (overhead + word.size() + piece.size() > room) {
            out += open + word + close + "\r\n ";
            word.clear();
            room = std::min<qsizetype>(kMaxEncodedWordLength, kMaxEncodedLineLength - 1);
        }
        word += piece;
    }
    return out + open + word + close;
}

QList<QByteArray> headerLines(const HeaderFields &f, const QByteArray &date)
{
    QList<QByteArray> lines;
    // Only the test for emptiness trims; the values themselves go out as given.
    if (!f.replyTo.trimmed().isEmpty())
        lines << "Reply-To: " + f.replyTo;
    if (!f.returnPath.trimmed().isEmpty())
        lines << "Return-Path: " + f.returnPath;
    lines << "From: " + f.from;
    lines << "To: " + f.to;
    lines << unstructuredHeader("Subject", f.subject);
    if (!f.sender.trimmed().isEmpty())
        lines << "Sender: " + f.sender;
    else if (!f.from.trimmed().isEmpty())
        lines << "Sender: " + f.from;
    lines << "Mime-Version: 1.0";
    lines << "Content-Type: " + f.contentType + "; charset=\"" + f.charSet + '"';
    lines << QByteArray("Content-Transfer-Encoding: ") + kTransferEncoding;
    lines << "Date: " + date;
    return lines;
}

static QByteArray foldPhysicalLine(QByteArray rest)
{
    QByteArray out;
    while (rest.size() > kMaxFoldedLength) {
        int at = -1;
        for (int i = kMaxFoldedLength; i > 0; --i) {
            if (rest[i] == ' ' || rest[i] == '\t') {
                at = i;
                break;
            }
        }
        if (at > 0) {
            // The blank begins the continuation line, so unfolding restores the value exactly.
            out += rest.left(at) + "\r\n";
            rest = rest.mid(at);
        } else {
            // A run without any blank cannot be folded losslessly; a break with an added
            // blank still beats overrunning the line or dropping the rest.
            out += rest.left(kMaxFoldedLength) + "\r\n";
            rest = ' ' + rest.mid(kMaxFoldedLength);
        }
    }
    return out + rest;
}

QByteArray foldHeaderLine(const QByteArray &line)
{
    if (line.size() <= kMaxLineLength)
        return line;
    const QList<QByteArray> parts = line.split('\n');
    QByteArray out;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        QByteArray part = parts[i];
        const bool hadCr = i + 1 < parts.size() && part.endsWith('\r');
        if (hadCr)
            part.chop(1);
        out += foldPhysicalLine(part);
        if (i + 1 < parts.size())
            out += hadCr ? "\r\n" : "\n";
    }
    return out;
}

QByteArray cutLine(const QByteArray &line)
{
    return line.size() > kMaxLineLength ? line.left(kMaxLineLength) : line;
}

QByteArray dotStuff(const QByteArray &line)
{
    return line.startsWith('.') ? '.' + line : line;
}

QByteArray wireLine(const QByteArray &line)
{
    if (!line.contains('\r') && !line.contains('\n'))
        return dotStuff(line);
    QByteArray out;
    out.reserve(line.size() + 8);
    bool lineStart = true;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            if (c == '\r' && i + 1 < line.size() && line[i + 1] == '\n')
                ++i;
            lineStart = true;
            continue;
        }
        if (lineStart && c == '.')
            out += '.';
        lineStart = false;
        out += c;
    }
    return out;
}

QByteArray multipartBoundary(const QDateTime &when)
{
    return "= Multipart Boundary " + when.toString(QStringLiteral("MMddyyhhmm")).toLatin1();
}

bool isContentTypeHeader(const QByteArray &line)
{
    return line.size() >= 13 && line.left(13).toUpper() == "CONTENT-TYPE:";
}

QByteArray multipartContentTypeHeader(const QByteArray &boundary)
{
    return "Content-Type: multipart/mixed;\r\n\tboundary=\"" + boundary + '"';
}

QByteArray attachmentLine(const QByteArray &bytes)
{
    return bytes.toBase64();
}

} // namespace MailComposer

MailBodySource::MailBodySource() = default;

MailBodySource::~MailBodySource() = default;

void MailBodySource::prepare(const QStringList &files, const QList<QByteArray> &messageLines,
                             const QByteArray &contentTypeString, const QByteArray &charSet, const QDateTime &now)
{
    closeAttachment();
    m_files = files;
    m_queue.clear();
    m_getDataPhase = true;
    m_fileIndex = 0;
    m_getDataLine = 0;
    m_boundary.clear();
    if (!m_files.isEmpty()) {
        m_boundary = MailComposer::multipartBoundary(now);
        m_queue << "This is a multipart MIME message." << QByteArray() << "--" + m_boundary
                << "Content-Type: " + contentTypeString + "; charset=\"" + charSet + '"'
                << QByteArray("Content-Transfer-Encoding: ") + MailComposer::kTransferEncoding << QByteArray();
    }
    m_queue += messageLines;
}

void MailBodySource::closeAttachment()
{
    if (m_file)
        m_file->close();
    m_file.reset();
    m_attachmentOpen = false;
}

bool MailBodySource::readAttachmentLine(QByteArray &line)
{
    const QByteArray bytes = m_file->read(MailComposer::kAttachmentBytesPerLine);
    if (bytes.size() < MailComposer::kAttachmentBytesPerLine && m_file->error() != QFileDevice::NoError) {
        const QString name = m_file->fileName();
        closeAttachment();
        throw ESmtpError(QStringLiteral("Unable to read file '%1'").arg(name));
    }
    line = MailComposer::attachmentLine(bytes);
    return m_file->atEnd() || bytes.size() < MailComposer::kAttachmentBytesPerLine;
}

bool MailBodySource::next(QByteArray &line)
{
    if (!m_queue.isEmpty()) {
        line = MailComposer::cutLine(m_queue.takeFirst());
        return true;
    }
    if (m_getDataPhase) {
        bool more = false;
        if (getData) {
            ++m_getDataLine;
            line.clear();
            more = true;
            getData(m_getDataLine, line, MailComposer::kMaxLineLength, more);
        }
        if (more) {
            line = MailComposer::cutLine(line);
            return true;
        }
        m_getDataPhase = false;
    }
    if (m_attachmentOpen) {
        if (readAttachmentLine(line)) {
            closeAttachment();
            ++m_fileIndex;
            if (m_fileIndex >= m_files.size())
                m_queue << QByteArray() << "--" + m_boundary + "--";
        }
        return true;
    }
    if (m_fileIndex < m_files.size()) {
        const QString path = m_files.at(m_fileIndex);
        m_file = std::make_unique<QFile>(path);
        if (!m_file->open(QIODevice::ReadOnly)) {
            m_file.reset();
            throw ESmtpError(QStringLiteral("Unable to open file '%1'").arg(path));
        }
        m_attachmentOpen = true;
        const QString ownName = QFileInfo(path).fileName();
        QString name = ownName;
        QString contentType = QStringLiteral("application/octet-stream");
        if (attachContentType)
            attachContentType(m_fileIndex, name, contentType);
        m_queue << "--" + m_boundary << "Content-Type: " + TextCodec::toWin1252(contentType) + ';'
                << "\tname=\"" + TextCodec::toWin1252(name) + '"' << "Content-Transfer-Encoding: base64"
                << "Content-Disposition: attachment;" << "\tfilename=\"" + TextCodec::toWin1252(ownName) + '"';
        if (attachHeader)
            attachHeader(m_fileIndex, name, m_queue);
        m_queue << QByteArray();
        line.clear();
        return true;
    }
    return false;
}
