#pragma once
// Windows-1252 is the single-byte text of every boundary: the store, the wire and mail.
#include <QByteArray>
#include <QString>

namespace TextCodec {

// Characters that Windows-1252 cannot hold become '?'.
QByteArray toWin1252(const QString &text);
QString fromWin1252(const QByteArray &bytes);
QString fromWin1252(const char *data, qsizetype size);

} // namespace TextCodec
