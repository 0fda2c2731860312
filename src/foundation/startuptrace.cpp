#include "startuptrace.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iterator>

namespace vn {

namespace {
struct Mark {
    const char* name;
    long long ns;
};
Mark g_marks[32];
int g_count = 0;
} // namespace

long long MonotonicNs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

bool StartupTraceEnabled()
{
    static const bool enabled =
        std::getenv("VELNOTE_EXIT_AFTER_FIRST_PAINT") || std::getenv("VELNOTE_REPORT_FIRST_PAINT");
    return enabled;
}

void MarkStartupPhase(const char* name)
{
    if (!StartupTraceEnabled() || g_count == int(std::size(g_marks)))
        return;
    g_marks[g_count++] = {name, MonotonicNs()};
}

void PrintStartupPhases()
{
    for (int i = 0; i < g_count; ++i)
        std::printf("phase %s %lld\n", g_marks[i].name, g_marks[i].ns);
    g_count = 0;
}

} // namespace vn
