// The profile engine on any bytes: parse, read every key, write each value back, parse the
// result again. What the program writes must read back as it was written, and a file that went
// through it once must come out of a second pass byte for byte the same.
#include "FuzzCheck.h"
#include "store/IniFile.h"

#include <QList>
#include <QStringList>

namespace {

struct Reading
{
    QStringList sections;
    QList<QStringList> keys;
    QList<QStringList> values;
};

Reading readAll(const IniFile &ini)
{
    Reading r;
    r.sections = ini.sections();
    for (const QString &s : r.sections) {
        const QStringList keys = ini.keys(s);
        QStringList values;
        for (const QString &k : keys) {
            // A caller's name never holds a line break (it is blanked), so a name with a lone CR
            // in the file cannot be asked for; the line itself is kept as it is.
            if (!s.contains(QLatin1Char('\r')) && !k.contains(QLatin1Char('\r')))
                FUZZ_CHECK(ini.valueExists(s, k));
            values << ini.readString(s, k, QStringLiteral("\x01missing"));
        }
        r.keys << keys;
        r.values << values;
    }
    return r;
}

// What a written value reads back as: itself, however long and whatever blanks or quotes it
// has at its ends, but for line breaks, which the writer blanks out so that the value stays on
// its line.
QString readBackAs(const QString &value)
{
    QString v = value;
    return v.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    IniFile ini(input);
    const QByteArray parsed = ini.toBytes();
    fuzzSameBytes(parsed, IniFile(parsed).toBytes(), "parsed and parsed again");

    const Reading before = readAll(ini);
    for (qsizetype s = 0; s < before.sections.size(); ++s) {
        if (!before.sections[s].contains(QLatin1Char('\r')))
            FUZZ_CHECK(ini.sectionExists(before.sections[s]));
        for (qsizetype k = 0; k < before.keys[s].size(); ++k) {
            const QString &value = before.values[s][k];
            if (before.sections[s].contains(QLatin1Char('\r')) || before.keys[s][k].contains(QLatin1Char('\r')))
                continue;
            ini.writeString(before.sections[s], before.keys[s][k], value);
            FUZZ_CHECK(ini.readString(before.sections[s], before.keys[s][k]) == readBackAs(value));
            // And so does anything else, blanks and quotes at its ends included.
            const QString edged = QStringLiteral(" '") + value + QStringLiteral("\" ");
            ini.writeString(before.sections[s], before.keys[s][k], edged);
            FUZZ_CHECK(ini.readString(before.sections[s], before.keys[s][k]) == readBackAs(edged));
            ini.writeString(before.sections[s], before.keys[s][k], value);
        }
    }
    // Writing what was read changes no name and no order.
    const Reading written = readAll(ini);
    FUZZ_CHECK(written.sections == before.sections);
    FUZZ_CHECK(written.keys == before.keys);

    const QByteArray out = ini.toBytes();
    const IniFile again(out);
    fuzzSameBytes(out, again.toBytes(), "written and parsed again");
    const Reading reread = readAll(again);
    FUZZ_CHECK(reread.sections == written.sections);
    FUZZ_CHECK(reread.keys == written.keys);
    FUZZ_CHECK(reread.values == written.values);

    // A value with line breaks and quotes of its own stays on its one line, under its key.
    if (!before.sections.isEmpty()) {
        const QString section = before.sections.front();
        const QString planted = QStringLiteral("x\r\n[Planted]\r\nkey=1\n'");
        IniFile edited(out);
        edited.writeString(section, QStringLiteral("FuzzKey"), planted);
        FUZZ_CHECK(!edited.sectionExists(QStringLiteral("Planted"))
                   || again.sectionExists(QStringLiteral("Planted")));
        const IniFile reparsed(edited.toBytes());
        FUZZ_CHECK(reparsed.sections() == edited.sections());
        FUZZ_CHECK(reparsed.readString(section, QStringLiteral("FuzzKey"))
                   == edited.readString(section, QStringLiteral("FuzzKey")));
        edited.deleteKey(section, QStringLiteral("FuzzKey"));
        edited.eraseSection(section);
        FUZZ_CHECK(IniFile(edited.toBytes()).toBytes() == edited.toBytes());
    }
    return 0;
}
