// Calendar engine timings: holiday table, rokuyō, diary scan, grid layout.
#include "calendar/calendardates.h"
#include "calendar/calendarmodel.h"
#include "calendar/diarystore.h"
#include "calendar/holidaytable.h"
#include "calendar/lunisolar.h"
#include "calendar/rokuyou.h"
#include "foundation/clock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <functional>

using namespace vn;
using namespace vn::cal;

namespace {

double millis(const std::function<void()>& f, int repeat = 1)
{
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < repeat; ++i)
        f();
    const auto t1 = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(t1 - t0).count() / repeat;
}

// The diary editor without a window.
class TextMemo : public DiaryMemo {
public:
    QString text() const override { return text_; }
    void setLines(const QStringList& lines) override { text_ = lines.join(u'\n'); }
    QString text_;
};

// The main window's 30-second diary save of a 100 KB day: nothing typed
// since the last save, and one more line typed each time.
void diarySave(const QString& folder)
{
    DiaryStore diary;
    TextMemo memo;
    diary.SetDiaryMemo(&memo);
    diary.SetDiaryFolder(folder);
    const DateTime day = EncodeDate(2026, 12, 10);
    diary.LoadDiary(day);
    for (int i = 0; i < 2000; ++i)
        memo.text_ += QStringLiteral("今日の日記の %1 行目、少し長めの文です。\n").arg(i);
    diary.SaveDiary();
    const double idle = millis([&] { diary.SaveDiary(); }, 200);
    int line = 0;
    const double typed = millis(
        [&] {
            memo.text_ += QStringLiteral("書き足した行 %1\n").arg(++line);
            diary.SaveDiary();
        },
        50);
    std::printf("30-second diary save, 100 KB day: nothing typed %.3f ms, one line typed %.2f ms\n",
                idle, typed);
    std::printf("budget|30-second diary save, 100 KB day, nothing typed|%.3f|ms|5\n", idle);
    std::printf("budget|30-second diary save, 100 KB day, one line typed|%.2f|ms|50\n", typed);
}

} // namespace

int main()
{
    // Holiday table with 1,000 user lines (each one to ten years long).
    QStringList user;
    for (int i = 0; i < 1000; ++i) {
        const int m = i % 12 + 1, d = i % 28 + 1, y = 1990 + i % 40;
        user << QString::asprintf("%.2d%.2d,%.4d,%.4d,社内休日%d", m, d, y, y + i % 10, i);
    }
    HolidayTable table;
    const double build = millis([&] { table.Rebuild(user); }, 20);
    std::printf("holiday table, built-in + 1000 user lines: %.2f ms (%d days)\n", build,
                table.Count());
    int hits = 0;
    const double lookups = millis([&] {
        for (DateTime d = EncodeDate(2000, 1, 1); d < EncodeDate(2010, 1, 1); d += 1)
            hits += table.IsHoliday(d);
    });
    std::printf("holiday lookups, 3653 days: %.3f ms (%d holidays)\n", lookups, hits);

    // Rokuyō: the first lookup builds the month table; then a year of lookups.
    const double prepare = millis([] { PrepareLunisolarCalendar(); });
    std::printf("lunisolar month table, 1873-2100 (once): %.2f ms\n", prepare);
    int sum = 0;
    const double year = millis(
        [&] {
            for (DateTime d = EncodeDate(2025, 1, 1); d < EncodeDate(2026, 1, 1); d += 1)
                sum += RokuyouText(d, true, true).size();
        },
        50);
    std::printf("rokuyō, one year of lookups (365 texts): %.3f ms (%.2f us each, %d chars)\n", year,
                year * 1000 / 365, sum);

    // Diary folder of ten years, one file per day.
    QTemporaryDir dir;
    int files = 0;
    for (DateTime d = EncodeDate(2010, 1, 1); d < EncodeDate(2020, 1, 1); d += 1) {
        const YMD ymd = DecodeDate(d);
        const QString folder = dir.path() + QString::asprintf("/%.4d%.2d", ymd.year, ymd.month);
        if (ymd.day == 1)
            QDir().mkpath(folder);
        QFile f(folder + '/' + DateKey(d) + ".txt");
        if (f.open(QIODevice::WriteOnly)) {
            f.write("x\r\n");
            ++files;
        }
    }
    DiaryStore diary;
    const double scan = millis([&] { diary.ScanDiaryFolder(dir.path()); }, 5);
    std::printf("diary scan, ten years (%d files, 120 folders): %.2f ms (%d days)\n", files, scan,
                diary.DiaryDayCount());
    QTemporaryDir saveDir;
    diarySave(saveDir.path());

    // Grid layout of 12 x 10 blocks.
    CalendarModel model;
    model.SetSize(12 * 178, 10 * 138);
    model.SetDate(AnchorDate(2025, 1, 10));
    model.SetFirstMonth(AnchorDate(2025, 1, 1));
    size_t cells = 0;
    const double layout = millis([&] { cells = model.Layout().blocks.size(); }, 50);
    std::printf("grid layout pass, 12 x 10 blocks: %.3f ms (%zu blocks)\n", layout, cells);
    const double hit = millis([&] { model.DateAt(12 * 178 - 30, 10 * 138 - 30); }, 50);
    std::printf("hit test (layout + search), 12 x 10 blocks: %.3f ms\n", hit);
    return 0;
}
