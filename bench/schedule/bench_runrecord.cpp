// One capture of the run record on a file of ten years of days, and what the
// running capture writes in a day with that file. Prints milliseconds, bytes
// and flushes.
#include "runrecord/runrecord.h"
#include "runrecord/runrecordcapture.h"

#include "benchtools.h"
#include "foundation/clock.h"
#include "foundation/textfile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace vn;
using vn::bench::cpuMs;
using vn::bench::StepClock;

namespace {

// A clock whose tick count follows it, for the capture's intervals.
class DayClock : public Clock {
public:
    DateTime value = 0;
    DateTime now() const override { return value; }
    qint64 tickCount() const override { return qint64(value * kMSecsPerDay + 0.5); }
};

qint64 processBytesWritten()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : io.readAll().split('\n'))
        if (line.startsWith("wchar:"))
            return line.mid(6).trimmed().toLongLong();
    return -1;
}

// A PC left on for a whole day, ticks every ten seconds.
void captureOneDay(const QString& path, DateTime day)
{
    DayClock clock;
    SetClock(&clock);
    clock.value = day;
    RunRecordCapture job(path);
    job.start();
    const qint64 written0 = processBytesWritten();
    QElapsedTimer t;
    t.start();
    const double c0 = cpuMs();
    while (clock.value < day + 1) {
        clock.value += RunRecordCapture::kTickMSecs / kMSecsPerDay;
        job.tick();
    }
    const double wall = t.nsecsElapsed() / 1e6, cpu = cpuMs() - c0;
    job.finish();
    const RunRecordCapture::Stats& s = job.stats();
    std::printf("capture, one day       %lld bytes written (%.1f MB; budget 20 MB), %d flushes\n",
                qlonglong(s.bytes), s.bytes / 1e6, s.flushes);
    std::printf("                       %d writes of the record, %d of the companion file; "
                "the process wrote %lld bytes\n",
                s.recordWrites, s.journalWrites, qlonglong(processBytesWritten() - written0));
    const double whole = 8640.0 * ReadFileBytes(path).size();
    std::printf("                       rewriting the record at every tick: %.0f MB a day "
                "(ratio %.0f : 1)\n",
                whole / 1e6, whole / double(s.bytes));
    std::printf("                       8640 ticks in %.0f ms (CPU %.0f ms)\n", wall, cpu);
    vn::bench::printAgainstTarget("capture MB per day", s.bytes / 1e6, 20, "MB");
    std::printf("%-22s %10d flushes per day (one every %.0f s)\n", "capture flushes", s.flushes,
                86400.0 / std::max(1, s.flushes));
    SetClock(nullptr);
}

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

    WriteLines(path, lines);
    captureOneDay(path, first + 3650);
    return 0;
}
