#include "net/NoteReceiver.h"

#include "net/BlockList.h"
#include "platform/TextCodec.h"

void NetEventLog::append(const QString &text)
{
    if (m_lines.size() > kMaxLines)
        m_lines.remove(0, kDroppedLines);
    m_lines.append(text);
}

QString formatConnectionDuration(qint64 seconds)
{
    const qint64 s = seconds < 0 ? 0 : seconds % 86400;
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600, 2, 10, QLatin1Char('0'))
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

NoteReceiver::NoteReceiver(const AppSettings &settings, NoteSink &sink, QString programFolder)
    : m_settings(settings), m_interpreter(sink, std::move(programFolder))
{
}

QByteArray NoteReceiver::stripLineEnd(const QByteArray &received)
{
    QByteArray line = received;
    while (!line.isEmpty() && (line.endsWith('\n') || line.endsWith('\r')))
        line.chop(1);
    return line;
}

void NoteReceiver::handleLine(const QByteArray &received, int &noteInProgress, CommandChannel &channel)
{
    const QByteArray line = stripLineEnd(received);

    const QString peer = channel.peerAddress();
    QString shown = TextCodec::fromWin1252(line.left(NetEventLog::kMaxLoggedLineBytes)) + QLatin1Char('\'');
    if (line.size() > NetEventLog::kMaxLoggedLineBytes)
        shown += QStringLiteral(" (cut, %1 bytes)").arg(line.size());
    channel.log(QStringLiteral("Received from ") + peer + QStringLiteral(": '") + shown);

    if (BlockList::blocks(m_settings.recRede.Blocktype, m_settings.recRede.BlockList, peer))
        return;
    // A line equal to the one handled just before, from whichever connection, is a repeat. The
    // blank line a sender writes after each command keeps real repeats of text apart.
    if (line == m_previousLine)
        return;
    m_previousLine = line;
    m_interpreter.interpretLine(line, noteInProgress, channel);
}
