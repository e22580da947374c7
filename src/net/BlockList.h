#pragma once
// Which senders' lines the note server ignores. Blocking works line by line: a blocked sender
// is still accepted, greeted and logged, and is told nothing.
#include <QString>
#include <QStringList>

namespace BlockList {

inline constexpr int kBlockNone = 0;
inline constexpr int kBlockAll = 1;
inline constexpr int kBlockSelected = 2;

// True when a line from `peerAddr` (the sender's dotted address) is to be ignored. With
// kBlockSelected only an entry equal to the address byte for byte matches; names never do.
bool blocks(int blocktype, const QStringList &entries, const QString &peerAddr);

// The entry to add for what the user typed: the blanks around it dropped. Null when it could
// never match: anything but a dotted IPv4 address written as the server writes a sender's
// (four numbers 0 to 255, without leading zeros), or an address no sender can have
// (0.x.x.x, and the multicast, reserved and broadcast range from 224.0.0.0 up).
QString matchableEntry(const QString &typed);

} // namespace BlockList
