#pragma once
// The monotonic clock in nanoseconds, for the benchmarks that drive the
// program from outside (no Qt).
#include <ctime>

namespace vn::bench {

inline long long MonotonicNs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

} // namespace vn::bench
