#pragma once
// Writes small wave files (and things that only look like them) for the sound tests.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

namespace WaveFiles {

inline QByteArray le32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian<quint32>(v, b.data());
    return b;
}

inline QByteArray le16(quint16 v)
{
    QByteArray b(2, '\0');
    qToLittleEndian<quint16>(v, b.data());
    return b;
}

inline QByteArray chunk(const QByteArray &id, const QByteArray &body)
{
    QByteArray c = id + le32(static_cast<quint32>(body.size())) + body;
    if (body.size() % 2)
        c.append('\0');
    return c;
}

inline QByteArray fmtChunk(quint16 tag, quint16 channels, quint32 rate, quint16 bits)
{
    const quint16 align = static_cast<quint16>(channels * bits / 8);
    return chunk("fmt ", le16(tag) + le16(channels) + le32(rate) + le32(rate * align) + le16(align) + le16(bits));
}

inline QByteArray riff(const QByteArray &chunks)
{
    return "RIFF" + le32(static_cast<quint32>(4 + chunks.size())) + "WAVE" + chunks;
}

// Mono 16-bit PCM silence of the given length.
inline QByteArray silence(int ms, quint32 rate = 8000)
{
    return riff(fmtChunk(1, 1, rate, 16) + chunk("data", QByteArray(int(rate * 2 * ms / 1000), '\0')));
}

inline bool write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace WaveFiles
