// Times the store with a full table: 1001 notes of 2000-character texts.
#include "platform/Locale.h"
#include "store/NoteStore.h"
#include "FullTable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {


double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

struct Timing
{
    double wall;  // median elapsed time, ms
    double cpu;   // median processor time, ms: what the figure would be on an idle machine
};

// Medians of several runs. On a busy machine the elapsed time includes waiting for a core.
int g_runs = 21;

Timing timeIt(const std::function<void()> &step)
{
    const int runs = g_runs;
    std::vector<double> wall, cpu;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        const double c0 = cpuMs();
        t.start();
        step();
        wall.push_back(double(t.nsecsElapsed()) / 1e6);
        cpu.push_back(cpuMs() - c0);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc > 1)  // the number of runs, 21 by default
        g_runs = std::max(1, QByteArray(argv[1]).toInt());
    Locale::overrideLocaleId(Locale::kPortugueseBrazil);
    QTemporaryDir dir;
    const QString path = dir.filePath(NoteStore::fileName());
    const QDateTime moment = QDateTime::currentDateTime();

    AppSettings settings;
    settings.recRede.BlockList = {QStringLiteral("10.0.0.1"), QStringLiteral("10.0.0.2")};
    const QList<NoteData> notes = fullTable();
    if (!NoteStore::save(path, settings, notes, true)) {
        std::fprintf(stderr, "first save failed\n");
        return 1;
    }
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray bytes = f.readAll();
    f.close();

    volatile qsizetype sink = 0;
    const Timing parse = timeIt([&] { sink = IniFile(bytes).sections().size(); });
    const IniFile parsed(bytes);
    const Timing read = timeIt([&] { sink = NoteStore::read(parsed, moment, "u", "/p/").notes.size(); });
    const Timing load = timeIt([&] { sink = NoteStore::load(path, moment, "u", "/p/").notes.size(); });
    const Timing image = timeIt([&] {
        IniFile ini(bytes);
        NoteStore::write(ini, settings, notes, true);
        sink = ini.toBytes().size();
    });
    const Timing save = timeIt([&] { sink = NoteStore::save(path, settings, notes, true).ok; });
    const Timing flushed = timeIt([&] { sink = parsed.saveToFile(path); });
    // The program's auto-save: the cache of the last save, then nothing or one note changed.
    NoteStore::SaveCache cache;
    NoteStore::save(path, settings, notes, true, &cache);
    const Timing unchanged = timeIt([&] { sink = NoteStore::save(path, settings, notes, true, &cache).ok; });
    QList<NoteData> edited = notes;
    int round = 0;
    const Timing oneChanged = timeIt([&] {
        edited[500].note = QStringLiteral("edit %1").arg(++round) + notes[500].note.mid(10);
        sink = NoteStore::save(path, settings, edited, true, &cache).ok;
    });

    // Every third note has an alarm: its moment is read in the region's own form.
    std::vector<std::pair<const char *, Timing>> regions;
    for (const char *region : {"en_GB.UTF-8", "de_DE.UTF-8"}) {
        Locale::overrideFormatLocale(QString::fromLatin1(region));
        IniFile ini;
        NoteStore::write(ini, settings, notes, true);
        const IniFile regional(ini.toBytes());
        regions.emplace_back(region, timeIt([&] { sink = NoteStore::read(regional, moment, "u", "/p/").notes.size(); }));
    }
    Locale::overrideFormatLocale(QString());

    std::printf("store of %d notes, 2000-character texts: %lld bytes\n", int(notes.size()),
                static_cast<long long>(QFileInfo(path).size()));
    std::printf("median of %2d runs %-21s %9s %9s\n", g_runs, "", "elapsed", "processor");
    auto line = [](const char *what, const Timing &t) {
        std::printf("%-40s %6.2f ms %6.2f ms\n", what, t.wall, t.cpu);
    };
    line("parse (bytes -> profile)", parse);
    line("read (profile -> settings and notes)", read);
    for (const auto &[region, timing] : regions)
        line(qPrintable(QStringLiteral("read, dates of %1").arg(QString::fromLatin1(region).section('.', 0, 0))), timing);
    line("Load (file -> settings and notes)", load);
    line("write (notes -> profile -> bytes)", image);
    line("atomic flushed write of the bytes", flushed);
    line("Save (read file, write, atomic save)", save);
    line("Save again, nothing changed (cache)", unchanged);
    line("Save again, one note changed (cache)", oneChanged);
    std::printf("ratio of the program's save to the flushed write: %.2f (nothing changed), %.2f (one note)\n",
                unchanged.wall / flushed.wall, oneChanged.wall / flushed.wall);
    return 0;
}
