// The line reader on any stream, cut into reads at places the fuzzer chooses: the lines that
// come out, and what is left over, must not depend on the cuts or on when lines are taken.
//
// Input: a flags byte (line editing, terminator choice), a cut list (bytes up to the first
// 0x00: each the length of one read, and whether lines are taken after it), then the stream.
#include "FuzzCheck.h"
#include "net/LineBuffer.h"

#include <QList>

namespace {

const QByteArray kTerminators[] = {QByteArrayLiteral("\r\n"), QByteArrayLiteral("\n"),
                                   QByteArrayLiteral("\r"), QByteArrayLiteral("END"),
                                   QByteArrayLiteral("aa"), QByteArray()};

struct Result
{
    QList<QByteArray> lines;
    QByteArray rest;
};

void takeLines(LineBuffer &buffer, Result &result)
{
    QByteArray line;
    while (buffer.takeLine(line)) {
        FUZZ_CHECK(line.endsWith(buffer.lineEnd()));
        result.lines << line;
    }
}

Result feed(const QByteArray &terminator, bool edit, const QByteArray &stream,
            const QByteArray &cuts)
{
    LineBuffer buffer;
    buffer.setLineEnd(terminator);
    buffer.setLineEdit(edit);
    Result result;
    qsizetype at = 0;
    for (qsizetype i = 0; at < stream.size(); ++i) {
        const auto cut = i < cuts.size() ? static_cast<unsigned char>(cuts[i]) : 0xFF;
        const qsizetype len = std::min<qsizetype>(cut & 0x7F ? cut & 0x7F : 1, stream.size() - at);
        buffer.append(stream.constData() + at, len);
        at += len;
        if (cut & 0x80)
            takeLines(buffer, result);
    }
    takeLines(buffer, result);
    result.rest = buffer.takeAll();
    FUZZ_CHECK(buffer.isEmpty());
    return result;
}

// The same stream applied a byte at a time to a plain model of the rules.
Result model(const QByteArray &terminator, bool edit, const QByteArray &stream)
{
    Result result;
    QByteArray current;
    for (const char c : stream) {
        if (edit && c == '\x08') {
            if (!current.isEmpty())
                current.chop(1);
            continue;
        }
        if (edit && c == '\t') {
            do
                current += ' ';
            while (current.size() % 8 != 0);
            continue;
        }
        current += c;
        if (!terminator.isEmpty() && current.endsWith(terminator)) {
            result.lines << current;
            current.clear();
        }
    }
    result.rest = current;
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const bool edit = input[0] & 1;
    const QByteArray &terminator = kTerminators[(static_cast<unsigned char>(input[0]) >> 1) % 6];
    qsizetype cutEnd = input.indexOf('\0', 1);
    if (cutEnd < 0)
        cutEnd = 1;
    const QByteArray cuts = input.mid(1, cutEnd - 1);
    const QByteArray stream = input.mid(cutEnd + 1);

    const Result whole = feed(terminator, edit, stream, QByteArray(1, '\x7F').repeated(stream.size() / 127 + 1));
    const Result cut = feed(terminator, edit, stream, cuts);
    FUZZ_CHECK(cut.lines == whole.lines);
    FUZZ_CHECK(cut.rest == whole.rest);
    const Result expected = model(terminator, edit, stream);
    FUZZ_CHECK(whole.lines == expected.lines);
    FUZZ_CHECK(whole.rest == expected.rest);
    return 0;
}
