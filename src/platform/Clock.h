#pragma once
// Every read of "now" goes through here, so that tests can drive time.
#include <QDateTime>
#include <functional>

class Clock
{
public:
    static QDateTime now();
    // Replaces the time source; an empty function restores the system clock.
    static void setSource(std::function<QDateTime()> source);
};

// A controllable clock for tests: installs itself for its lifetime.
class MockClock
{
public:
    explicit MockClock(const QDateTime &start);
    ~MockClock();
    MockClock(const MockClock &) = delete;
    MockClock &operator=(const MockClock &) = delete;

    void set(const QDateTime &when) { m_now = when; }
    void advanceSecs(qint64 secs) { m_now = m_now.addSecs(secs); }
    QDateTime current() const { return m_now; }

private:
    QDateTime m_now;
};
