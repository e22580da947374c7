#pragma once
// For the desktop benchmark: with CORKVANE_STARTUP_TRACE set in the environment, the program
// prints "painted" on its standard output once every note shown at start has been painted for
// the first time, the moment a user sees the whole desk. Without it nothing is watched.
#include <QList>

class QWidget;

namespace StartupTrace {

void watch(const QList<QWidget *> &shown);

} // namespace StartupTrace
