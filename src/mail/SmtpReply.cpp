#include "mail/SmtpReply.h"

#include <cstring>

SmtpReplyCode parseSmtpReplyCode(const QByteArray &line)
{
    SmtpReplyCode result;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r' || line[i] == '\n'))
        ++i;
    bool negative = false;
    if (i < n && (line[i] == '+' || line[i] == '-')) {
        negative = line[i] == '-';
        ++i;
    }
    qint64 value = 0;
    while (i < n && line[i] >= '0' && line[i] <= '9') {
        // A garbage run of digits must not overflow; no reply code comes near this.
        if (value < 100000000)
            value = value * 10 + (line[i] - '0');
        ++i;
    }
    result.code = static_cast<int>(negative ? -value : value);
    result.continued = i < n && line[i] == '-';
    return result;
}

void SmtpReceiveBuffer::commit(int n)
{
    if (n > 0)
        m_fill = qMin(kSize, m_fill + n);
}

int SmtpReceiveBuffer::append(const char *data, int n)
{
    const int take = qMin(n, freeCount());
    if (take > 0) {
        std::memcpy(m_data + m_fill, data, take);
        m_fill += take;
    }
    return take;
}

int SmtpReceiveBuffer::lineEnd() const
{
    for (int i = 0; i + 1 < m_fill; ++i) {
        if (m_data[i] == '\r' && m_data[i + 1] == '\n')
            return i;
    }
    return -1;
}

bool SmtpReceiveBuffer::takeLine(QByteArray &line)
{
    const int end = lineEnd();
    if (end < 0)
        return false;
    line = QByteArray(m_data, end);
    const int rest = m_fill - end - 2;
    std::memmove(m_data, m_data + end + 2, rest);
    m_fill = rest;
    return true;
}

bool SmtpReceiveBuffer::isFullWithoutLine() const
{
    return m_fill == kSize && lineEnd() < 0;
}
