#pragma once
// Waits, pumping the event loop, until the condition holds or the time is up.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <functional>

inline bool waitUntil(const std::function<bool()> &cond, int ms = 10000)
{
    QElapsedTimer t;
    t.start();
    while (!cond()) {
        if (t.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qWait(1);
    }
    return true;
}
