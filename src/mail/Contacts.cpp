#include "mail/Contacts.h"

#include "store/IniFile.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>

namespace {

// The letters without their accents, in lower case. The collator alone would put accents
// only after the base letters too, but where the platform's collation falls back to plain
// code points ("Zé" after "Zoz") this key still keeps the Portuguese order.
QString folded(const QString &name)
{
    const QString decomposed = name.normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            out += c;
    }
    return out.toCaseFolded();
}

const QCollator &collator()
{
    static const QCollator c = [] {
        QCollator made{QLocale(QLocale::Portuguese, QLocale::Brazil)};
        made.setCaseSensitivity(Qt::CaseInsensitive);
        made.setNumericMode(false);
        return made;
    }();
    return c;
}

int compareNames(const QString &a, const QString &b)
{
    const int primary = collator().compare(folded(a), folded(b));
    if (primary != 0)
        return primary;
    return collator().compare(a, b);
}

QString key(const char *base, int n)
{
    return QLatin1String(base) + QString::number(n);
}

} // namespace

namespace Contacts {

bool nameLess(const QString &a, const QString &b)
{
    return compareNames(a, b) < 0;
}

qsizetype insertPosition(const QList<Contact> &contacts, const QString &name)
{
    const auto at = std::upper_bound(contacts.begin(), contacts.end(), name,
                                     [](const QString &n, const Contact &c) { return nameLess(n, c.name); });
    return at - contacts.begin();
}

void sortByName(QList<Contact> &contacts)
{
    std::stable_sort(contacts.begin(), contacts.end(),
                     [](const Contact &a, const Contact &b) { return nameLess(a.name, b.name); });
}

QList<Contact> read(const IniFile &ini)
{
    const int count = std::clamp(ini.readInteger(kSection, QStringLiteral("Count"), 0), 0, kMaxContacts);
    QList<Contact> contacts;
    contacts.reserve(count);
    for (int n = 1; n <= count; ++n)
        contacts.append({ini.readString(kSection, key("Nome", n)), ini.readString(kSection, key("Email", n)),
                         ini.readString(kSection, key("Notes", n))});
    return contacts;
}

void write(IniFile &ini, const QList<Contact> &contacts)
{
    ini.eraseSection(kSection);
    int n = 0;
    for (const Contact &c : contacts) {
        ++n;
        ini.writeString(kSection, key("Nome", n), c.name);
        ini.writeString(kSection, key("Email", n), c.address);
        ini.writeString(kSection, key("Notes", n), c.note);
    }
    ini.writeInteger(kSection, QStringLiteral("Count"), n);
}

bool saveToFile(const QString &path, const QList<Contact> &contacts, QString *error)
{
    bool readable = true;
    IniFile ini = IniFile::fromFile(path, &readable);
    // A file that is there but cannot be read is not replaced: every note in it would be lost.
    if (!readable) {
        if (error)
            *error = IniFile::writeErrorText(path);
        return false;
    }
    write(ini, contacts);
    return ini.saveToFile(path, error);
}

QList<Contact> loadFromFile(const QString &path)
{
    return read(IniFile::fromFile(path));
}

} // namespace Contacts
