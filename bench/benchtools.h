#pragma once
// Small helpers shared by the benchmarks.
#include "foundation/clock.h"

#include <ctime>

namespace vn::bench {

// CPU time of the process, without the waits for the disk.
inline double cpuMs()
{
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// A clock the benchmark moves by hand.
class StepClock : public Clock {
public:
    DateTime value = 0;
    DateTime now() const override { return value; }
    qint64 tickCount() const override { return 0; }
};

} // namespace vn::bench
