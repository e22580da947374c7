#pragma once
// Reading SMTP replies: the code of a reply line and the fixed receive buffer that turns the
// byte stream into complete lines.
#include <QByteArray>

struct SmtpReplyCode
{
    int code = 0;
    // The character after the code is '-': a continuation line of a multi-line reply.
    bool continued = false;
};

// Skips blanks, tabs, CR and LF, then takes an optional sign and the digits after it
// (no digits give 0).
SmtpReplyCode parseSmtpReplyCode(const QByteArray &line);

// The receive buffer is 4096 bytes, filled in place; each complete line is taken out from the
// front and the rest shifted down. A line only counts once its CR LF has arrived.
class SmtpReceiveBuffer
{
public:
    static constexpr int kSize = 4096;

    char *freeSpace() { return m_data + m_fill; }
    int freeCount() const { return kSize - m_fill; }
    // Records that n bytes were written at freeSpace().
    void commit(int n);
    // Appends what fits; returns the number of bytes taken.
    int append(const char *data, int n);

    // Takes the first complete line out, without its CR LF.
    bool takeLine(QByteArray &line);
    // Full, and no CR LF anywhere in it: the line can never complete.
    bool isFullWithoutLine() const;

    int count() const { return m_fill; }
    void clear() { m_fill = 0; }

private:
    int lineEnd() const;

    char m_data[kSize];
    int m_fill = 0;
};
