#pragma once
// The contact book's data: the contacts of the store's [Contatos] section, kept in name order.
// The list the user sees and the section written to the file share this one order.
#include <QList>
#include <QString>

class IniFile;

struct Contact
{
    QString name;
    QString address;  // an e-mail address, or a computer's address or host name
    QString note;     // one line of remarks

    bool operator==(const Contact &) const = default;
};

namespace Contacts {

inline const QString kSection = QStringLiteral("Contatos");
// A hand-edited Count cannot make a load build an unbounded list.
inline constexpr int kMaxContacts = 65536;

// Portuguese name order: accents and letter case do not decide the order ("Bia", "Zé", "Zoz");
// they only part names that are otherwise equal. True when `a` goes before `b`.
bool nameLess(const QString &a, const QString &b);

// The position at which a contact named `name` joins `contacts` (already in name order): after
// every contact whose name sorts equal, so a new contact never jumps ahead of its namesakes.
qsizetype insertPosition(const QList<Contact> &contacts, const QString &name);

// Sorts by name; contacts whose names sort equal keep their order.
void sortByName(QList<Contact> &contacts);

// Count contacts numbered 1 .. Count, in the order stored; missing keys read as empty.
QList<Contact> read(const IniFile &ini);
// Erases the section, then writes Nome<k>, Email<k>, Notes<k> for k = 1 .. n and Count.
void write(IniFile &ini, const QList<Contact> &contacts);

// The file is read afresh, only the contact section changes, and the file is replaced
// atomically. False with `error` ("Unable to write to <path>") when the file cannot be read
// or written; the file is then left as it was.
bool saveToFile(const QString &path, const QList<Contact> &contacts, QString *error = nullptr);
QList<Contact> loadFromFile(const QString &path);

} // namespace Contacts
