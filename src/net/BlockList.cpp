#include "net/BlockList.h"

namespace BlockList {

bool blocks(int blocktype, const QStringList &entries, const QString &peerAddr)
{
    if (blocktype == kBlockAll)
        return true;
    if (blocktype == kBlockSelected)
        return entries.contains(peerAddr, Qt::CaseSensitive);
    return false;
}

QString matchableEntry(const QString &typed)
{
    const QString entry = typed.trimmed();
    const QStringList parts = entry.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return {};
    int octets[4] = {};
    for (int i = 0; i < 4; ++i) {
        const QString &part = parts.at(i);
        if (part.isEmpty() || part.size() > 3 || (part.size() > 1 && part.at(0) == QLatin1Char('0')))
            return {};
        for (QChar c : part)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return {};
        octets[i] = part.toInt();
        if (octets[i] > 255)
            return {};
    }
    if (octets[0] == 0 || octets[0] >= 224)
        return {};
    return entry;
}

} // namespace BlockList
