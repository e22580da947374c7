// Times what the user waits for with a full table: the controller's Load of a store of 1001
// notes with 2000-character texts, windows included, its Save from those windows, and the
// notes window over them (opening, and one search as typed).
// Run headless: QT_QPA_PLATFORM=offscreen build/bin/bench_startup
#include "app/StickyNote.h"
#include "notes/Notas.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "store/NoteStore.h"
#include "FullTable.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Dialogs::setTestMode(true);

    QTemporaryDir home;
    const QString dataFolder = home.path() + QStringLiteral("/Corkvane/bench/data/");
    writeHiddenFullStore(dataFolder);

    TfStickyNote controller({Paths::programFolder(), home.path(), QStringLiteral("bench")});
    QElapsedTimer timer;
    timer.start();
    controller.loadStore();
    const double loadMs = timer.nsecsElapsed() / 1e6;

    double bestSave = 1e9;
    for (int i = 0; i < 11; ++i) {
        timer.restart();
        const QString error = controller.saveStore();
        bestSave = std::min(bestSave, timer.nsecsElapsed() / 1e6);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
    }
    timer.restart();
    controller.openNotesWindow();
    QCoreApplication::processEvents();
    const double openMs = timer.nsecsElapsed() / 1e6;
    // Each keystroke filters the whole list again: a word every note holds, and one none holds.
    QLineEdit *search = controller.notesWindow()->searchField();
    double bestKey[2] = {1e9, 1e9};
    int listed[2] = {-1, -1};
    for (int i = 0; i < 22; ++i) {
        const int which = i % 2;
        search->setText(QStringLiteral("acentuaca"));
        timer.restart();
        search->setText(which ? QStringLiteral("acentuacaz") : QStringLiteral("acentuacao"));
        bestKey[which] = std::min(bestKey[which], timer.nsecsElapsed() / 1e6);
        listed[which] = int(controller.notesWindow()->listedSlots().size());
    }

    std::printf("notes loaded: %d\n", controller.noteTable().count());
    std::printf("Load with hidden windows: %.1f ms\n", loadMs);
    std::printf("Save from the windows (best of 11): %.2f ms\n", bestSave);
    std::printf("store size: %lld bytes\n", static_cast<long long>(QFileInfo(controller.storePath()).size()));
    std::printf("Notes window opened over them: %.1f ms\n", openMs);
    std::printf("One search keystroke over them (best of 11): %.2f ms with %d listed, %.2f ms with %d\n", bestKey[0],
                listed[0], bestKey[1], listed[1]);
    return 0;
}
