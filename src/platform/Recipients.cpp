#include "platform/Recipients.h"

namespace Recipients {

QStringList split(const QString &para)
{
    return para.split(QLatin1Char(','), Qt::SkipEmptyParts);
}

QString mergeChosen(const QString &para, const QStringList &chosen)
{
    if (chosen.isEmpty())
        return para;
    QString merged = para;
    if (!merged.isEmpty())
        merged += QLatin1Char(',');
    for (const QString &address : chosen) {
        if (!merged.contains(address))
            merged += address + QLatin1Char(',');
    }
    if (merged.endsWith(QLatin1Char(',')))
        merged.chop(1);
    return merged;
}

} // namespace Recipients
