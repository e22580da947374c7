// The note files of the sync folder, which arrive from other computers through the file-sync
// engine: any bytes are read without harm, and a note read from them is written back to the
// same note (same hash, same bytes on a second write), as it must be for two computers to
// agree on it.
#include "FuzzCheck.h"
#include "sync/SyncNoteFile.h"

#include <QDateTime>

namespace {
const QDateTime kLoadMoment(QDate(2030, 6, 1), QTime(12, 0));
const QDateTime kModified(QDate(2030, 6, 1), QTime(11, 0), Qt::UTC);
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<SyncNoteFile::Content> read = SyncNoteFile::fromBytes(input, kLoadMoment);
    if (!read)
        return 0;
    const QByteArray hash = SyncNoteFile::hash(read->note);
    FUZZ_CHECK(hash.size() == 32);
    const QString id = QStringLiteral("0f8fad5b-d9cb-469f-a165-70867728950e");
    const QByteArray written = SyncNoteFile::toBytes(read->note, id, kModified, QStringLiteral("fuzz"));
    const std::optional<SyncNoteFile::Content> again = SyncNoteFile::fromBytes(written, kLoadMoment);
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(SyncNoteFile::hash(again->note) == hash);
    FUZZ_CHECK(again->syncId == id);
    FUZZ_CHECK(again->modified == kModified);
    fuzzSameBytes(written, SyncNoteFile::toBytes(again->note, id, kModified, QStringLiteral("fuzz")),
                  "two writes of the same note");
    return 0;
}
