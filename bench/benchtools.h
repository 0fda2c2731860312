#pragma once
// Small helpers shared by the benchmarks.
#include "foundation/clock.h"

#include <QFile>
#include <QString>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace vn::bench {

// CPU time of the process, without the waits for the disk.
inline double cpuMs()
{
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// Resident memory of the process now, in KB.
inline double residentKb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readAll().split(' ').value(1).toDouble() * (sysconf(_SC_PAGESIZE) / 1024.0);
}

// One figure against its target: value, target, their ratio and a verdict.
inline void printAgainstTarget(const char* what, double value, double target, const char* unit)
{
    std::printf("%-22s %10.1f %s   target %.1f %s   ratio %.2f   %s\n", what, value, unit, target,
                unit, value / target, value <= target ? "ok" : "OVER");
}

// Memo text: lines of ten words, Japanese and ASCII mixed, until it takes
// `bytes` in Shift-JIS (one byte for ASCII, two for the rest).
inline QString SampleMemoText(qint64 bytes, unsigned seed = 7)
{
    static const char16_t* const words[] = {u"会議", u"メモ", u"買い物",     u"予定", u"todo",
                                            u"資料", u"確認", u"2026/12/09", u"OK"};
    QString line, text;
    unsigned n = seed;
    qint64 size = 0;
    while (size < bytes) {
        line.clear();
        for (int w = 0; w < 10; ++w)
            line += QString::fromUtf16(words[((n = n * 1103515245u + 12345u) >> 16) % 9]) + u' ';
        text += line + QStringLiteral("\r\n");
        size += 2;
        for (QChar c : line)
            size += c.unicode() < 0x80 ? 1 : 2;
    }
    return text;
}

// A clock the benchmark moves by hand.
class StepClock : public Clock {
public:
    DateTime value = 0;
    DateTime now() const override { return value; }
    qint64 tickCount() const override { return 0; }
};

} // namespace vn::bench
