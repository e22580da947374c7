// Times sync with a full table of 1001 notes with 2000-character texts: the first merge into an
// empty sync folder (every note gets its identity and its file), and one changed note reaching
// the folder after a save. For each it prints the elapsed time and the longest pause of the GUI
// thread while it ran, as seen by a 1 ms timer on that thread.
// Run headless: QT_QPA_PLATFORM=offscreen build/bin/bench_sync [runs]
#include "app/NoteSync.h"
#include "app/StickyNote.h"
#include "notes/PostIt.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "store/NoteStore.h"
#include "sync/SyncNoteFile.h"
#include "FullTable.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The longest time the GUI thread went without running its 1 ms timer.
class PauseProbe
{
public:
    PauseProbe()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
    }
    void start()
    {
        m_longest = 0;
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }
    double stopMs()
    {
        m_timer.stop();
        return m_longest / 1e6;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

// Runs the event loop until the engine has finished a merge.
bool waitForMerge(SyncEngine &engine, int timeoutMs = 60000)
{
    QEventLoop loop;
    bool done = false;
    const auto c = QObject::connect(&engine, &SyncEngine::mergeFinished, &loop, [&] {
        done = true;
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(c);
    return done;
}

// Lets the merges the engine's own writes set off (change notices of the folder) run out.
void settle(SyncEngine &engine)
{
    QElapsedTimer quiet;
    quiet.start();
    while (quiet.elapsed() < 1000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (engine.busy())
            quiet.restart();
    }
}

// The floor of a first merge on this disk: the same number of files of the same size made
// plainly (create, write, close), one flush of the file system, renamed into place.
double floorMs(const QString &folder, const QByteArray &bytes)
{
    QDir().mkpath(folder);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < NoteStore::kMaxNotes; ++i) {
        const QByteArray name = QFile::encodeName(folder + QStringLiteral("/f%1.tmp").arg(i));
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size())
            return -1;
        ::close(fd);
    }
    const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    ::syncfs(dir);
    for (int i = 0; i < NoteStore::kMaxNotes; ++i)
        ::rename(QFile::encodeName(folder + QStringLiteral("/f%1.tmp").arg(i)).constData(),
                 QFile::encodeName(folder + QStringLiteral("/f%1").arg(i)).constData());
    ::fsync(dir);
    ::close(dir);
    return timer.nsecsElapsed() / 1e6;
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Dialogs::setTestMode(true);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;

    QList<double> firstMs, firstPause, oneMs, onePause, saveMs, floors;
    for (int run = 0; run < runs; ++run) {
        QTemporaryDir home;
        const QString dataFolder = home.path() + QStringLiteral("/Corkvane/bench/data/");
        const QString syncFolder = home.path() + QStringLiteral("/Sync");
        QDir().mkpath(syncFolder);
        writeHiddenFullStore(dataFolder);

        TfStickyNote controller({Paths::programFolder(), home.path(), QStringLiteral("bench")});
        controller.startupStep();  // sync is off: the store holds no folder yet
        SyncEngine &engine = controller.noteSync()->engine();

        PauseProbe probe;
        controller.settings().recSync.Folder = syncFolder;
        controller.noteSync()->configure();
        QElapsedTimer timer;
        probe.start();
        timer.start();
        engine.requestMerge();
        if (!waitForMerge(engine)) {
            std::fprintf(stderr, "the first merge did not finish\n");
            return 1;
        }
        firstMs << timer.nsecsElapsed() / 1e6;
        firstPause << probe.stopMs();
        const int files = int(QDir(syncFolder + QStringLiteral("/notes")).entryList(QDir::Files).size());
        if (files != NoteStore::kMaxNotes || engine.lastOutcome().sent != NoteStore::kMaxNotes) {
            std::fprintf(stderr, "the first merge wrote %d files\n", files);
            return 1;
        }
        QFile one(QDir(syncFolder + QStringLiteral("/notes")).entryInfoList(QDir::Files).first().filePath());
        one.open(QIODevice::ReadOnly);
        floors << floorMs(home.path() + QStringLiteral("/floor"), one.readAll());

        for (int change = 0; change < 5; ++change) {
            settle(engine);
            TfPostIt *note = controller.note(500 + change);
            const QString text = note->text() + QStringLiteral("\r\nmudou %1").arg(change);
            note->setText(text);
            probe.start();
            timer.restart();
            QElapsedTimer save;
            save.start();
            controller.saveStore();  // the save starts the merge
            saveMs << save.nsecsElapsed() / 1e6;
            if (!waitForMerge(engine)) {
                std::fprintf(stderr, "the merge after the save did not finish\n");
                return 1;
            }
            oneMs << timer.nsecsElapsed() / 1e6 - saveMs.last();
            onePause << probe.stopMs();
            QFile file(syncFolder + QStringLiteral("/notes/") + note->syncId() + QStringLiteral(".cvn"));
            const auto content = file.open(QIODevice::ReadOnly)
                                     ? SyncNoteFile::fromBytes(file.readAll(), QDateTime::currentDateTime())
                                     : std::nullopt;
            if (!content || content->note.note != text || engine.lastOutcome().sent != 1) {
                std::fprintf(stderr, "the changed note did not reach the folder (%d sent)\n", engine.lastOutcome().sent);
                return 1;
            }
        }
    }

    std::printf("sync of 1001 notes of 2000 characters, median of %lld run(s)\n", qlonglong(firstMs.size()));
    std::printf("  first merge into an empty folder:   %8.1f ms   longest GUI pause %6.1f ms\n", median(firstMs),
                median(firstPause));
    std::printf("  one changed note after a save:      %8.1f ms   longest GUI pause %6.1f ms"
                "   (the save itself %.1f ms)\n",
                median(oneMs), median(onePause), median(saveMs));
    std::printf("  floor: 1001 such files made plainly, one flush, renamed: %.1f ms"
                " (the first merge is %.2f times it)\n",
                median(floors), median(firstMs) / std::max(1.0, median(floors)));
    std::printf("  worst of all runs: first merge %.1f ms (pause %.1f ms), one note %.1f ms (pause %.1f ms)\n",
                *std::max_element(firstMs.begin(), firstMs.end()), *std::max_element(firstPause.begin(), firstPause.end()),
                *std::max_element(oneMs.begin(), oneMs.end()), *std::max_element(onePause.begin(), onePause.end()));
    return 0;
}
