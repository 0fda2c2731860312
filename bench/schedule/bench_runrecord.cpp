// One capture of the run record on a file of ten years of days. Prints
// milliseconds.
#include "runrecord/runrecord.h"

#include "benchtools.h"
#include "foundation/clock.h"
#include "foundation/textfile.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace vn;
using vn::bench::cpuMs;
using vn::bench::StepClock;

namespace {

} // namespace

int main()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Vnote.vdt"));
    const DateTime first = EncodeDate(2005, 1, 1);
    QStringList lines;
    for (int d = 0; d < 3650; ++d) {
        lines.append(QStringLiteral("[%1]").arg(DayNumber(first + d)));
        lines.append(QStringLiteral("S=%1").arg(30000000 + d * 7));
        lines.append(QStringLiteral("E=%1").arg(70000000 + d * 11));
        if (d % 10 == 0)
            lines.append(QStringLiteral("M=会議と出張のメモ %1").arg(d));
    }
    WriteLines(path, lines);
    std::printf("file                   %lld bytes, 3650 days\n",
                qlonglong(ReadFileBytes(path).size()));

    StepClock clock;
    SetClock(&clock);
    clock.value = first + 3650 + EncodeTime(9, 0);
    CaptureRunTime(path, CaptureKind::Start); // today's section exists from here on
    std::vector<double> ms, cpu;
    for (int i = 0; i < 50; ++i) {
        clock.value += 10000.0 / kMSecsPerDay;
        QElapsedTimer t;
        const double c0 = cpuMs();
        t.start();
        CaptureRunTime(path, CaptureKind::Tick);
        ms.push_back(t.nsecsElapsed() / 1e6);
        cpu.push_back(cpuMs() - c0);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("CaptureRunTime (tick)  median %.2f ms, best %.2f ms, worst %.2f ms\n",
                ms[ms.size() / 2], ms.front(), ms.back());
    std::printf(
        "CaptureRunTime (tick) CPU time median %.2f ms (the rest is waiting for the disk)\n",
        cpu[cpu.size() / 2]);
    SetClock(nullptr);
    return 0;
}
