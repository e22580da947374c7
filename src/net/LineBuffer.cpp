#include "net/LineBuffer.h"

#include <algorithm>

namespace {
constexpr char kBackspace = 0x08;
constexpr char kTab = 0x09;
constexpr qsizetype kTabStop = 8;
// Taken bytes are dropped from the front once they are at least half the buffer, by copying
// the rest into a fresh, small buffer: taking many short lines out of a long read stays
// linear, and a busy connection never keeps (or keeps reallocating) a large buffer.
constexpr qsizetype kCompactThreshold = 4 * 1024;
} // namespace

void LineBuffer::setLineEnd(const QByteArray &lineEnd)
{
    m_lineEnd = lineEnd;
    m_searchFrom = m_head;
    m_lineStartKnown = false;
}

qsizetype LineBuffer::currentLineStart()
{
    if (!m_lineStartKnown) {
        // Unknown after unedited input or a new terminator: the unfinished line starts after
        // the last complete one still held.
        m_lineStart = m_head;
        if (!m_lineEnd.isEmpty()) {
            qsizetype from = m_head;
            for (;;) {
                const qsizetype at = m_data.indexOf(m_lineEnd, from);
                if (at < 0)
                    break;
                from = at + m_lineEnd.size();
                m_lineStart = from;
            }
        }
        m_lineStartKnown = true;
    }
    return std::max(m_lineStart, m_head);
}

void LineBuffer::append(const char *data, qsizetype len)
{
    if (len <= 0)
        return;
    const qsizetype endLen = m_lineEnd.size();
    if (!m_lineEdit) {
        m_data.append(data, len);
        m_lineStartKnown = false;
        return;
    }

    qsizetype lineStart = currentLineStart();
    qsizetype lowest = m_data.size();
    for (qsizetype i = 0; i < len; ++i) {
        const char c = data[i];
        if (c == kBackspace) {
            if (m_data.size() > lineStart) {
                m_data.chop(1);
                lowest = std::min(lowest, m_data.size());
            }
        } else if (c == kTab) {
            do {
                m_data.append(' ');
            } while ((m_data.size() - lineStart) % kTabStop != 0);
        } else {
            m_data.append(c);
            if (endLen > 0 && m_data.size() - endLen >= lineStart
                && m_data.endsWith(m_lineEnd))
                lineStart = m_data.size();
        }
    }
    m_lineStart = lineStart;
    // A backspace may have changed bytes a finished search had already looked at.
    const qsizetype rescanFrom = std::max(m_head, lowest - endLen + 1);
    m_searchFrom = std::min(m_searchFrom, rescanFrom);
}

bool LineBuffer::takeLine(QByteArray &line)
{
    const qsizetype endLen = m_lineEnd.size();
    if (endLen == 0 || size() < endLen)
        return false;
    const qsizetype at = m_data.indexOf(m_lineEnd, std::max(m_searchFrom, m_head));
    if (at < 0) {
        m_searchFrom = std::max(m_head, m_data.size() - endLen + 1);
        return false;
    }
    const qsizetype end = at + endLen;
    line = m_data.mid(m_head, end - m_head);
    m_head = end;
    m_searchFrom = end;
    compact();
    return true;
}

QByteArray LineBuffer::takeAll()
{
    QByteArray all = m_data.mid(m_head);
    clear();
    return all;
}

void LineBuffer::clear()
{
    m_data.clear();
    m_head = 0;
    m_searchFrom = 0;
    m_lineStart = 0;
    m_lineStartKnown = true;
}

void LineBuffer::compact()
{
    if (m_head == m_data.size()) {
        m_data.clear();
        m_head = m_searchFrom = m_lineStart = 0;
        m_lineStartKnown = true;
        return;
    }
    if (m_head < kCompactThreshold || m_head < m_data.size() / 2)
        return;
    m_data = QByteArray(m_data.constData() + m_head, m_data.size() - m_head);
    m_searchFrom -= m_head;
    m_lineStart = std::max<qsizetype>(0, m_lineStart - m_head);
    m_head = 0;
}
