// The note protocol interpreter on any received lines, over a note table without windows.
// Several connections interleave their lines, the user deletes notes between lines and the
// server lets notes in progress go; the interpreter must never touch a note that is gone, must
// fail only with its own command errors, and must keep what a sender makes of a note bounded.
//
// Input: lines ending in CR LF. A line starting with 0x01 is an event instead of a command:
// 0x01 'c' n (lines go to connection n), 0x01 'd' n (the user deletes the n-th note),
// 0x01 'l' (the server lets the current connection's note go). The first byte of the input is
// the note table's capacity.
#include "FuzzCheck.h"
#include "net/FakeNoteSink.h"

#include <QFileInfo>
#include <array>

namespace {

constexpr int kConnections = 3;
const QString kFolder = QStringLiteral("/opt/corkvane/");

void checkNote(const FakeNote &note, const QString &fallback)
{
    FUZZ_CHECK(note.textWidth >= 0 && note.textWidth <= NoteProtocol::kMaxExtent);
    FUZZ_CHECK(note.textHeight >= 0 && note.textHeight <= NoteProtocol::kMaxExtent);
    FUZZ_CHECK(note.font.size >= 1 && note.font.size <= NoteProtocol::kMaxFontSize);
    qsizetype text = 0;
    for (const QString &line : note.lines)
        text += line.size() + 2;
    FUZZ_CHECK(text <= NoteProtocol::kMaxReceivedText + 2);
    // A sound file named by the sender is kept only when it is a file here; an "alarm" that
    // failed before its sound field leaves the note's own (empty) one.
    if (note.alarm.useSound && note.alarm.soundFile != fallback && !note.alarm.soundFile.isEmpty()) {
        const QFileInfo sound(note.alarm.soundFile);
        FUZZ_CHECK(sound.isAbsolute() && sound.isFile());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    if (size == 0)
        return 0;
    FakeNoteSink sink(data[0] % 8);
    NoteInterpreter interpreter(sink, kFolder);
    std::array<FakeChannel, kConnections> channels;
    std::array<int, kConnections> inProgress;
    inProgress.fill(NoteInterpreter::kNoNote);
    int current = 0;

    const QByteArray stream(reinterpret_cast<const char *>(data) + 1, qsizetype(size) - 1);
    qsizetype from = 0;
    while (from < stream.size()) {
        qsizetype end = stream.indexOf("\r\n", from);
        if (end < 0)
            end = stream.size();
        const QByteArray line = stream.mid(from, end - from);
        from = end + 2;

        if (line.startsWith('\x01')) {
            const char event = line.size() > 1 ? line[1] : 0;
            const int arg = line.size() > 2 ? static_cast<unsigned char>(line[2]) : 0;
            if (event == 'c') {
                current = arg % kConnections;
            } else if (event == 'd' && !sink.notes.isEmpty()) {
                sink.notes.remove(sink.notes.keys().at(arg % sink.notes.size()));
            } else if (event == 'l' && inProgress[size_t(current)] >= 0) {
                inProgress[size_t(current)] = NoteInterpreter::kNoteLost;
            }
            continue;
        }

        int &note = inProgress[size_t(current)];
        try {
            interpreter.interpretLine(line, note, channels[size_t(current)]);
        } catch (const ENoteCommandError &error) {
            FUZZ_CHECK(error.what()[0] != '\0');
        }
        FUZZ_CHECK(note == NoteInterpreter::kNoNote || note == NoteInterpreter::kNoteLost
                   || note >= 0);
    }
    for (const FakeNote &note : std::as_const(sink.notes))
        checkNote(note, interpreter.fallbackSound());
    return 0;
}
