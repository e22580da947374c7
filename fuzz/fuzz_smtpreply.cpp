// The SMTP reply reader on any server stream, arriving in reads of fuzzer-chosen sizes, the way
// the client drains its socket: fill the free space, take every complete line, give up on a
// line that can never fit. The lines must be the stream's CR LF lines whatever the reads, and
// the client must give up exactly when a line is longer than the buffer.
//
// Input: a cut list (bytes up to the first 0x00, each the size of one read), then the stream.
#include "FuzzCheck.h"
#include "mail/SmtpReply.h"

#include <QList>
#include <algorithm>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    qsizetype cutEnd = input.indexOf('\0');
    if (cutEnd < 0)
        cutEnd = 0;
    const QByteArray cuts = input.left(cutEnd);
    const QByteArray stream = input.mid(cutEnd + 1);
    // Short reads stretched by a factor so that lines near the buffer size are reached.
    const int scale = cuts.isEmpty() ? 1 : 1 + static_cast<unsigned char>(cuts[0]) % 64;

    // The lines as the stream holds them, up to the first one that cannot fit the buffer.
    QList<QByteArray> expected;
    bool expectGiveUp = false;
    for (qsizetype from = 0;;) {
        const qsizetype end = stream.indexOf("\r\n", from);
        if (end < 0) {
            expectGiveUp = stream.size() - from >= SmtpReceiveBuffer::kSize;
            break;
        }
        if (end + 2 - from > SmtpReceiveBuffer::kSize) {
            expectGiveUp = true;
            break;
        }
        expected << stream.mid(from, end - from);
        from = end + 2;
    }

    SmtpReceiveBuffer buffer;
    QList<QByteArray> lines;
    bool gaveUp = false;
    qsizetype at = 0;
    for (qsizetype read = 0; at < stream.size() && !gaveUp; ++read) {
        if (buffer.freeCount() == 0)
            break;
        const int want = read + 1 < cuts.size() ? static_cast<unsigned char>(cuts[read + 1]) * scale
                                                : SmtpReceiveBuffer::kSize;
        const int n = int(std::min<qsizetype>({qsizetype(std::max(want, 1)), stream.size() - at,
                                               qsizetype(buffer.freeCount())}));
        if (read % 2) {
            std::memcpy(buffer.freeSpace(), stream.constData() + at, size_t(n));
            buffer.commit(n);
        } else {
            FUZZ_CHECK(buffer.append(stream.constData() + at, n) == n);
        }
        at += n;
        QByteArray line;
        while (buffer.takeLine(line)) {
            FUZZ_CHECK(!line.contains("\r\n"));
            lines << line;
        }
        FUZZ_CHECK(buffer.count() >= 0 && buffer.count() <= SmtpReceiveBuffer::kSize);
        gaveUp = buffer.isFullWithoutLine();
    }
    FUZZ_CHECK(gaveUp == expectGiveUp);
    FUZZ_CHECK(lines == expected);

    for (const QByteArray &line : lines) {
        const SmtpReplyCode reply = parseSmtpReplyCode(line);
        // A well-formed reply line: three digits, then a blank, a dash or nothing.
        if (line.size() >= 3 && std::all_of(line.begin(), line.begin() + 3, [](char c) { return c >= '0' && c <= '9'; })
            && (line.size() == 3 || line[3] == ' ' || line[3] == '-')) {
            FUZZ_CHECK(reply.code == line.left(3).toInt());
            FUZZ_CHECK(reply.continued == (line.size() > 3 && line[3] == '-'));
        }
        FUZZ_CHECK(reply.code > -1000000000 && reply.code < 1000000000);
    }
    return 0;
}
