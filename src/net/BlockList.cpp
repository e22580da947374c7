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

} // namespace BlockList
