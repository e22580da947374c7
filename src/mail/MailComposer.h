#pragma once
// What goes out between the server's 354 and the final ".": the header block, the date line,
// the per-line rules (cut, dot-stuffing, header folding) and the body source with its
// multipart/mixed layout and base64 attachment lines. All lines are wire bytes (Windows-1252).
#include "mail/SmtpTypes.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QList>
#include <QStringList>
#include <functional>
#include <memory>

namespace MailComposer {

// The line buffer holds 1023 characters and a terminating zero.
constexpr int kLineBufferSize = 1024;
constexpr int kMaxLineLength = kLineBufferSize - 1;
// RFC 5321 and 5322: a line holds at most 998 characters before its CR LF.
constexpr int kMaxTextLineLength = 998;
// A folded header keeps each physical line within that limit.
constexpr int kMaxFoldedLength = kMaxTextLineLength;
// Attachment bytes per base64 line: 15 groups of 3, 60 characters.
constexpr int kAttachmentBytesPerLine = 45;

QByteArray contentTypeString(TSmtpContentType type);

// Minutes, UTC minus local time, of the zone the given moment is expressed in.
int timeZoneBias(const QDateTime &when);
// "Tue, 8 Dec 2026 14:05:09 -0300": English names whatever the locale; "-" only when the local
// time is behind UTC. A zone at UTC is "+0000": "-0000" tells the reader the zone is unknown.
QByteArray rfc822Date(const QDateTime &when, int biasMinutes);

// Text is sent as the bytes it holds, so the body is declared 8bit.
inline constexpr char kTransferEncoding[] = "8bit";
// What every text of a mail is made of (TextCodec); the header words say so themselves.
inline constexpr char kTextCharset[] = "windows-1252";
// RFC 2047: an encoded word is at most 75 characters, a line holding one at most 76.
constexpr int kMaxEncodedWordLength = 75;
constexpr int kMaxEncodedLineLength = 76;

// A header line for unstructured text: "Name: value" as it is when the value is printable
// ASCII; otherwise the value goes out as Q-encoded words naming kTextCharset, folded so that
// every line keeps to RFC 2047's limits. Decoding gives back every byte.
QByteArray unstructuredHeader(const QByteArray &name, const QByteArray &value);

struct HeaderFields
{
    QByteArray from, to, subject, replyTo, returnPath, sender;
    QByteArray contentType; // "text/plain" or "text/html"
    QByteArray charSet;
};

// The header lines in their fixed order, up to and including Date (the owner's hook and the
// empty separator line come after). The subject is the one value encoded (unstructuredHeader);
// the address headers go out as given.
QList<QByteArray> headerLines(const HeaderFields &fields, const QByteArray &date);

// A header line longer than the line buffer is folded before a blank (CR LF stays in the one
// line) so that no physical line exceeds kMaxFoldedLength; shorter lines are returned as they are.
QByteArray foldHeaderLine(const QByteArray &line);
// A body line is sent as its first 1023 characters.
QByteArray cutLine(const QByteArray &line);
// A line beginning with "." gets one more in front, so the server never takes it for the end.
QByteArray dotStuff(const QByteArray &line);

// A line as it goes out between DATA and ".": a line may hold line breaks of its own (a folded
// header, a message line made of breaks); each bare CR or LF becomes CR LF and every physical
// line is dot-stuffed, so no embedded "." line can end the message early.
QByteArray wireLine(const QByteArray &line);

// "= Multipart Boundary " + MMddyyhhmm.
QByteArray multipartBoundary(const QDateTime &when);
// The first 13 characters are "CONTENT-TYPE:" without regard to case.
bool isContentTypeHeader(const QByteArray &line);
// The replacement for the message's Content-Type header when files are attached: one line
// holding its own fold.
QByteArray multipartContentTypeHeader(const QByteArray &boundary);

// base64 of up to 45 bytes, the attachment line format.
QByteArray attachmentLine(const QByteArray &bytes);

} // namespace MailComposer

// The source of the message body of a mail with optional attachments, asked for one line at a
// time. Files are read 45 bytes per line and never held whole; at most one is open.
class MailBodySource
{
public:
    // The owner's data hook, asked after the queued message lines: fill line, clear more when done.
    using GetDataHook = std::function<void(int lineNum, QByteArray &line, int maxLen, bool &more)>;
    using AttachContentTypeHook = std::function<void(int fileNumber, QString &fileName, QString &contentType)>;
    using AttachHeaderHook = std::function<void(int fileNumber, const QString &fileName, QList<QByteArray> &queue)>;

    MailBodySource();
    ~MailBodySource();

    GetDataHook getData;
    AttachContentTypeHook attachContentType;
    AttachHeaderHook attachHeader;

    // Starts a new message; the files are assumed to have been checked when they were listed.
    void prepare(const QStringList &files, const QList<QByteArray> &messageLines,
                 const QByteArray &contentTypeString, const QByteArray &charSet, const QDateTime &now);
    // Empty when nothing is attached.
    QByteArray boundary() const { return m_boundary; }

    // The next body line; false when the message is complete. Raises ESmtpError when an
    // attachment cannot be opened or read.
    bool next(QByteArray &line);

private:
    void closeAttachment();
    bool readAttachmentLine(QByteArray &line);

    QStringList m_files;
    QList<QByteArray> m_queue;
    QByteArray m_boundary;
    bool m_getDataPhase = false;
    bool m_attachmentOpen = false;
    int m_fileIndex = 0;
    int m_getDataLine = 0;
    std::unique_ptr<QFile> m_file;
};
