// What keeping earlier states costs on a full note table (1001 notes of 2000 characters): the
// snapshot a start takes before anything is written (a new copy, and the same bytes found again),
// the retention rule over a year of names, a deletion into a trash of 500 notes, the trash dialog's
// read, and the restore dialog's list of 50 copies.
//   build/bin/bench_recovery
#include "FullTable.h"

#include "platform/Clock.h"
#include "store/IniFile.h"
#include "store/NoteTrash.h"
#include "store/Snapshots.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

// Best of `runs`, in milliseconds.
double best(int runs, const std::function<void()> &step, const std::function<void()> &before = {})
{
    double fastest = 1e18;
    for (int i = 0; i < runs; ++i) {
        if (before)
            before();
        QElapsedTimer t;
        t.start();
        step();
        fastest = std::min(fastest, t.nsecsElapsed() / 1e6);
    }
    return fastest;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString store = dir.filePath("stickies.cvf");
    const QList<NoteData> notes = fullTable();
    IniFile ini;
    NoteStore::write(ini, AppSettings(), notes, true);
    ini.saveToFile(store);
    std::printf("store: %d notes, %lld bytes\n", int(notes.size()), static_cast<long long>(QFileInfo(store).size()));

    QDateTime now(QDate(2026, 12, 8), QTime(9, 0));
    const QString folder = Snapshots::folderBeside(store);
    const double copy = best(11, [&] { Snapshots::take(store, now); }, [&] {
        QDir(folder).removeRecursively();
        now = now.addSecs(1);
    });
    std::printf("Snapshot at start, a new copy (best of 11): %.2f ms\n", copy);
    const double same = best(11, [&] { Snapshots::take(store, now); });
    std::printf("Snapshot at start, the same bytes as the newest (best of 11): %.2f ms\n", same);

    QStringList year;
    for (int i = 0; i < 365 * 4; ++i)
        year << Snapshots::nameFor(now.addSecs(-6 * 3600 * i));
    QStringList removed;
    const double rule = best(11, [&] { removed = Snapshots::toRemove(year, now); });
    std::printf("Retention over %d names (best of 11): %.2f ms, %d removed\n", int(year.size()), rule,
                int(removed.size()));

    NoteTrash trash(dir.filePath("trash.cvf"));
    for (int i = 0; i < 500; ++i)
        trash.add(notes.at(i), now.addSecs(-60 * i));
    std::printf("trash: 500 notes, %lld bytes\n", static_cast<long long>(QFileInfo(trash.path()).size()));
    const double add = best(11, [&] {
        QString id;
        trash.add(notes.at(600), now, nullptr, &id);
        trash.take({id}, now);
    });
    std::printf("A deletion into it and its restore (best of 11): %.2f ms\n", add);
    const double list = best(11, [&] { trash.entries(now); });
    std::printf("Listing it (best of 11): %.2f ms\n", list);

    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    for (int i = 0; i < 50; ++i) {
        IniFile::saveBytes(folder + Snapshots::nameFor(now.addSecs(-3600 * i)), ini.toBytes() + "; " + QByteArray::number(i) + "\r\n");
    }
    int listed = 0;
    const double copies = best(5, [&] { listed = int(Snapshots::copies(store, QString()).size()); });
    std::printf("Restore dialog's list of %d full copies (best of 5): %.1f ms\n", listed, copies);
    return 0;
}
