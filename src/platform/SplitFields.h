#pragma once
#include <QByteArray>
#include <QList>

// Cuts the text to its first 255 bytes and splits it at every byte found in `delimiters`,
// with no quoting and no trimming. With keepEmpty, n delimiters give n + 1 fields; without,
// empty fields are left out. An empty text gives no fields.
QList<QByteArray> SplitFields(const QByteArray &text, const QByteArray &delimiters, bool keepEmpty);
