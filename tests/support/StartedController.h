#pragma once
// The program's controller as the tests run it: user "tester", a home folder of the test's own,
// the store the test wrote, and the start-up step already run.
#include "app/StickyNote.h"
#include "support/TestFiles.h"

#include <QByteArray>
#include <QDir>
#include <QString>
#include <memory>

// Where the program keeps tester's store under `home`.
inline QString testerDataFolder(const QString &home)
{
    return home + QStringLiteral("/Corkvane/tester/data/");
}

// Writes `store` as tester's stickies.cvf under `home` (an empty `store` writes nothing: the run
// is then a first one, or takes what the test left there), then makes and starts the controller.
inline std::unique_ptr<TfStickyNote> startedController(const QString &programFolder, const QString &home,
                                                       const QByteArray &store = {})
{
    if (!store.isEmpty()) {
        QDir().mkpath(testerDataFolder(home));
        TestFiles::writeAll(testerDataFolder(home) + QStringLiteral("stickies.cvf"), store);
    }
    auto controller = std::make_unique<TfStickyNote>(TfStickyNote::Folders{programFolder, home, QStringLiteral("tester")});
    controller->startupStep();
    return controller;
}
