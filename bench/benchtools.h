#pragma once
// Small helpers shared by the benchmarks.
#include "foundation/clock.h"

#include <cstdio>
#include <ctime>

namespace vn::bench {

// CPU time of the process, without the waits for the disk.
inline double cpuMs()
{
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// One figure against its target: value, target, their ratio and a verdict.
inline void printAgainstTarget(const char* what, double value, double target, const char* unit)
{
    std::printf("%-22s %10.1f %s   target %.1f %s   ratio %.2f   %s\n", what, value, unit, target,
                unit, value / target, value <= target ? "ok" : "OVER");
}

// A clock the benchmark moves by hand.
class StepClock : public Clock {
public:
    DateTime value = 0;
    DateTime now() const override { return value; }
    qint64 tickCount() const override { return 0; }
};

} // namespace vn::bench
