#include "net/LineBuffer.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QtTest>

namespace {

QList<QByteArray> feed(LineBuffer &buffer, const QList<QByteArray> &reads)
{
    QList<QByteArray> lines;
    QByteArray line;
    for (const QByteArray &read : reads) {
        buffer.append(read);
        while (buffer.takeLine(line))
            lines.append(line);
    }
    return lines;
}

QList<QByteArray> split(const QList<QByteArray> &reads, bool edit, const QByteArray &lineEnd = "\r\n")
{
    LineBuffer buffer;
    buffer.setLineEdit(edit);
    buffer.setLineEnd(lineEnd);
    return feed(buffer, reads);
}

} // namespace

class TestSocketLines : public QObject
{
    Q_OBJECT
private slots:
    void terminatorsAreFoundWhereverTheReadsEnd()
    {
        // CR at the end of one read, LF at the start of the next: one line, once.
        QCOMPARE(split({"hello\r", "\nworld\r\n"}, false), (QList<QByteArray>{"hello\r\n", "world\r\n"}));
        // Two lines in one read come out in order; the remainder waits.
        LineBuffer buffer;
        QCOMPARE(feed(buffer, {"a\r\nbb\r\nccc"}), (QList<QByteArray>{"a\r\n", "bb\r\n"}));
        QCOMPARE(buffer.size(), 3);
        QCOMPARE(buffer.takeAll(), QByteArray("ccc"));
        QVERIFY(buffer.isEmpty());
        // A lone CR or LF is an ordinary byte under CR LF.
        QCOMPARE(split({"a\rb\nc\r\n"}, false), (QList<QByteArray>{"a\rb\nc\r\n"}));
        // Other terminators, including ones longer than a read.
        QCOMPARE(split({"x;y", ";"}, false, ";"), (QList<QByteArray>{"x;", "y;"}));
        QCOMPARE(split({"abE", "N", "Dcd"}, false, "END"), (QList<QByteArray>{"abEND"}));
        QVERIFY(split({"a\r\nb\r\n"}, false, QByteArray()).isEmpty());
    }

    void backspaceAndTabEditing()
    {
        QCOMPARE(split({"ab\bc\r\n"}, true), (QList<QByteArray>{"ac\r\n"}));
        QCOMPARE(split({"a\tb\r\n"}, true), (QList<QByteArray>{"a       b\r\n"}));
        QCOMPARE(split({"12345678\tx\r\n"}, true), (QList<QByteArray>{"12345678        x\r\n"}));
        // A backspace reaches into an earlier read of the same line, but not past its start.
        QCOMPARE(split({"abc", "\b\b", "\b\bZ\r\n"}, true), (QList<QByteArray>{"Z\r\n"}));
        // Without editing the control bytes pass through untouched.
        QCOMPARE(split({"a\b\tb\r\n"}, false), (QList<QByteArray>{"a\b\tb\r\n"}));
    }

    void editingStaysInsideTheCurrentLine()
    {
        // A completed line is never reopened by a backspace that follows it in the same read,
        // and tab stops count from the start of each line.
        QCOMPARE(split({"ab\r\n\bc\r\n"}, true), (QList<QByteArray>{"ab\r\n", "c\r\n"}));
        QCOMPARE(split({"abc\r\n\tx\r\n"}, true), (QList<QByteArray>{"abc\r\n", "        x\r\n"}));
        // A backspace may still undo half a terminator that is not complete yet.
        QCOMPARE(split({"ab\r", "\b\nc\r\n"}, true), (QList<QByteArray>{"ab\nc\r\n"}));
    }

    void randomSplitsGiveTheLinesOfTheWholeStream()
    {
        // The alphabet is rich in terminator bytes and editing bytes, where splitting bugs hide.
        static const char alphabet[] = {'a', 'b', '\r', '\n', '\r', '\n', '\b', '\t', 'E', 'N', 'D'};
        auto *rng = QRandomGenerator::global();
        QElapsedTimer clock;
        clock.start();
        int rounds = 0;
        while (clock.elapsed() < 2000 && rounds < 20000) {
            ++rounds;
            const bool edit = rng->bounded(2) == 1;
            const QByteArray lineEnd = rng->bounded(3) == 0 ? QByteArray("END") : QByteArray("\r\n");
            QByteArray stream;
            const int length = rng->bounded(1, 400);
            for (int i = 0; i < length; ++i)
                stream.append(rng->bounded(8) == 0 ? char(rng->bounded(256)) : alphabet[rng->bounded(int(sizeof alphabet))]);

            LineBuffer whole;
            whole.setLineEdit(edit);
            whole.setLineEnd(lineEnd);
            const QList<QByteArray> expected = feed(whole, {stream});

            QList<QByteArray> reads;
            for (qsizetype at = 0; at < stream.size();) {
                const qsizetype n = std::min<qsizetype>(stream.size() - at, rng->bounded(1, 12));
                reads.append(stream.mid(at, n));
                at += n;
            }
            LineBuffer pieces;
            pieces.setLineEdit(edit);
            pieces.setLineEnd(lineEnd);
            const QList<QByteArray> got = feed(pieces, reads);
            if (got != expected || pieces.takeAll() != whole.takeAll())
                QFAIL(qPrintable(QStringLiteral("stream %1 (edit %2) split into %3 reads gives other lines")
                                     .arg(QString::fromLatin1(stream.toHex()))
                                     .arg(edit)
                                     .arg(reads.size())));
        }
        QVERIFY(rounds > 100);
    }

    void manyShortLinesFromOneLongRead()
    {
        // A 64 KiB read of short lines, then a long unfinished tail, must still split exactly.
        QByteArray read;
        for (int i = 0; i < 20000; ++i)
            read += QByteArray::number(i) + "\r\n";
        read += QByteArray(100000, 'x');
        LineBuffer buffer;
        const QList<QByteArray> lines = feed(buffer, {read});
        QCOMPARE(lines.size(), 20000);
        QCOMPARE(lines.last(), QByteArray("19999\r\n"));
        QCOMPARE(buffer.size(), 100000);
        QCOMPARE(feed(buffer, {"\r\n"}).value(0).size(), 100002);
    }
};

QTEST_GUILESS_MAIN(TestSocketLines)
#include "tst_socketlines.moc"
