#pragma once
// TWavePlayer: plays one wave file, either returning at once or after the sound has ended.
//
// The program plays one sound at a time: starting any player stops whatever another player of
// the program was playing (one process-wide current player). play() never throws; it reports
// whether the file was a playable wave file.
//
// Whether a file is playable is decided by its RIFF/WAVE header (read here, see
// ReadWaveHeader) and by the status of the sound effect behind the player. A machine without
// any audio output still counts a valid wave file as played: the missing sound card is not the
// file's fault.
//
// Typical use:
//   TWavePlayer wavSom;                 // asynchronous, no loop
//   wavSom.setFileName(path);
//   wavSom.play();                      // returns at once
//
//   TWavePlayer wavTeste;
//   wavTeste.setAsynchronous(false);    // play() returns after the end (bounded wait)
//   if (!wavTeste.play()) ...           // not a valid sound file
#include <QObject>
#include <QString>
#include <functional>


// What the header of a wave file says. `valid` is false for anything that is not a RIFF/WAVE
// file with a sane "fmt " chunk followed somewhere by a "data" chunk.
struct WaveHeader
{
    bool valid = false;
    int formatTag = 0;       // 1 PCM, 3 IEEE float, 0xFFFE extensible
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    qint64 dataBytes = 0;    // as declared, clipped to what the file really holds
    qint64 durationMs() const;
};

// Reads the header of the file at `path`; never throws. Missing or unreadable files are invalid.
WaveHeader ReadWaveHeader(const QString &path);

class TWavePlayer : public QObject
{
    Q_OBJECT
public:
    explicit TWavePlayer(QObject *parent = nullptr);
    ~TWavePlayer() override;

    QString fileName() const { return m_fileName; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }

    // Set (the default): play() returns at once and the sound goes on.
    // Clear: play() returns after the end of the sound. Clearing it also clears loop.
    bool asynchronous() const { return m_asynchronous; }
    void setAsynchronous(bool on);

    // Repeat until stopped; only possible while asynchronous, otherwise ignored.
    bool loop() const { return m_loop; }
    void setLoop(bool on);

    // Plays fileName(). True when the file is a playable wave file (also when the machine has no
    // audio output); false for a missing, unreadable or invalid file. Never throws.
    bool play();
    // Stops this player's sound, if any.
    void stop();
    bool isPlaying() const;

    // Upper bound of a waiting play(), over and above the sound's own length.
    static void setWaitMarginMs(int ms);

    // The system's default beep.
    static void defaultBeep();

    // True when the system offers at least one audio output device.
    static bool hasAudioOutput();

    // Tests see which files the program plays: the hook receives the file name of every play()
    // of every player, before the file is read. An empty hook switches it off.
    using PlayHook = std::function<void(const QString &fileName)>;
    static void setPlayHook(PlayHook hook);

signals:
    void beforePlay();
    void afterPlay();

private:
    bool playUnguarded();
    bool waitForLoad();
    void waitForEnd(qint64 soundMs);

    QString m_fileName;
    bool m_asynchronous = true;
    bool m_loop = false;
    QObject *m_effect = nullptr;  // the sound effect of the sound module
    quint64 m_playId = 0;  // changes whenever this player's sound is stopped
};
