// RefreshRunRecord over ten years (3,650 rows), with holidays and schedules
// shown. Prints milliseconds.
#include "runrecord/ui/runrecordwindow.h"

#include "benchtools.h"
#include "calendar/holidaytable.h"
#include "foundation/clock.h"
#include "foundation/datetimeformat.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/textfile.h"
#include "runrecord/runperiod.h"
#include "runrecord/runrecord.h"
#include "schedule/schedulestore.h"
#include "widgets/listgrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vn;
using vn::bench::cpuMs;
using vn::bench::StepClock;

namespace {

class Calendar : public RunRecordCalendarData {
public:
    cal::HolidayTable table;
    ScheduleStore store;
    const cal::HolidayTable& holidays() const override { return table; }
    const ScheduleStore& schedules() const override { return store; }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    SetAppLocation(dir.path(), QStringLiteral("Vnote"));
    SetSettingsFile(SettingsFilePath());
    StepClock clock;
    SetClock(&clock);
    const DateTime first = EncodeDate(2005, 1, 1);
    clock.value = first + 3649 + EncodeTime(12, 0);

    QStringList record;
    for (int d = 0; d < 3650; ++d) {
        record << QStringLiteral("[%1]").arg(DayNumber(first + d))
               << QStringLiteral("S=%1").arg(30000000 + d * 7)
               << QStringLiteral("E=%1").arg(70000000 + d * 11);
        if (d % 10 == 0)
            record << QStringLiteral("M=会議と出張のメモ %1").arg(d);
    }
    WriteLines(RunRecordPath(), record);
    // A schedule every fourth day and one weekly repetition over the years.
    QStringList schedules;
    for (int d = 0; d < 3650; d += 4)
        schedules << RenderDateTime(QStringLiteral("yyyymmdd"), first + d) +
                         QStringLiteral("0930,00,0,0,0,") +
                         RenderDateTime(QStringLiteral("yyyymmdd"), first + d) +
                         QStringLiteral(",打ち合わせ");
    WriteLines(SchedulePath(), schedules);
    Calendar data;
    data.store.LoadSchedules(SchedulePath());
    WriteRunPeriod({DayNumber(first), DayNumber(first + 3649)});
    WriteSettingInt(REG_ShowScheduleDetailDateTime, 1);

    RunRecordWindow window;
    window.setCalendarData(&data);
    window.show();
    std::printf("rows                   %d (%d schedule lines)\n", window.grid()->rowCount(),
                int(schedules.size()));
    std::vector<double> ms, cpu;
    for (int i = 0; i < 15; ++i) {
        QElapsedTimer t;
        const double c0 = cpuMs();
        t.start();
        window.RefreshRunRecord();
        QApplication::processEvents(); // the grid drawn once
        ms.push_back(t.nsecsElapsed() / 1e6);
        cpu.push_back(cpuMs() - c0);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("RefreshRunRecord       median %.1f ms, best %.1f ms, worst %.1f ms "
                "(3,650 days; target 100 ms)\n",
                ms[ms.size() / 2], ms.front(), ms.back());
    std::printf("RefreshRunRecord CPU time median %.1f ms\n", cpu[cpu.size() / 2]);
    vn::bench::printAgainstTarget("RefreshRunRecord", ms[ms.size() / 2], 100, "ms");
    window.hide();
    SetClock(nullptr);
    return 0;
}
