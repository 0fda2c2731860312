// Opening the schedule list on a Schedule.dat of 200,000 lines (a tenth of
// them repeating for twenty years, some daily; comments and a few unreadable
// lines among them), from the show to the first painted rows, and closing it
// again without a change (which reads the file to find nothing to write).
// An optional argument sets the number of lines, for profiling at smaller
// sizes, or names a Schedule.dat to open instead. Prints seconds and the budget line: the list
// opens within 2 s.
#include "benchtools.h"
#include "foundation/paths.h"
#include "foundation/textfile.h"
#include "schedule/ui/schedulelistwindow.h"
#include "widgets/errorbox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

using namespace vn;

namespace {

QStringList scheduleLines(int count)
{
    QStringList lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i) {
        ScheduleFields f;
        f.year = 2000 + i % 20;
        f.month = 1 + i % 12;
        f.day = 1 + i % 28;
        f.hour = i % 24;
        f.minute = i % 60;
        f.alarm = i % 3 == 0 ? 0 : 10;
        f.text = QStringLiteral("予定その%1 打ち合わせと資料の確認").arg(i);
        f.lastYear = f.year, f.lastMonth = f.month, f.lastDay = f.day;
        if (i % 10 == 0) { // daily, weekly or monthly for years
            f.repeat = 1;
            f.kind = i % 30 == 0 ? kKindDaily : i % 20 == 0 ? kKindWeekly : kKindMonthly;
            f.lastYear = f.year + 20;
        }
        lines.append(ComposeScheduleLine(f));
        if (i % 1000 == 999)
            lines.append(QStringLiteral("/ コメント行 %1").arg(i));
        if (i % 10000 == 9999)
            lines.append(QStringLiteral("読めない行 %1").arg(i));
    }
    return lines;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString arg = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const bool fromFile = QFileInfo(arg).isFile(); // a Schedule.dat to open instead
    QTemporaryDir dir;
    SetAppLocation(dir.path(), QStringLiteral("Vnote"));
    bench::StepClock clock;
    clock.value = EncodeDate(2010, 6, 15) + EncodeTime(9, 0);
    SetClock(&clock);
    int count = arg.isEmpty() ? 200000 : arg.toInt();
    if (fromFile) {
        const QString path = SchedulePath();
        QFile::remove(path);
        QFile::copy(arg, path);
        count = int(ReadLines(path).size());
    } else {
        WriteLines(SchedulePath(), scheduleLines(count));
    }

    int reports = 0; // the box about the unreadable lines, without waiting on it
    SetErrorSink([&reports](const QString&) { ++reports; });
    ScheduleListWindow list;
    QElapsedTimer t;
    t.start();
    list.show();
    QApplication::processEvents(); // the layouts the show posted
    list.repaint();                // the rows painted, as on screen
    const double openMs = t.nsecsElapsed() / 1e6;
    if (!fromFile && list.grid()->rowCount() != count)
        std::printf("  (only %d rows shown)\n", list.grid()->rowCount());
    if (!fromFile && reports != 1)
        std::printf("  (%d reports of the unreadable lines)\n", reports);
    t.restart();
    list.close();
    QApplication::processEvents();
    const double closeMs = t.nsecsElapsed() / 1e6;
    std::printf("schedule list, %d lines   opened in %.2f s, closed in %.2f s\n", count,
                openMs / 1e3, closeMs / 1e3);
    if (!fromFile && count == 200000) {
        std::printf("budget|200,000-line schedule list opens|%.2f|s|2\n", openMs / 1e3);
        std::printf("budget|200,000-line schedule list closes unchanged|%.2f|s|2\n", closeMs / 1e3);
    }
    SetClock(nullptr);
    return 0;
}
