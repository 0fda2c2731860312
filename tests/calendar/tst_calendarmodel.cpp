// Calendar date model: cells, layout, navigation, selection by position.
#include "calendar/calendardates.h"
#include "calendar/calendarmodel.h"
#include "fakeclock.h"

#include <QtTest>

using namespace vn;
using namespace vn::cal;

namespace {

// Metrics of the default font (height 12, offsets 5 and 2): cell 22 x 16,
// block 178 x 138.
constexpr int kCellW = 22, kRowH = 16, kBW = 178, kBH = 138;

DateTime day(int y, int m, int d)
{
    return AnchorDate(y, m, d);
}

QString ymd(DateTime v)
{
    const YMD d = DecodeDate(v);
    return QString::asprintf("%.4d-%.2d-%.2d", d.year, d.month, d.day);
}

struct Point {
    int x = -1, y = -1;
};

// Centre of the cell of a date in a block of the current layout.
Point cellCentre(CalendarModel& m, int blockIndex, int y, int mo, int d)
{
    const CalendarLayout l = m.Layout();
    for (const DayCell& c : l.blocks.at(size_t(blockIndex)).cells) {
        if (c.ymd == YMD{y, mo, d})
            return {(c.rect.left + c.rect.right) / 2, (c.rect.top + c.rect.bottom) / 2};
    }
    return {};
}

} // namespace

class TestCalendarModel : public QObject {
    Q_OBJECT

    test::FakeClock* clock_ = nullptr;

    // A model showing `blocks` grid blocks side by side, first month (y, m),
    // selected date d.
    static void setUp(CalendarModel& m, int blocks, DateTime first, DateTime selected)
    {
        m.SetSize(blocks * kBW, kBH);
        m.SetDate(selected);
        m.SetFirstMonth(first);
        m.Layout();
    }

private slots:
    void init() { clock_ = new test::FakeClock(EncodeDate(2008, 5, 2) + EncodeTime(14, 30)); }
    void cleanup() { delete clock_; }

    void cellDates()
    {
        // February 2009 starts on a Sunday and has 28 days.
        GridCell c = CellDate(2009, 2, 1);
        QCOMPARE(c.date, (YMD{2009, 2, 1}));
        QVERIFY(!c.trailing);
        QCOMPARE(CellDate(2009, 2, 28).date, (YMD{2009, 2, 28}));
        QVERIFY(CellDate(2009, 2, 29).trailing);
        // March 2008 starts on a Saturday: six trailing days of February.
        for (int k = 1; k <= 6; ++k)
            QVERIFY(CellDate(2008, 3, k).trailing);
        QCOMPARE(CellDate(2008, 3, 1).date, (YMD{2008, 2, 24}));
        QCOMPARE(CellDate(2008, 3, 7).date, (YMD{2008, 3, 1}));
        QCOMPARE(CellDate(2008, 3, 42).date, (YMD{2008, 4, 5}));
        // Across the year end.
        QCOMPARE(CellDate(2009, 1, 1).date, (YMD{2008, 12, 28}));
    }

    void gridRowsFiveAndSixLeftOut()
    {
        CalendarModel m;
        setUp(m, 1, day(2009, 2, 1), day(2009, 2, 10));
        CalendarLayout l = m.Layout();
        QCOMPARE(l.blocks.size(), size_t(1));
        QCOMPARE(l.blocks[0].cells.size(), size_t(28)); // four rows
        // Where row 5 would be, nothing can be clicked.
        const int x0 = kCellW + 2, y0 = 10;
        QVERIFY(!l.hitTest(x0 + 3, y0 + 6 * kRowH + 3));
        QCOMPARE(m.DateAt(x0 + 3, y0 + 6 * kRowH + 3), 0.0);
        QVERIFY(l.hitTest(x0 + 3, y0 + 5 * kRowH + 3));
        // March 2008 needs six rows (its 30th and 31st lie in row 6).
        m.SetDate(day(2008, 3, 5));
        m.SetFirstMonth(day(2008, 3, 1));
        l = m.Layout();
        QCOMPARE(l.blocks[0].cells.size(), size_t(42));
        // June 2008 (1st a Sunday, 30 days): row 6 is left out, row 5 stays.
        m.SetDate(day(2008, 6, 5));
        m.SetFirstMonth(day(2008, 6, 1));
        l = m.Layout();
        QCOMPARE(l.blocks[0].cells.size(), size_t(35));
        QCOMPARE(l.blocks[0].cells.back().ymd, (YMD{2008, 7, 5}));
    }

    void gridGeometry()
    {
        CalendarModel m;
        m.SetSize(3 * kBW, 2 * kBH);
        m.SetDate(day(2008, 5, 2));
        m.SetFirstMonth(day(2008, 5, 1));
        CalendarLayout l = m.Layout();
        QCOMPARE(l.cellW, kCellW);
        QCOMPARE(l.rowH, kRowH);
        QCOMPARE(l.columns, 3);
        QCOMPARE(l.rows, 2);
        QCOMPARE(l.blocks.size(), size_t(6));
        // Block (2, 3): months follow row by row.
        const MonthBlock& b = l.blocks[5];
        QCOMPARE(b.month, 10);
        QCOMPARE(b.x0, 2 * kBW + kCellW + 2);
        QCOMPARE(b.y0, kBH + 10);
        QCOMPARE(b.title, (CellRect{b.x0, b.y0, b.x0 + 7 * kCellW, b.y0 + kRowH - 1}));
        // First cell: week row 1, Sunday column.
        QCOMPARE(b.cells[0].rect,
                 (CellRect{b.x0, b.y0 + 2 * kRowH, b.x0 + kCellW, b.y0 + 3 * kRowH}));
        QCOMPARE(ymd(m.LastMonth()), QString("2008-10-01"));
        // Without week numbers the blocks start one cell further left.
        m.SetShowWeekNo(false);
        l = m.Layout();
        QCOMPARE(l.blocks[0].x0, 2);
    }

    void gridBlockCounts()
    {
        CalendarModel m;
        m.SetDate(day(2008, 5, 2));
        m.SetFirstMonth(day(2008, 5, 1));
        m.SetSize(10, 10); // smaller than one block
        CalendarLayout l = m.Layout();
        QCOMPARE(l.columns, 1);
        QCOMPARE(l.rows, 1);
        m.SetSize(100000, 100000);
        l = m.Layout();
        QCOMPARE(l.columns, 12);
        QCOMPARE(l.rows, 10);
        QCOMPARE(l.blocks.size(), size_t(120));
        QCOMPARE(ymd(m.LastMonth()), QString("2018-04-01"));
        // A further column fits when the week-number column is gone.
        m.SetSize(2 * kBW - kCellW / 2, kBH);
        QCOMPARE(m.Layout().columns, 1);
        m.SetShowWeekNo(false);
        QCOMPARE(m.Layout().columns, 2);
        // Degenerate metrics (a negative block width) still give one block.
        m.SetCellHeight(0);
        m.SetOffsetX(-1);
        m.SetOffsetY(-1);
        QCOMPARE(m.Layout().columns, 1);
    }

    void listGeometry()
    {
        CalendarModel m;
        m.SetDate(day(2008, 2, 10));
        m.SetList(true);
        QCOMPARE(ymd(m.FirstMonth()), QString("2008-02-10"));
        m.SetSize(2 * (8 * kCellW + 6) + 5, 33 * kRowH + 100);
        CalendarLayout l = m.Layout();
        QCOMPARE(l.columns, 2);
        QCOMPARE(l.rows, 1);
        QCOMPARE(l.rowH, (33 * kRowH + 100) / 33); // enlarged to fill the height
        QCOMPARE(l.blocks[0].cells.size(), size_t(29));
        QCOMPARE(l.blocks[1].cells.size(), size_t(31));
        const MonthBlock& b = l.blocks[1];
        QCOMPARE(b.x0, (8 * kCellW + 2) + kCellW + 2);
        const DayCell& d3 = b.cells[2];
        QCOMPARE(d3.ymd, (YMD{2008, 3, 3}));
        QCOMPARE(d3.rect,
                 (CellRect{b.x0 - 6, 10 + 3 * l.rowH, b.x0 + 7 * kCellW, 10 + 4 * l.rowH}));
        QCOMPARE(m.DateAt(d3.rect.left, d3.rect.top), d3.date);
        QCOMPARE(m.DateAt(d3.rect.left, d3.rect.top - 1), b.cells[1].date);
        QCOMPARE(m.DateAt(b.x0, 10), 0.0); // the title line
        // A short control keeps the font's row height; one block at least,
        // twelve at most.
        m.SetSize(1, 100);
        l = m.Layout();
        QCOMPARE(l.rowH, kRowH);
        QCOMPARE(l.columns, 1);
        m.SetSize(100000, 100);
        QCOMPARE(m.Layout().columns, 12);
    }

    void selectAt()
    {
        CalendarModel m;
        QList<DateTime> diary;
        m.setDiarySwitch([&](DateTime d) { diary << d; });
        setUp(m, 2, day(2008, 5, 1), day(2008, 5, 2));
        // A day of the first block: selected with the computed time of day.
        Point p = cellCentre(m, 0, 2008, 5, 20);
        SelectResult r = m.SelectAt(p.x, p.y);
        QVERIFY(r.hit);
        QCOMPARE(r.redraw, Redraw::Blocks);
        QCOMPARE(m.GetDate(), day(2008, 5, 20));
        const HMS t = DecodeTime(m.GetDate());
        QCOMPARE(QList<int>({t.hour, t.minute, t.second, t.msec}), QList<int>({1, 1, 1, 1}));
        QCOMPARE(diary, QList<DateTime>{day(2008, 5, 20)});
        // The same day again: the diary switches, nothing else happens.
        r = m.SelectAt(p.x, p.y);
        QCOMPARE(r.redraw, Redraw::None);
        QCOMPARE(diary.size(), 2);
        // Outside every cell: the diary switches to the current date.
        r = m.SelectAt(1, 1);
        QVERIFY(!r.hit);
        QCOMPARE(r.redraw, Redraw::None);
        QCOMPARE(r.target, day(2008, 5, 20));
        QCOMPARE(diary.last(), day(2008, 5, 20));
        QCOMPARE(ymd(m.FirstMonth()), QString("2008-05-20"));
        // A trailing cell of the next month in the last block scrolls forward.
        p = cellCentre(m, 1, 2008, 7, 2);
        r = m.SelectAt(p.x, p.y);
        QCOMPARE(r.redraw, Redraw::Full);
        QCOMPARE(ymd(m.GetDate()), QString("2008-07-02"));
        QCOMPARE(MonthIndex(m.FirstMonth()), MonthIndex(2008, 6));
        QCOMPARE(ymd(m.LastMonth()), QString("2008-07-01"));
        const CalendarLayout l = m.Layout();
        QCOMPARE(l.blocks[0].month, 6);
        QCOMPARE(l.blocks[1].month, 7);
        // A trailing cell of the previous month in the first block.
        setUp(m, 2, day(2008, 10, 1), day(2008, 10, 5));
        p = cellCentre(m, 0, 2008, 9, 30);
        r = m.SelectAt(p.x, p.y);
        QCOMPARE(r.redraw, Redraw::Full);
        QCOMPARE(ymd(m.GetDate()), QString("2008-09-30"));
        QCOMPARE(m.Layout().blocks[0].month, 9);
    }

    void navigation()
    {
        CalendarModel m;
        setUp(m, 1, day(2008, 3, 1), day(2008, 3, 15));
        m.MoveToJanuary();
        QCOMPARE(m.GetDate(), day(2008, 1, 1));
        m.MoveToJanuary();
        QCOMPARE(m.GetDate(), day(2007, 1, 1));
        QCOMPARE(m.FirstMonth(), day(2007, 1, 1));
        m.MoveToNextYearJanuary();
        QCOMPARE(m.GetDate(), day(2008, 1, 1));
        m.MoveToNextYearJanuary();
        QCOMPARE(m.GetDate(), day(2009, 1, 1));

        // Two blocks May and June, date in June.
        setUp(m, 2, day(2008, 5, 1), day(2008, 6, 15));
        m.MovePrevMonth();
        QCOMPARE(ymd(m.FirstMonth()), QString("2008-04-01"));
        QCOMPARE(ymd(m.LastMonth()), QString("2008-05-01"));
        QCOMPARE(m.GetDate(), day(2008, 5, 1));
        // A date still on screen stays.
        setUp(m, 2, day(2008, 5, 1), day(2008, 5, 15));
        m.MovePrevMonth();
        QCOMPARE(ymd(m.GetDate()), QString("2008-05-15"));
        m.MoveNextMonth();
        m.MoveNextMonth();
        QCOMPARE(ymd(m.FirstMonth()), QString("2008-06-01"));
        QCOMPARE(m.GetDate(), day(2008, 6, 1));
        // Across the year end.
        setUp(m, 1, day(2008, 12, 1), day(2008, 12, 24));
        m.MoveNextMonth();
        QCOMPARE(m.GetDate(), day(2009, 1, 1));
        m.MovePrevMonth();
        QCOMPARE(m.GetDate(), day(2008, 12, 1));
        QCOMPARE(ymd(m.LastMonth()), QString("2008-12-01"));
    }

    void moveToToday()
    {
        CalendarModel m;
        QList<DateTime> diary;
        m.setDiarySwitch([&](DateTime d) { diary << d; });
        setUp(m, 1, day(2001, 3, 1), day(2001, 3, 3));
        m.MoveToToday();
        QCOMPARE(m.GetDate(), Now()); // with the current time of day
        QCOMPARE(m.FirstMonth(), day(2008, 5, 1));
        QCOMPARE(diary, QList<DateTime>{Now()});
        QCOMPARE(m.Layout().blocks[0].month, 5);
    }

    void keepingTheSelectionOnScreen()
    {
        CalendarModel m;
        setUp(m, 3, day(2008, 5, 1), day(2008, 5, 2));
        QCOMPARE(ymd(m.LastMonth()), QString("2008-07-01"));
        QVERIFY(!m.EnsureVisible(day(2008, 7, 31)));
        QVERIFY(m.EnsureVisible(day(2008, 9, 1)));
        QCOMPARE(ymd(m.FirstMonth()), QString("2008-07-01"));
        QCOMPARE(ymd(m.LastMonth()), QString("2008-09-01"));
        QVERIFY(m.EnsureVisible(day(2007, 11, 30)));
        QCOMPARE(ymd(m.FirstMonth()), QString("2007-11-01"));
        QCOMPARE(ymd(m.LastMonth()), QString("2008-01-01"));
        QCOMPARE(m.SetDate(day(2007, 12, 5)), Redraw::Blocks);
        QCOMPARE(m.SetDate(day(2010, 1, 5)), Redraw::Full);
        // The layout pass never leaves the selected month left of the first block.
        m.SetDate(day(2009, 2, 3));
        m.SetFirstMonth(day(2009, 6, 1));
        QCOMPARE(m.Layout().blocks[0].month, 2);
        QCOMPARE(ymd(m.FirstMonth()), QString("2009-02-03"));
    }

    void weekNoSetters()
    {
        CalendarModel m;
        QVERIFY(m.SetWeekNoMin(0));
        QCOMPARE(m.WeekNoMin(), 1);
        m.SetWeekNoMin(9);
        QCOMPARE(m.WeekNoMin(), 7);
        QVERIFY(!m.SetWeekNoMin(8)); // still 7
        // Month and day repaint only under the extended rule.
        QVERIFY(!m.SetWeekNoMonth(2));
        QCOMPARE(m.WeekNoMonth(), 2);
        m.SetWeekNoDay(31);
        QCOMPARE(m.WeekNoDay(), 28);
        m.SetWeekNoDay(29);
        QCOMPARE(m.WeekNoDay(), 28);
        m.SetWeekNoMonth(13);
        QCOMPARE(m.WeekNoMonth(), 12);
        m.SetWeekNoMonth(0);
        QCOMPARE(m.WeekNoMonth(), 1);
        m.SetWeekNoDay(31);
        QVERIFY(m.SetWeekNoEx(true));
        QVERIFY(m.SetWeekNoMonth(4)); // the day follows the month's length
        QCOMPARE(m.WeekNoDay(), 30);
        QVERIFY(!m.SetWeekNoDay(40));
        QCOMPARE(m.WeekNoDay(), 30);
        QVERIFY(m.SetWeekNoDay(-3));
        QCOMPARE(m.WeekNoDay(), 1);
    }

    void names()
    {
        QCOMPARE(WeekdayName(0, true, true), QString("日"));
        QCOMPARE(WeekdayName(6, false, true), QString("土曜"));
        QCOMPARE(WeekdayName(7, true, true), QString("----"));
        QCOMPARE(WeekdayName(3, true, false), QString("We"));
        QCOMPARE(WeekdayName(3, false, false), QString("Wednesday"));
        QCOMPARE(WeekdayName(-1, false, false), QString("------"));
        QCOMPARE(MonthAltName(6, true), QString("水無月"));
        QCOMPARE(MonthAltName(12, false), QString("しわす"));
        QCOMPARE(MonthAltName(13, true), QString("----"));
        QCOMPARE(MonthAltName(0, false), QString("----"));
        CalendarModel m;
        m.SetWeekName(false);
        QCOMPARE(m.WeekdayName(1, true), QString("Mo"));
        m.SetMonthName(false);
        QCOMPARE(m.MonthAltName(1), QString("むつき"));
        QCOMPARE(DateKey(2008, 5, 6), QString("20080506"));
        QCOMPARE(DateKey(day(812, 1, 2)), QString("08120102"));
        QCOMPARE(ymd(AddMonthsFirst(day(2008, 1, 31), -1)), QString("2007-12-01"));
        QCOMPARE(ymd(AddMonthsFirst(day(2008, 12, 31), 13)), QString("2010-01-01"));
    }
};

QTEST_GUILESS_MAIN(TestCalendarModel)
#include "tst_calendarmodel.moc"
