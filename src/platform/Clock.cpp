#include "platform/Clock.h"

namespace {
std::function<QDateTime()> &source()
{
    static std::function<QDateTime()> s;
    return s;
}
} // namespace

QDateTime Clock::now()
{
    const auto &s = source();
    return s ? s() : QDateTime::currentDateTime();
}

void Clock::setSource(std::function<QDateTime()> fn)
{
    source() = std::move(fn);
}

MockClock::MockClock(const QDateTime &start) : m_now(start)
{
    Clock::setSource([this] { return m_now; });
}

MockClock::~MockClock()
{
    Clock::setSource({});
}
