#include "platform/WavePlayer.h"
#include "support/WaveFiles.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace WaveFiles;

class TestWavePlayer : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void headerOfAWaveFileIsRead()
    {
        // A LIST chunk of odd length before "fmt " must be skipped with its pad byte.
        const QByteArray bytes = riff(chunk("LIST", "abc") + fmtChunk(1, 2, 22050, 16)
                                      + chunk("data", QByteArray(22050 * 4 / 2, '\0')));
        QVERIFY(write(path("stereo.wav"), bytes));
        const WaveHeader h = ReadWaveHeader(path("stereo.wav"));
        QVERIFY(h.valid);
        QCOMPARE(h.channels, 2);
        QCOMPARE(h.sampleRate, 22050);
        QCOMPARE(h.bitsPerSample, 16);
        QCOMPARE(h.durationMs(), 500);
    }

    void headerClipsADataSizeLongerThanTheFile()
    {
        QByteArray bytes = riff(fmtChunk(1, 1, 8000, 8) + "data" + le32(0x7fffffff) + QByteArray(800, '\x80'));
        QVERIFY(write(path("short.wav"), bytes));
        const WaveHeader h = ReadWaveHeader(path("short.wav"));
        QVERIFY(h.valid);
        QCOMPARE(h.dataBytes, 800);
        QCOMPARE(h.durationMs(), 100);
    }

    void filesThatAreNotWaveFilesAreRejected_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("text") << QByteArray("this is not a sound\r\n");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("riff but avi") << QByteArray("RIFF\x04\0\0\0AVI ", 12);
        QTest::newRow("no data chunk") << riff(fmtChunk(1, 1, 8000, 16));
        QTest::newRow("data before fmt") << riff(chunk("data", QByteArray(16, '\0')) + fmtChunk(1, 1, 8000, 16));
        QTest::newRow("compressed format") << riff(fmtChunk(2, 1, 8000, 4) + chunk("data", QByteArray(16, '\0')));
        QTest::newRow("zero channels") << riff(fmtChunk(1, 0, 8000, 16) + chunk("data", QByteArray(16, '\0')));
        QTest::newRow("cut inside fmt") << riff(fmtChunk(1, 1, 8000, 16)).left(28);
        QTest::newRow("huge chunk size")
            << QByteArray("RIFF\0\0\0\0WAVEjunk\xff\xff\xff\xff", 20) + fmtChunk(1, 1, 8000, 16);
    }

    void filesThatAreNotWaveFilesAreRejected()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(write(path("bad.wav"), bytes));
        QVERIFY(!ReadWaveHeader(path("bad.wav")).valid);

        TWavePlayer player;
        player.setAsynchronous(false);
        player.setFileName(path("bad.wav"));
        QSignalSpy before(&player, &TWavePlayer::beforePlay);
        QSignalSpy after(&player, &TWavePlayer::afterPlay);
        QVERIFY(!player.play());
        // The notifications come even when the file is refused.
        QCOMPARE(before.count(), 1);
        QCOMPARE(after.count(), 1);
    }

    void missingOrUnnamedFilesFailQuietly()
    {
        TWavePlayer player;
        player.setFileName(path("nowhere.wav"));
        QVERIFY(!player.play());
        player.setFileName(QString());
        QVERIFY(!player.play());
        player.setFileName(m_dir.path());  // a folder
        QVERIFY(!player.play());
    }

    void validFileCountsAsPlayedAndWaitingEnds()
    {
        // Holds with and without a sound card: a valid file is never reported as invalid.
        QVERIFY(write(path("tone.wav"), silence(300)));
        TWavePlayer player;
        player.setAsynchronous(false);
        player.setFileName(path("tone.wav"));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(player.play());
        QVERIFY2(clock.elapsed() < 300 + 2000 + 5000, "the wait for the end is bounded");
        QVERIFY(!player.isPlaying());

        TWavePlayer async;
        async.setFileName(path("tone.wav"));
        clock.restart();
        QVERIFY(async.play());
        QVERIFY(clock.elapsed() < 1000);
        async.stop();
    }

    void loopNeedsAsynchronousPlay()
    {
        TWavePlayer player;
        QVERIFY(player.asynchronous());
        player.setLoop(true);
        QVERIFY(player.loop());
        player.setAsynchronous(false);
        QVERIFY(!player.loop());
        player.setLoop(true);
        QVERIFY(!player.loop());
    }

    void startingASoundStopsTheOtherPlayer()
    {
        if (!TWavePlayer::hasAudioOutput())
            QSKIP("no audio output on this machine: nothing plays, so nothing can be stopped");
        QVERIFY(write(path("long.wav"), silence(3000)));
        QVERIFY(write(path("tone.wav"), silence(300)));
        TWavePlayer first;
        first.setFileName(path("long.wav"));
        first.setLoop(true);
        QVERIFY(first.play());
        QTRY_VERIFY_WITH_TIMEOUT(first.isPlaying(), 5000);

        TWavePlayer second;
        second.setFileName(path("tone.wav"));
        QVERIFY(second.play());
        QVERIFY(!first.isPlaying());
        second.stop();
    }
};

QTEST_MAIN(TestWavePlayer)
#include "tst_waveplayer.moc"
