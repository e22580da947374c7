#include "store/IniFile.h"
#include "store/DataFolder.h"
#include "platform/TextCodec.h"

#include <QtTest>
#include "support/TestFiles.h"
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using TestFiles::crlf;
using TestFiles::readAll;
using TestFiles::writeAll;

int modeOf(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT
private slots:
    void namesMatchWithoutRegardToCase()
    {
        const IniFile ini(crlf("[Network]\nEnabled=1\n[A\xC7\xC3O]\nCHAVE\xC9=x\n"
                               "[network]\nEnabled=0\nPortTCP=9\n"));
        QCOMPARE(ini.readInteger("network", "ENABLED", -1), 1);
        QCOMPARE(ini.readString(QString::fromUtf8("ação"), QString::fromUtf8("chaveé")), "x");
        QCOMPARE(ini.readString(QString::fromUtf8("AÇÃO"), QString::fromUtf8("CHAVEÉ")), "x");
        // With a repeated section the first one counts; keys of the second are not seen.
        QVERIFY(!ini.valueExists("Network", "PortTCP"));
        QCOMPARE(ini.sections(), (QStringList{"Network", QString::fromUtf8("AÇÃO"), "network"}));

        // An editor's byte-order mark does not hide the first section, and stays.
        const QByteArray marked = "\xEF\xBB\xBF[General]\r\nNumStickies=2\r\n";
        QCOMPARE(IniFile(marked).readInteger("General", "NumStickies", 0), 2);
        QCOMPARE(IniFile(marked).toBytes(), marked);
        // Further down the same bytes belong to the line: a key whose name starts with them
        // stays a key when it is written back, and never turns into a section.
        IniFile inner("[A]\r\n \xEF\xBB\xBF[B]=1\r\n");
        QCOMPARE(inner.sections(), QStringList{"A"});
        const QString markedKey = inner.keys("A").value(0);
        inner.writeString("A", markedKey, "2");
        const IniFile reread(inner.toBytes());
        QCOMPARE(reread.sections(), QStringList{"A"});
        QCOMPARE(reread.readString("A", markedKey), "2");
    }

    void writesReplaceInPlaceAndAppendTheRest()
    {
        const QByteArray original = crlf("; written by hand\n"
                                         "[General]\n"
                                         "  Width = 5 \n"
                                         "stray text\n"
                                         "Height=7\n"
                                         "\n"
                                         "[Foreign]\n"
                                         "keep=me\n"
                                         "keep=second\n");
        IniFile ini(original);
        QCOMPARE(ini.toBytes(), original);
        QCOMPARE(ini.readString("foreign", "KEEP"), "me");

        ini.writeInteger("GENERAL", "width", 180);        // spelling of the file kept
        ini.writeString("general", "NewKey", "v");          // after the last non-blank line
        ini.writeString("Foreign", "keep", "changed");      // the first of the repeated key
        ini.writeString("Brand New", "k", "1");             // section at the end, writer's name
        ini.writeString("brand new", "Other", "2");
        QCOMPARE(ini.toBytes(), crlf("; written by hand\n"
                                     "[General]\n"
                                     "Width=180\n"
                                     "stray text\n"
                                     "Height=7\n"
                                     "NewKey=v\n"
                                     "\n"
                                     "[Foreign]\n"
                                     "keep=changed\n"
                                     "keep=second\n"
                                     "[Brand New]\n"
                                     "k=1\n"
                                     "Other=2\n"));
        QCOMPARE(ini.keys("GENERAL"), (QStringList{"Width", "Height", "NewKey"}));
    }

    void readValuesAreTrimmedUnquotedAndWhole()
    {
        const QByteArray longValue(100000, 'a');
        const IniFile ini(crlf("[S]\n"
                               "blanks= \t spaced out \t\n"
                               "dq=\" in quotes \"\n"
                               "sq='single'\n"
                               "mixed=\"half'\n"
                               "lone=\"\n"
                               "inner=a \"b\" c\n"
                               "empty=\n"
                               "eq=a=b=c\n"
                               "long=" + longValue + "b\n"
                               "longquoted=\" " + longValue + " \"\n"
                               "text without equals\n"));
        QCOMPARE(ini.readString("S", "blanks"), "spaced out");
        QCOMPARE(ini.readString("S", "dq"), " in quotes ");
        QCOMPARE(ini.readString("S", "sq"), "single");
        QCOMPARE(ini.readString("S", "mixed"), "\"half'");
        QCOMPARE(ini.readString("S", "lone"), "\"");
        QCOMPARE(ini.readString("S", "inner"), "a \"b\" c");
        QCOMPARE(ini.readString("S", "eq"), "a=b=c");
        // A key present with an empty value reads empty, not as the default.
        QCOMPARE(ini.readString("S", "empty", "dflt"), QString());
        QCOMPARE(ini.readString("S", "missing", "dflt"), "dflt");
        QCOMPARE(ini.readString("Nowhere", "x", "dflt"), "dflt");
        // However long, a value is read to its last character.
        QCOMPARE(ini.readString("S", "long"), QString::fromLatin1(longValue + "b"));
        QCOMPARE(ini.readString("S", "longquoted"), QString::fromLatin1(" " + longValue + " "));
        QVERIFY(!ini.valueExists("S", "text without equals"));
    }

    // A value goes into the file bare unless the reading would change it; then it goes inside
    // one pair of double quotes, which the reading (ours and the Windows profile's) takes off.
    void writtenValuesReadBackAsWritten_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("line");  // as it stands in the file
        QTest::newRow("plain") << "smtp.example.com" << QByteArray("v=smtp.example.com");
        QTest::newRow("empty") << "" << QByteArray("v=");
        QTest::newRow("inner blanks and quotes") << "a \"b\" 'c' d" << QByteArray("v=a \"b\" 'c' d");
        QTest::newRow("leading blank") << " senha" << QByteArray("v=\" senha\"");
        QTest::newRow("trailing blank") << "senha " << QByteArray("v=\"senha \"");
        QTest::newRow("leading tab") << "\tx" << QByteArray("v=\"\tx\"");
        QTest::newRow("only blanks") << "   " << QByteArray("v=\"   \"");
        QTest::newRow("double quoted") << "\"quoted\"" << QByteArray("v=\"\"quoted\"\"");
        QTest::newRow("single quoted") << "'quoted'" << QByteArray("v=\"'quoted'\"");
        QTest::newRow("opening quote only") << "\"abc" << QByteArray("v=\"\"abc\"");
        QTest::newRow("closing quote only") << "abc'" << QByteArray("v=\"abc'\"");
        QTest::newRow("a lone quote") << "\"" << QByteArray("v=\"\"\"");
        QTest::newRow("two quotes") << "''" << QByteArray("v=\"''\"");
        QTest::newRow("blank then quote") << " \"x\" " << QByteArray("v=\" \"x\" \"");
        QTest::newRow("form feed at the end") << "x\f" << QByteArray("v=\"x\f\"");
        QTest::newRow("control at the start") << "\x01x" << QByteArray("v=\"\x01x\"");
        QTest::newRow("accents") << QString::fromUtf8(" ação ") << QByteArray("v=\" a\xE7\xE3o \"");
        QTest::newRow("line break at the end") << "fim\r\n" << QByteArray("v=\"fim  \"");
        QTest::newRow("long with a trailing blank") << QString(100000, 'x') + " "
                                                    << "v=\"" + QByteArray(100000, 'x') + " \"";
    }
    void writtenValuesReadBackAsWritten()
    {
        QFETCH(QString, value);
        QFETCH(QByteArray, line);
        IniFile ini;
        ini.writeString("S", "v", value);
        ini.writeString("S", "after", "ok");
        QCOMPARE(ini.toBytes(), "[S]\r\n" + line + "\r\nafter=ok\r\n");
        QString expected = value;
        expected.replace('\r', ' ').replace('\n', ' ');
        QCOMPARE(ini.readString("S", "v"), expected);
        const IniFile back(ini.toBytes());
        QCOMPARE(back.readString("S", "v"), expected);
        QCOMPARE(back.readString("S", "after"), "ok");
        // Written over an existing key the same way, and again unchanged after a second pass.
        IniFile again(back.toBytes());
        again.writeString("s", "V", back.readString("S", "v"));
        QCOMPARE(again.toBytes(), back.toBytes());
    }

    void integersAndBooleans_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("decimal") << QByteArray("42") << 42;
        QTest::newRow("negative") << QByteArray("-17") << -17;
        QTest::newRow("plus sign") << QByteArray("+7") << 7;
        QTest::newRow("blanks and quotes") << QByteArray(" \"12\" ") << 12;
        QTest::newRow("hex by hand") << QByteArray("0x0F") << 15;
        QTest::newRow("upper hex") << QByteArray("0X7BFFFF") << 0x7BFFFF;
        QTest::newRow("hex full pattern") << QByteArray("0xFFFFFFFF") << -1;
        QTest::newRow("hex leading zeros") << QByteArray("0x000000010") << 16;
        QTest::newRow("int min") << QByteArray("-2147483648") << int(-2147483648LL);
        QTest::newRow("bare 0x") << QByteArray("0x") << -99;
        QTest::newRow("hex too long") << QByteArray("0x100000000") << -99;
        QTest::newRow("bad hex") << QByteArray("0x1G") << -99;
        QTest::newRow("trailing garbage") << QByteArray("12abc") << -99;
        QTest::newRow("overflow") << QByteArray("2147483648") << -99;
        QTest::newRow("sign only") << QByteArray("-") << -99;
        QTest::newRow("empty") << QByteArray("") << -99;
        QTest::newRow("word") << QByteArray("yes") << -99;
    }

    void integersAndBooleans()
    {
        QFETCH(QByteArray, stored);
        QFETCH(int, expected);
        const IniFile ini("[S]\r\nv=" + stored + "\r\n");
        QCOMPARE(ini.readInteger("S", "v", -99), expected);
        // A boolean is an integer: non-zero is true, unparsable gives the default.
        QCOMPARE(ini.readBool("S", "v", true), expected == -99 ? true : expected != 0);
        QCOMPARE(ini.readBool("S", "v", false), expected == -99 ? false : expected != 0);
    }

    void writtenValuesStayOnOneLine()
    {
        IniFile ini;
        ini.writeString("S", "caption", "a\r\n[Evil]\r\nx=1\nb\rc");
        ini.writeString("S", "after", "ok");
        const IniFile back(ini.toBytes());
        QCOMPARE(back.sections(), QStringList{"S"});
        QCOMPARE(back.readString("S", "caption"), "a  [Evil]  x=1 b c");
        QCOMPARE(back.readString("S", "after"), "ok");
        QVERIFY(!back.valueExists("S", "x"));
    }

    void lineEndsAndBytesSurvive()
    {
        // Every byte other than the line ends comes back as it was.
        QByteArray value;
        for (int b = 0x20; b < 256; ++b)
            value.append(char(b));
        const QByteArray lf = "[S]\nv=" + value + "\nlast=no break";
        IniFile ini(lf);
        QCOMPARE(TextCodec::toWin1252(ini.readString("S", "v")), value.trimmed());
        QCOMPARE(ini.readString("s", "LAST"), "no break");
        QCOMPARE(ini.toBytes(), crlf(lf + "\n"));
        QCOMPARE(IniFile(QByteArray()).toBytes(), QByteArray());
    }

    void everyLineEndEndsALine_data()
    {
        QTest::addColumn<QByteArray>("end1");
        QTest::addColumn<QByteArray>("end2");
        for (const char *a : {"\r\n", "\n", "\r"})
            for (const char *b : {"\r\n", "\n", "\r"})
                QTest::addRow("%s then %s", QByteArray(a).toPercentEncoding().constData(),
                              QByteArray(b).toPercentEncoding().constData())
                    << QByteArray(a) << QByteArray(b);
    }

    void everyLineEndEndsALine()
    {
        QFETCH(QByteArray, end1);
        QFETCH(QByteArray, end2);
        const QByteArray text = "[General]" + end1 + "NumStickies=2" + end2 + "User=ana" + end1 + " " + end2 + "[Stick0]"
                                + end2 + "caption=a" + end1 + "note=x\\ny" + end2;
        IniFile ini(text);
        QCOMPARE(ini.readInteger("General", "NumStickies", 0), 2);
        QCOMPARE(ini.readString("General", "User"), "ana");
        QCOMPARE(ini.readString("Stick0", "caption"), "a");
        QCOMPARE(ini.readString("Stick0", "note"), "x\\ny");
        QCOMPARE(ini.sections(), (QStringList{"General", "Stick0"}));
        // Written back with CR LF only; the blank line stays.
        QCOMPARE(ini.toBytes(), "[General]\r\nNumStickies=2\r\nUser=ana\r\n \r\n[Stick0]\r\ncaption=a\r\nnote=x\\ny\r\n");
    }

    void aLargeFileOfOneKindOfLineEndReadsInOnePass()
    {
        // Looking for the other kind of line end anew on every line would take hours here.
        for (const char *end : {"\r", "\n"}) {
            QByteArray text = "[S]" + QByteArray(end);
            for (int i = 0; i < 200000; ++i)
                text += "k" + QByteArray::number(i) + "=value of some length" + end;
            QElapsedTimer t;
            t.start();
            IniFile ini(text);
            QCOMPARE(ini.readString("S", "k199999"), "value of some length");
            QVERIFY2(t.elapsed() < 3000, qPrintable(QString::number(t.elapsed())));
        }
    }

    void textConvertsAsTheCodecDoes()
    {
        // Every character the code page holds, some it does not, and line breaks, at every
        // offset so that each lands both inside and at the edge of the blocks converted at once.
        QString sample = QString::fromUtf8("plain ASCII text, Latin-1 àçãõ ÀÉÎ ÿ, ");
        for (char16_t c = 0x80; c < 0x100; ++c)
            sample.append(QChar(c));
        sample += QString::fromUtf8("€ŠšŒœŽžŸ ƒ†‡‰•–—˜™ 日本 😀 \t\x01 end\r\nnext\nline");
        for (int offset = 0; offset < 9; ++offset) {
            const QString value = QString(offset, 'x') + sample;
            IniFile ini;
            ini.writeString("S", "v", value);
            QByteArray expected = TextCodec::toWin1252(value);
            expected.replace('\r', ' ').replace('\n', ' ');
            QCOMPARE(ini.toBytes(), "[S]\r\nv=" + expected + "\r\n");
            QCOMPARE(IniFile(ini.toBytes()).readString("S", "v"),
                     TextCodec::fromWin1252(expected).trimmed());
        }
        const IniFile latin("[S]\r\nv=" + TextCodec::toWin1252(QString::fromUtf8("só Latin-1: ação ÿ")) + "\r\n");
        QCOMPARE(latin.readString("S", "v"), QString::fromUtf8("só Latin-1: ação ÿ"));
    }

    void eraseSectionRemovesItWhole()
    {
        IniFile ini(crlf("[Stick0]\ncaption=a\n; a comment\n\n[Keep]\nk=1\n[stick0]\ncaption=b\n"));
        ini.eraseSection("STICK0");
        QCOMPARE(ini.toBytes(), crlf("[Keep]\nk=1\n[stick0]\ncaption=b\n"));
        // The repeated section now counts.
        QCOMPARE(ini.readString("Stick0", "caption"), "b");
        ini.eraseSection("Stick0");
        ini.eraseSection("Stick0");
        QVERIFY(!ini.sectionExists("stick0"));
        ini.writeString("Stick0", "caption", "c");
        QCOMPARE(ini.toBytes(), crlf("[Keep]\nk=1\n[Stick0]\ncaption=c\n"));

        ini.writeString("Keep", "K2", "2");
        ini.deleteKey("keep", "K");
        ini.writeString("Keep", "k2", "3");
        QCOMPARE(ini.toBytes(), crlf("[Keep]\nK2=3\n[Stick0]\ncaption=c\n"));
    }

    void savesAtomicallyOwnerOnly()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("stickies.cvf");
        writeAll(path, "old");
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                | QFileDevice::ReadGroup | QFileDevice::ReadOther));
        IniFile ini;
        ini.writeString("Network", "Password", "secret");
        QString error;
        QVERIFY(ini.saveToFile(path, &error));
        QVERIFY(error.isEmpty());
        QCOMPARE(readAll(path), QByteArray("[Network]\r\nPassword=secret\r\n"));
        QCOMPARE(modeOf(path), 0600);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"stickies.cvf"});
    }

    // A store that is a link into another folder (a synced one, say) is replaced where it lies,
    // and stays a link.
    void aLinkedStoreIsReplacedWhereItLies()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("synced"));
        const QString real = dir.filePath("synced/stickies.cvf");
        const QString link = dir.filePath("stickies.cvf");
        writeAll(real, "old");
        QVERIFY(QFile::link(real, link));
        IniFile ini;
        ini.writeString("General", "User", "ana");
        QVERIFY(ini.saveToFile(link));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(readAll(real), QByteArray("[General]\r\nUser=ana\r\n"));
        QCOMPARE(QDir(dir.filePath("synced")).entryList(QDir::Files | QDir::Hidden), QStringList{"stickies.cvf"});
    }

    void failedSaveLeavesTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("stickies.cvf");
        const QByteArray old = crlf("[General]\nNumStickies=3\n");
        writeAll(path, old);

        IniFile big;
        big.writeString("General", "Filler", QString(100000, 'x'));
        QString error;

        // A write that the system refuses half-way: the file size limit stops it.
        struct rlimit saved {};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
        auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = saved;
        small.rlim_cur = 4096;
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        const bool ok = big.saveToFile(path, &error);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
        QVERIFY(!ok);
        // The file and, under it, the system's reason.
        QCOMPARE(error, "Unable to write to " + QFileInfo(path).absoluteFilePath() + "\n" + qt_error_string(EFBIG));
        QCOMPARE(readAll(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"stickies.cvf"});

        // A folder that does not exist: nothing is created, the full path is named.
        const QString nowhere = dir.filePath("missing/stickies.cvf");
        QVERIFY(!big.saveToFile(nowhere, &error));
        QCOMPARE(error, "Unable to write to " + nowhere + "\n" + qt_error_string(ENOENT));
        QVERIFY(!QFileInfo::exists(dir.filePath("missing")));

        if (geteuid() != 0) {  // permissions do not stop the superuser
            QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            QVERIFY(!big.saveToFile(path, &error));
            QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                  | QFileDevice::ExeOwner);
            QCOMPARE(readAll(path), old);
        }
    }

    void missingFileReadsEmpty()
    {
        QTemporaryDir dir;
        bool readable = false;
        const IniFile ini = IniFile::fromFile(dir.filePath("none.cvf"), &readable);
        QVERIFY(readable);
        QCOMPARE(ini.readInteger("General", "NumStickies", 0), 0);
        QVERIFY(ini.sections().isEmpty());
        // A path that exists but cannot be read as a file is reported.
        IniFile::fromFile(dir.path(), &readable);
        QVERIFY(!readable);
    }

    void privateFolderIsCreatedOwnerOnly()
    {
        QTemporaryDir dir;
        const QString data = dir.filePath("data");
        QVERIFY(DataFolder::createPrivate(data));
        QCOMPARE(modeOf(data), 0700);
        QVERIFY(DataFolder::createPrivate(data));                      // existing: no error
        QVERIFY(!DataFolder::createPrivate(dir.filePath("a/b")));     // parent missing
        QVERIFY(DataFolder::syncEntries(data));
        QVERIFY(!DataFolder::syncEntries(dir.filePath("a")));         // missing folder
        TestFiles::writeAll(dir.filePath("f"), "x");
        QVERIFY(!DataFolder::syncEntries(dir.filePath("f")));         // not a folder

        // The temporary files of interrupted saves go; the store and anything else stay.
        const QStringList kept{"stickies.cvf", "stickies.cvf.bak", "stickies.cvf.12345", "stickies.cvf.abc-ef",
                               "stickies.cvf.AbC12z.x", "xstickies.cvf.AbC12z", "notas.txt"};
        for (const QString &name : kept + QStringList{"stickies.cvf.AbC12z", "stickies.cvf.000000"})
            writeAll(data + "/" + name, "x");
        QCOMPARE(DataFolder::removeInterruptedSaves(data, "stickies.cvf"), 2);
        QStringList sorted = kept;
        sorted.sort();
        QCOMPARE(QDir(data).entryList(QDir::Files, QDir::Name), sorted);
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
