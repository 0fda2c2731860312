#include "clock.h"

#include <QDateTime>
#include <QElapsedTimer>

namespace vn {

namespace {

class SystemClock : public Clock {
public:
    SystemClock() { timer_.start(); }
    DateTime now() const override { return FromQDateTime(QDateTime::currentDateTime()); }
    qint64 tickCount() const override { return timer_.elapsed(); }

private:
    QElapsedTimer timer_;
};

Clock* g_clock = nullptr;

} // namespace

Clock& CurrentClock()
{
    static SystemClock system;
    return g_clock ? *g_clock : system;
}

void SetClock(Clock* clock)
{
    g_clock = clock;
}

} // namespace vn
