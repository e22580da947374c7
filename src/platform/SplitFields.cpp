#include "platform/SplitFields.h"

QList<QByteArray> SplitFields(const QByteArray &text, const QByteArray &delimiters, bool keepEmpty)
{
    QList<QByteArray> fields;
    const QByteArray cut = text.left(255);
    if (cut.isEmpty())
        return fields;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= cut.size(); ++i) {
        if (i == cut.size() || delimiters.contains(cut.at(i))) {
            const QByteArray field = cut.mid(start, i - start);
            if (keepEmpty || !field.isEmpty())
                fields.append(field);
            start = i + 1;
        }
    }
    return fields;
}
