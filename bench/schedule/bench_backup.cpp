// A full backup generation of 30 pages of 200 KB. Prints milliseconds
// against the 200 ms target.
#include "backup/backupgenerations.h"

#include "benchtools.h"
#include "foundation/clock.h"
#include "foundation/paths.h"
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

class Pages : public BackUpSource {
public:
    QStringList texts;
    BackUpSchedule schedule() const override { return {}; }
    QString pageText(int page) const override { return texts[page]; }
    QString tabName(int page) const override { return QStringLiteral("メモ%1").arg(page + 1); }
};

} // namespace

int main()
{
    QTemporaryDir dir;
    SetAppLocation(dir.path(), QStringLiteral("Vnote"));
    Pages pages;
    for (int p = 0; p < kBackUpPageCount; ++p) {
        QString text;
        while (text.size() * 2 < 200 * 1024) // about 200 KB of Shift-JIS
            text += QStringLiteral("今日の作業メモ：資料の確認と打ち合わせ %1\r\n").arg(p);
        pages.texts.append(text);
    }
    QStringList schedule;
    for (int i = 0; i < 1000; ++i)
        schedule.append(QStringLiteral("200501010900,10,0,1,1,20060101,予定%1").arg(i));
    WriteLines(SchedulePath(), schedule);

    StepClock clock;
    SetClock(&clock);
    clock.value = EncodeDate(2009, 1, 5) + EncodeTime(12, 0);
    std::vector<double> ms, cpu;
    for (int i = 0; i < 8; ++i) {
        QElapsedTimer t;
        const double c0 = cpuMs();
        t.start();
        MakeBackUpGeneration(pages, false);
        ms.push_back(t.nsecsElapsed() / 1e6);
        cpu.push_back(cpuMs() - c0);
        clock.value += 1.0; // a new generation each day, pruned to five
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("MakeBackUpGeneration   median %.1f ms, best %.1f ms, worst %.1f ms "
                "(30 pages of 200 KB)\n",
                ms[ms.size() / 2], ms.front(), ms.back());
    std::printf("MakeBackUpGeneration CPU time median %.2f ms (the rest is waiting for the disk)\n",
                cpu[cpu.size() / 2]);
    vn::bench::printAgainstTarget("MakeBackUpGeneration", ms[ms.size() / 2], 200, "ms");
    SetClock(nullptr);
    return 0;
}
