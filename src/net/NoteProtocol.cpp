#include "net/NoteProtocol.h"

#include "platform/Locale.h"
#include "platform/SplitFields.h"
#include "platform/TextCodec.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>

namespace {

const QByteArray kSeparatorBytes(1, NoteProtocol::kSeparator);
const QByteArray kCommandEnd = QByteArrayLiteral("\r\n\r\n");

// A value as one field: a separator in it would start a field of its own.
QByteArray fieldValue(const QString &text)
{
    QByteArray bytes = TextCodec::toWin1252(text);
    bytes.replace(NoteProtocol::kSeparator, NoteProtocol::kSeparatorStandIn);
    return bytes;
}

// A value that must stay on one line: a line break in it would end the command early and turn
// the rest of the value into a command of its own.
QByteArray oneLine(const QString &text)
{
    QByteArray bytes = fieldValue(text);
    bytes.replace('\r', ' ');
    bytes.replace('\n', ' ');
    return bytes;
}

// Bytes a receiver may make of one byte of a text line: its line editing turns a tab into one
// to eight blanks, depending on where the tab stands.
int receivedWidth(char c)
{
    return c == '\t' ? 8 : 1;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArray flag(bool on)
{
    return on ? QByteArrayLiteral("1") : QByteArrayLiteral("0");
}

QByteArray command(const QByteArray &word, const QList<QByteArray> &fields)
{
    QByteArray line = word;
    for (const QByteArray &field : fields) {
        line += NoteProtocol::kSeparator;
        line += field;
    }
    return line + kCommandEnd;
}

QString fieldText(const QByteArray &bytes)
{
    return TextCodec::fromWin1252(bytes);
}

const QByteArray &field(const QList<QByteArray> &fields, int index)
{
    if (index >= fields.size())
        throw EFieldMissing(QStringLiteral("\"%1\" has no field %2")
                                .arg(fieldText(fields.value(0)).toLower())
                                .arg(index)
                                .toStdString());
    return fields.at(index);
}

int number(const QList<QByteArray> &fields, int index)
{
    const QByteArray &raw = field(fields, index);
    bool ok = false;
    const int value = raw.trimmed().toInt(&ok, 10);
    if (!ok)
        throw EBadFieldValue(QStringLiteral("'%1' is not a valid integer value (field %2 of \"%3\")")
                                 .arg(fieldText(raw))
                                 .arg(index)
                                 .arg(fieldText(fields.at(0)).toLower())
                                 .toStdString());
    return value;
}

QDateTime moment(const QList<QByteArray> &fields, int index)
{
    const QByteArray &raw = field(fields, index);
    const QDateTime when = Locale::parseStoredDateTime(fieldText(raw));
    if (!when.isValid())
        throw EBadFieldValue(QStringLiteral("'%1' is not a valid date and time (field %2 of \"%3\")")
                                 .arg(fieldText(raw))
                                 .arg(index)
                                 .arg(fieldText(fields.at(0)).toLower())
                                 .toStdString());
    return when;
}

} // namespace

namespace NoteProtocol {

QByteArray encodeNew(const OutgoingNote &note)
{
    return command("new", {oneLine(note.user), oneLine(note.title), QByteArray::number(note.colour),
                           QByteArray::number(note.textWidth), QByteArray::number(note.textHeight),
                           QByteArray::number(note.captionColour), oneLine(note.font.name),
                           QByteArray::number(note.font.size), QByteArray::number(note.font.colour),
                           note.font.bold ? QByteArrayLiteral("bold") : QByteArrayLiteral("nobold"),
                           note.font.italic ? QByteArrayLiteral("italic") : QByteArrayLiteral("noitalic")});
}

QByteArray encodeAlarm(const NoteAlarm &alarm)
{
    const QString when = Locale::formatDate(alarm.moment.date()) + QLatin1Char(' ')
                         + Locale::formatTime(alarm.moment.time());
    QList<QByteArray> fields{oneLine(when), flag(alarm.useSound),
                             alarm.useSound ? oneLine(alarm.soundFile) : QByteArray()};
    if (alarm.remember) {
        fields << QByteArrayLiteral("1") << QByteArray::number(alarm.rememberNo)
               << QByteArray::number(alarm.rememberUnit);
        for (bool day : alarm.dia)
            fields << flag(day);
    }
    // The line ends with a separator: without recurrence, field 4 is the empty last field.
    fields << QByteArray();
    return command("alarm", fields);
}

QList<QByteArray> splitTextLine(const QByteArray &bytes)
{
    QList<QByteArray> pieces;
    qsizetype start = 0;
    for (;;) {
        // The longest run from `start` a receiver keeps whole, and the last blank in it.
        qsizetype end = start;
        qsizetype afterBlank = -1;
        int width = 0;
        while (end < bytes.size() && width + receivedWidth(bytes.at(end)) <= kMaxLineTextBytes) {
            width += receivedWidth(bytes.at(end));
            if (isBlank(bytes.at(end)))
                afterBlank = end + 1;
            ++end;
        }
        if (end == bytes.size()) {
            pieces << bytes.mid(start);
            return pieces;
        }
        // The blank stays at the end of its piece, where it shows least.
        if (afterBlank > start)
            end = afterBlank;
        pieces << bytes.mid(start, end - start);
        start = end;
    }
}

QList<QByteArray> encodeLine(const QString &textLine)
{
    QByteArray bytes = fieldValue(textLine);
    bytes.replace('\r', '_');
    bytes.replace('\n', '^');
    QList<QByteArray> commands;
    for (const QByteArray &piece : splitTextLine(bytes))
        commands << command("line", {piece});
    return commands;
}

QByteArray encodeEnd()
{
    return command("end", {QByteArray()});
}

QStringList textLines(const QString &text)
{
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (text.endsWith(QStringLiteral("\r\n")))
        lines.removeLast();
    return lines;
}

QList<QByteArray> encodeNote(const OutgoingNote &note)
{
    QList<QByteArray> commands{encodeNew(note)};
    if (note.alarm.armed)
        commands << encodeAlarm(note.alarm);
    for (const QString &line : textLines(note.text))
        commands << encodeLine(line);
    commands << encodeEnd();
    return commands;
}

} // namespace NoteProtocol

NoteInterpreter::NoteInterpreter(NoteSink &sink, QString programFolder)
    : m_sink(sink), m_programFolder(std::move(programFolder))
{
}

QString NoteInterpreter::fallbackSound() const
{
    return m_programFolder + QStringLiteral("boing.wav");
}

void NoteInterpreter::interpretLine(const QByteArray &line, int &noteInProgress, CommandChannel &channel)
{
    const QByteArray cut = line.left(NoteProtocol::kMaxLineBytes);
    for (const QByteArray &piece : SplitFields(cut, QByteArrayLiteral("\r\n"), false)) {
        const QList<QByteArray> fields = SplitFields(piece, kSeparatorBytes, true);
        if (!fields.isEmpty())
            runCommand(fields, noteInProgress, channel);
    }
}

void NoteInterpreter::runCommand(const QList<QByteArray> &fields, int &noteInProgress, CommandChannel &channel)
{
    const QByteArray word = fields.at(0).toLower();
    if (word == "help") {
        channel.reply(NoteProtocol::kHelpText);
    } else if (word == "exit") {
        channel.closeLater();
    } else if (word == "new") {
        commandNew(fields, noteInProgress, channel);
    } else if (word == "alarm" || word == "line" || word == "end") {
        if (noteInProgress == kNoNote)
            return;
        requireNote(noteInProgress, word.constData());
        if (word == "alarm") {
            commandAlarm(fields, noteInProgress);
        } else if (word == "line") {
            commandLine(fields, noteInProgress, channel);
        } else {
            m_sink.finishNote(noteInProgress);
            noteInProgress = kNoNote;
        }
    }
    // Any other word, "reply" among them, is not a command of this side.
}

void NoteInterpreter::requireNote(int slot, const char *command) const
{
    if (slot == kNoteLost)
        throw ENoteGone(QStringLiteral("the note in progress was let go when the server stopped, before \"%1\"")
                            .arg(QLatin1String(command))
                            .toStdString());
    if (!m_sink.noteExists(slot))
        throw ENoteGone(QStringLiteral("the note in progress (slot %1) was deleted before \"%2\"")
                            .arg(slot)
                            .arg(QLatin1String(command))
                            .toStdString());
}

void NoteInterpreter::commandNew(const QList<QByteArray> &fields, int &noteInProgress, CommandChannel &channel)
{
    // A sender that starts notes faster than anyone reads them would bury the desktop (and,
    // slot by slot, the user's own room for notes).
    if (!m_noteRate.take(channel.peerAddress())) {
        noteInProgress = kNoNote;
        channel.log(QStringLiteral("Too many notes from %1: note refused.").arg(channel.peerAddress()));
        return;
    }
    const int slot = m_sink.createReceivedNote();
    // Without a free slot nothing is created, and the rest of this note (alarm, lines, end)
    // finds no note in progress, so it cannot land in a note started earlier.
    noteInProgress = slot < 0 ? kNoNote : slot;
    if (slot < 0) {
        channel.log(QStringLiteral("Note table full: note from %1 refused.").arg(channel.peerAddress()));
        return;
    }
    m_receivedText.insert(slot, 0);

    m_sink.setTitle(slot, fieldText(field(fields, 2)));
    m_sink.setNoteColour(slot, number(fields, 3));
    m_sink.setCaptionColour(slot, number(fields, 6));
    m_sink.setTextWidth(slot, std::clamp(number(fields, 4), 0, NoteProtocol::kMaxExtent));
    m_sink.setTextHeight(slot, std::clamp(number(fields, 5), 0, NoteProtocol::kMaxExtent));
    m_sink.setReplyAddress(slot, channel.peerAddress());

    // A failing font field keeps the ones read before it: a bad size keeps the new name.
    NoteFont font = m_sink.textFont(slot);
    try {
        font.name = fieldText(field(fields, 7));
        font.size = std::clamp(number(fields, 8), 1, NoteProtocol::kMaxFontSize);
        font.colour = number(fields, 9);
        font.bold = field(fields, 10) == "bold";
        font.italic = field(fields, 11) == "italic";
    } catch (...) {
        m_sink.setTextFont(slot, font);
        throw;
    }
    m_sink.setTextFont(slot, font);

    m_sink.setFooter(slot, QCoreApplication::translate("NoteProtocol", "De ") + fieldText(fields.at(1))
                               + QStringLiteral(" (") + channel.peerAddress() + QLatin1Char(')'));
}

void NoteInterpreter::commandAlarm(const QList<QByteArray> &fields, int slot)
{
    NoteAlarm alarm = m_sink.alarm(slot);
    // Armed first: a moment that cannot be read leaves the alarm armed at the note's old moment.
    alarm.armed = true;
    try {
        alarm.moment = moment(fields, 1);
        alarm.useSound = field(fields, 2) == "1";
        if (alarm.useSound) {
            alarm.soundFile = fieldText(field(fields, 3));
            // The sender's path names a file on its own machine; only a regular file here is
            // worth playing (a device or a pipe would never end).
            const QFileInfo info(alarm.soundFile);
            if (!info.isAbsolute() || !info.isFile())
                alarm.soundFile = fallbackSound();
        }
        alarm.remember = field(fields, 4) == "1";
        if (alarm.remember) {
            alarm.rememberNo = number(fields, 5);
            alarm.rememberUnit = number(fields, 6);
            for (int day = 0; day < 7; ++day)
                alarm.dia[static_cast<size_t>(day)] = field(fields, 7 + day) == "1";
        }
    } catch (...) {
        m_sink.setAlarm(slot, alarm);
        throw;
    }
    m_sink.setAlarm(slot, alarm);
    m_sink.showAlarmIcon(slot);
}

void NoteInterpreter::commandLine(const QList<QByteArray> &fields, int slot, CommandChannel &channel)
{
    QByteArray bytes = field(fields, 1);
    bytes.replace("_^", "\r\n");
    qsizetype &received = m_receivedText[slot];
    if (received + bytes.size() > NoteProtocol::kMaxReceivedText) {
        channel.log(QStringLiteral("Text limit reached: line from %1 dropped.").arg(channel.peerAddress()));
        return;
    }
    received += bytes.size() + 2;
    m_sink.appendLine(slot, fieldText(bytes));
}
