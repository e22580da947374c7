#include "sync/SyncId.h"

#include <QUuid>

namespace SyncId {

bool isValid(QStringView id)
{
    if (id.size() != 36)
        return false;
    for (qsizetype i = 0; i < id.size(); ++i) {
        const char16_t c = id[i].unicode();
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (c != u'-')
                return false;
        } else if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f'))) {
            return false;
        }
    }
    return true;
}

QString create()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString conflictCopy(const QString &original, const QByteArray &versionHash)
{
    // A fixed name space of this program's own: copies made anywhere agree.
    static const QUuid kNamespace(QStringLiteral("{5b0e7c3a-9d41-4c8e-a2f6-3c1d7e9b4a60}"));
    return QUuid::createUuidV5(kNamespace, original.toLatin1() + ':' + versionHash)
        .toString(QUuid::WithoutBraces);
}

} // namespace SyncId
