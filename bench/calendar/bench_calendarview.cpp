// The main window's calendar on screen: a full paint of twelve month blocks
// in grid and in list mode, a selection change within the shown months, and
// a mouse movement with its hover hint. Medians of many runs, wall clock.
#include "benchtools.h"
#include "calendar/calendardates.h"
#include "calendar/ui/calendarview.h"
#include "foundation/datetimeformat.h"
#include "foundation/textfile.h"
#include "widgets/colorref.h"
#include "workspace/calendarpanel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace vn;

namespace {

double medianMs(const std::function<void()>& f, int runs)
{
    std::vector<double> v;
    QElapsedTimer t;
    for (int i = 0; i < runs; ++i) {
        t.start();
        f();
        v.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

const char* verdict(double ms, double target)
{
    return ms <= target ? "ok" : "OVER";
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    InstallFontSubstitutions();
    bench::StepClock clock;
    clock.value = EncodeDate(2026, 6, 15) + EncodeTime(10, 0);
    SetClock(&clock);

    CalendarPanel panel;
    CalendarView* v = panel.view();
    // A busy year: 400 schedules, a diary every other day.
    for (int i = 0; i < 400; ++i) {
        ScheduleFields f;
        f.year = f.lastYear = 2026;
        f.month = f.lastMonth = 1 + i % 12;
        f.day = f.lastDay = 1 + (i * 7) % 28;
        f.hour = 8 + i % 10;
        f.text = QStringLiteral("予定その%1 打ち合わせ").arg(i);
        v->schedules().ExpandOccurrences(f);
    }
    QTemporaryDir dir;
    for (DateTime d = EncodeDate(2026, 1, 1); d < EncodeDate(2027, 1, 1); d += 2) {
        const QString month = RenderDateTime(QStringLiteral("yyyymm"), d);
        QDir().mkpath(dir.path() + "/" + month);
        WriteLines(dir.path() + "/" + month + "/" + RenderDateTime(QStringLiteral("yyyymmdd"), d) +
                       ".txt",
                   {QStringLiteral("日記")});
    }
    v->SetDiaryFolder(dir.path());
    v->SetFlag(CalFlag::Frame3D, true);
    v->SetFlag(CalFlag::Shadow, true);
    v->SetFlag(CalFlag::FrameMonth, true);
    v->SetDate(EncodeDate(2026, 6, 15));
    // The view alone on screen, sized for the blocks wanted.
    v->setParent(nullptr);
    v->show();
    QCoreApplication::processEvents();
    // Twelve blocks: four by three in the grid.
    v->resize(4 * 178, 3 * 138 + 10);
    v->RenderNow();
    const size_t gridBlocks = v->core().model().Layout().blocks.size();
    const int runs = 60;
    const double grid = medianMs(
        [&] {
            v->Paint();
            v->repaint();
        },
        runs);
    // A selection change within the shown months: the blocks only.
    DateTime day = EncodeDate(2026, 6, 1);
    const double select = medianMs(
        [&] {
            day = day + 1 > EncodeDate(2026, 6, 28) ? EncodeDate(2026, 6, 1) : day + 1;
            v->SetDate(
                cal::AnchorDate(DecodeDate(day).year, DecodeDate(day).month, DecodeDate(day).day));
            v->repaint();
        },
        runs);
    // Hover: mouse movements inside a day and across days.
    const cal::DayCell& c = v->core().model().Layout().blocks[0].cells[10];
    int step = 0;
    const double hover = medianMs(
        [&] {
            ++step;
            v->UpdateHover(c.rect.left + 2 + step % 4, c.rect.top + 3 + (step / 4) % 2 * 18);
        },
        2000);
    // The list: twelve months side by side.
    v->SetFlag(CalFlag::List, true);
    v->resize(12 * (8 * 22 + 6), 33 * 16);
    v->RenderNow();
    const size_t listBlocks = v->core().model().Layout().blocks.size();
    const double list = medianMs(
        [&] {
            v->Paint();
            v->repaint();
        },
        runs);

    std::printf("calendar view, median of %d runs (targets in brackets)\n", runs);
    std::printf("  full paint, grid, %zu blocks      %7.3f ms  (8 ms)    %s\n", gridBlocks, grid,
                verdict(grid, 8));
    std::printf("  full paint, list, %zu blocks      %7.3f ms  (8 ms)    %s\n", listBlocks, list,
                verdict(list, 8));
    std::printf("  selection change, grid          %7.3f ms  (2 ms)    %s\n", select,
                verdict(select, 2));
    std::printf("  hover, mouse move               %7.4f ms  (0.2 ms)  %s\n", hover,
                verdict(hover, 0.2));
    delete v;
    SetClock(nullptr);
    return 0;
}
