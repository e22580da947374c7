#pragma once
// How values that are not plain strings or integers stand in the store file.
#include <QDateTime>
#include <QString>

namespace StoreValues {

// A note's text is held with CR LF line breaks and stored on one line: each break becomes the
// two characters "\n", so a CR LF text keeps its length. A lone CR or LF (a text that did not
// come through a CR LF text area) is a line break too and is stored the same way.
QString encodeNoteText(const QString &text);
// Every "\n" pair becomes CR LF, wherever it stands: a "\n" the user typed comes back as a
// line break.
QString decodeNoteText(const QString &stored);

// The locale's short date, a blank and its long time; midnight leaves the blank and the time
// out. An invalid moment is an empty text.
QString formatDateTime(const QDateTime &when);
// The same form (and the pt-BR one); `fallback` when empty or unparsable.
QDateTime parseDateTime(const QString &text, const QDateTime &fallback);

} // namespace StoreValues
