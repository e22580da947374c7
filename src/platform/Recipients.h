#pragma once
// Recipient lists of the two send dialogs: the "Para" field holds addresses separated by
// commas, and addresses chosen in the contact book are merged into it.
#include <QString>
#include <QStringList>

namespace Recipients {

// Every non-empty piece between commas, untrimmed, in order. The whole field counts (not only
// its first 255 bytes): a recipient typed late in a long list is still a recipient.
QStringList split(const QString &para);

// The field after merging the chosen addresses: a "," is added to a non-empty field, each
// chosen address that does not already occur anywhere inside the field (a case-sensitive
// substring test) is appended with a ",", and a final "," is removed. An empty choice leaves
// the field as it is.
QString mergeChosen(const QString &para, const QStringList &chosen);

} // namespace Recipients
