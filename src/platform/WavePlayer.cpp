#include "platform/WavePlayer.h"

#include "platform/Modules.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QtEndian>

namespace {

// The player whose sound is the one the program is playing now.
QPointer<TWavePlayer> &currentPlayer()
{
    static QPointer<TWavePlayer> current;
    return current;
}

TWavePlayer::PlayHook &playHook()
{
    static TWavePlayer::PlayHook hook;
    return hook;
}

int &waitMarginMs()
{
    static int margin = 2000;
    return margin;
}

// Loading a short wave file takes milliseconds; anything slower is treated as a failure.
constexpr int kLoadLimitMs = 5000;
// A single play() never waits longer than this, whatever the header claims.
constexpr qint64 kLongestWaitMs = 10 * 60 * 1000;
// Bounds the chunk walk of a damaged file.
constexpr int kMostChunks = 4096;

// The sound effect lives in libcorkvane-sound beside the program and is driven through its
// properties ("source", "loopCount", "status", "playing") and slots ("play", "stop").
struct SoundModule
{
    QObject *(*newEffect)(QObject *parent) = nullptr;
    bool (*hasOutput)() = nullptr;
};

const SoundModule &soundModule()
{
    static const SoundModule module = [] {
        SoundModule found;
        const QString module = QStringLiteral("corkvane-sound");
        found.newEffect = reinterpret_cast<QObject *(*)(QObject *)>(Modules::resolve(module, "corkvane_new_sound_effect"));
        found.hasOutput = reinterpret_cast<bool (*)()>(Modules::resolve(module, "corkvane_has_audio_output"));
        return found;
    }();
    return module;
}

// The effect's status values and its endless loop count.
constexpr int kStatusReady = 2;
constexpr int kStatusError = 3;
constexpr int kLoopForever = -2;

int effectStatus(const QObject *effect)
{
    return effect ? effect->property("status").toInt() : kStatusError;
}

bool effectPlaying(const QObject *effect)
{
    return effect && effect->property("playing").toBool();
}

void stopEffect(QObject *effect)
{
    if (effect)
        QMetaObject::invokeMethod(effect, "stop");
}

quint32 le32(const char *p) { return qFromLittleEndian<quint32>(p); }
quint16 le16(const char *p) { return qFromLittleEndian<quint16>(p); }

} // namespace

qint64 WaveHeader::durationMs() const
{
    if (!valid)
        return 0;
    const qint64 bytesPerSecond = qint64(sampleRate) * channels * (bitsPerSample / 8);
    return bytesPerSecond > 0 ? dataBytes * 1000 / bytesPerSecond : 0;
}

WaveHeader ReadWaveHeader(const QString &path)
{
    WaveHeader header;
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return header;
    const qint64 fileSize = file.size();

    const QByteArray riff = file.read(12);
    if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return header;

    bool haveFormat = false;
    qint64 pos = 12;
    for (int chunk = 0; chunk < kMostChunks && pos + 8 <= fileSize; ++chunk) {
        if (!file.seek(pos))
            return header;
        const QByteArray head = file.read(8);
        if (head.size() < 8)
            return header;
        const QByteArray id = head.left(4);
        const qint64 size = le32(head.constData() + 4);
        const qint64 body = pos + 8;

        if (id == "fmt ") {
            if (size < 16 || body + 16 > fileSize)
                return header;
            const QByteArray fmt = file.read(16);
            if (fmt.size() < 16)
                return header;
            header.formatTag = le16(fmt.constData());
            header.channels = le16(fmt.constData() + 2);
            header.sampleRate = static_cast<int>(qMin<quint32>(le32(fmt.constData() + 4), 0x7fffffff));
            header.bitsPerSample = le16(fmt.constData() + 14);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                return header;
            header.dataBytes = qMax<qint64>(0, qMin(size, fileSize - body));
            const bool knownFormat = header.formatTag == 1 || header.formatTag == 3 || header.formatTag == 0xFFFE;
            const bool knownDepth = header.bitsPerSample == 8 || header.bitsPerSample == 16
                                    || header.bitsPerSample == 24 || header.bitsPerSample == 32;
            header.valid = knownFormat && knownDepth && header.channels >= 1 && header.channels <= 8
                           && header.sampleRate >= 1000 && header.sampleRate <= 384000;
            return header;
        }
        pos = body + size + (size & 1);  // chunks are padded to an even length
    }
    return header;
}

TWavePlayer::TWavePlayer(QObject *parent) : QObject(parent) {}

TWavePlayer::~TWavePlayer()
{
    stopEffect(m_effect);
}

void TWavePlayer::setAsynchronous(bool on)
{
    m_asynchronous = on;
    if (!on)
        m_loop = false;
}

void TWavePlayer::setLoop(bool on)
{
    m_loop = on && m_asynchronous;
}

void TWavePlayer::setWaitMarginMs(int ms)
{
    waitMarginMs() = qMax(0, ms);
}

void TWavePlayer::setPlayHook(PlayHook hook)
{
    playHook() = std::move(hook);
}

void TWavePlayer::defaultBeep()
{
    QApplication::beep();
}

bool TWavePlayer::hasAudioOutput()
{
    const SoundModule &module = soundModule();
    return module.newEffect && module.hasOutput && module.hasOutput();
}

bool TWavePlayer::isPlaying() const
{
    return effectPlaying(m_effect);
}

void TWavePlayer::stop()
{
    ++m_playId;
    stopEffect(m_effect);
}

bool TWavePlayer::play()
{
    // A failing sound must never break the operation that asked for it.
    try {
        emit beforePlay();
        if (playHook())
            playHook()(m_fileName);
        const bool ok = playUnguarded();
        emit afterPlay();
        return ok;
    } catch (...) {
        return false;
    }
}

bool TWavePlayer::playUnguarded()
{
    const WaveHeader header = ReadWaveHeader(m_fileName);

    // Starting a sound stops the one the program is playing, even when the new file is bad.
    if (TWavePlayer *previous = currentPlayer(); previous && previous != this)
        previous->stop();
    stop();
    currentPlayer() = this;

    if (!header.valid)
        return false;
    if (!hasAudioOutput())
        return true;  // nothing can be heard; the file itself is fine

    if (m_effect) {
        stopEffect(m_effect);
        m_effect->deleteLater();
    }
    m_effect = soundModule().newEffect(this);
    m_effect->setProperty("loopCount", m_loop ? kLoopForever : 1);
    m_effect->setProperty("source", QUrl::fromLocalFile(m_fileName));

    if (m_asynchronous) {
        // The effect starts as soon as it has loaded; a file that then fails to load is silent.
        QMetaObject::invokeMethod(m_effect, "play");
        return true;
    }

    if (!waitForLoad())
        return false;
    QMetaObject::invokeMethod(m_effect, "play");
    waitForEnd(header.durationMs());
    return true;
}

bool TWavePlayer::waitForLoad()
{
    QPointer<QObject> effect = m_effect;
    auto settled = [&effect] {
        const int status = effectStatus(effect);
        return status == kStatusReady || status == kStatusError;
    };
    if (!settled()) {
        QEventLoop loop;
        QTimer limit;
        limit.setSingleShot(true);
        connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
        QTimer poll;
        connect(&poll, &QTimer::timeout, &loop, [&] {
            if (settled())
                loop.quit();
        });
        limit.start(kLoadLimitMs);
        poll.start(5);
        loop.exec();
    }
    return effectStatus(effect) == kStatusReady;
}

void TWavePlayer::waitForEnd(qint64 soundMs)
{
    QPointer<QObject> effect = m_effect;
    const quint64 playId = m_playId;
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    // The effect reports "playing" slightly after play(); stop waiting once it has gone quiet
    // again, or was stopped by another sound, or was replaced.
    QTimer poll;
    bool started = false;
    connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!effect || effect != m_effect || playId != m_playId) {
            loop.quit();
            return;
        }
        if (effectPlaying(effect))
            started = true;
        else if (started)
            loop.quit();
    });
    limit.start(static_cast<int>(qMin(kLongestWaitMs, soundMs + waitMarginMs())));
    poll.start(20);
    loop.exec();
}
