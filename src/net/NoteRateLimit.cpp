#include "net/NoteRateLimit.h"

#include <QElapsedTimer>

#include <algorithm>

namespace {
// Past this many addresses, those that have all their turns back are dropped; an address
// that has them all back is the same as one never seen.
constexpr qsizetype kPruneAbove = 256;
} // namespace

NoteRateLimit::NoteRateLimit()
{
    m_now = [] {
        static QElapsedTimer clock = [] {
            QElapsedTimer t;
            t.start();
            return t;
        }();
        return clock.elapsed();
    };
}

void NoteRateLimit::setLimits(int burst, qint64 intervalMs)
{
    m_burst = std::max(0, burst);
    m_intervalMs = std::max<qint64>(1, intervalMs);
    m_due.clear();
}

bool NoteRateLimit::take(const QString &peer)
{
    if (m_burst == 0)
        return true;
    const qint64 now = m_now();
    auto it = m_due.find(peer);
    const qint64 due = it == m_due.end() ? now : std::max(*it, now);
    // Each note pushes the moment of full rest one interval further; a sender may run ahead
    // of the present by at most burst - 1 intervals.
    if (due - now > qint64(m_burst - 1) * m_intervalMs) {
        // The next turn comes one whole interval after this refusal. (Only an address already
        // seen can be refused: a new one has all its turns.)
        *it = now + qint64(m_burst) * m_intervalMs;
        return false;
    }
    if (it == m_due.end()) {
        if (m_due.size() >= kPruneAbove)
            forgetRestedPeers(now);
        m_due.insert(peer, due + m_intervalMs);
    } else {
        *it = due + m_intervalMs;
    }
    return true;
}

void NoteRateLimit::forgetRestedPeers(qint64 now)
{
    m_due.removeIf([now](const QHash<QString, qint64>::iterator it) { return it.value() <= now; });
}
