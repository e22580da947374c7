#pragma once
// How fast one sender's address may have notes created on this desktop: a few at once, then
// one every so often, no faster than a person reads them. Each note a sender starts takes one
// turn; unused turns build up again, up to the burst, while the sender is quiet. A note asked
// for without a turn restarts the wait for the next one: an address that never stops asking
// gets nothing past its first burst, where a pace of one turn per interval would let it add a
// note window (and its memory) to this desktop every few seconds for as long as it floods.
#include <QHash>
#include <QString>

#include <functional>

class NoteRateLimit
{
public:
    // Notes one address may send at once, and the pause that earns it one more.
    static constexpr int kBurst = 10;
    static constexpr qint64 kIntervalMs = 6000;

    NoteRateLimit();

    // True, and the note counted, when `peer` may have one more note now.
    bool take(const QString &peer);

    // `burst` 0 lifts the limit.
    void setLimits(int burst, qint64 intervalMs);
    // Milliseconds of a clock that never goes back (replaceable for tests).
    void setClock(std::function<qint64()> nowMs) { m_now = std::move(nowMs); }
    // Addresses remembered now (those whose turns are not all back).
    int trackedPeers() const { return int(m_due.size()); }

private:
    void forgetRestedPeers(qint64 now);

    int m_burst = kBurst;
    qint64 m_intervalMs = kIntervalMs;
    std::function<qint64()> m_now;
    // By address: the moment at which all its turns are back.
    QHash<QString, qint64> m_due;
};
