// Week numbers: the standard rule with every minimum, the extended rule, and
// the numbers the layout gives to grid rows and list lines.
#include "calendar/calendardates.h"
#include "calendar/calendarmodel.h"
#include "calendar/weeknumber.h"
#include "fakeclock.h"

#include <QtTest>

using namespace vn;
using namespace vn::cal;

namespace {

DateTime date(int y, int m, int d)
{
    return EncodeDate(y, m, d);
}
DateTime sundayOf(DateTime d)
{
    return DateOnly(d) - DayOfWeek(d);
}

// Sunday that starts week 1 of a year: the week holding 1 January when it
// has at least minDays days of the new year, else the following week.
DateTime firstWeekSunday(int year, int minDays)
{
    const DateTime jan1 = date(year, 1, 1);
    const DateTime s = sundayOf(jan1);
    return 7 - DayOfWeek(jan1) >= minDays ? s : s + 7;
}

// The number by definition: weeks since week 1 of the date's own year, or
// of the year before when the date lies before that week. No wrapping.
int expectedStandard(DateTime d, int minDays)
{
    const int y = DecodeDate(d).year;
    DateTime w1 = firstWeekSunday(y, minDays);
    if (sundayOf(d) < w1)
        w1 = firstWeekSunday(y - 1, minDays);
    return int((sundayOf(d) - w1) / 7) + 1;
}

// Week number shown for a day in the block of blockMonth, -1 when absent.
int weekShown(const CalendarLayout& l, int blockMonth, YMD ymd)
{
    for (const MonthBlock& b : l.blocks) {
        if (b.month != blockMonth)
            continue;
        for (const DayCell& c : b.cells)
            if (c.ymd == ymd)
                return c.weekNumber;
    }
    return -1;
}

} // namespace

class TestWeekNumber : public QObject {
    Q_OBJECT

private slots:
    void standardRuleMatchesItsDefinition()
    {
        for (int minDays = 1; minDays <= 7; ++minDays) {
            for (DateTime d = date(1995, 1, 1); d <= date(2030, 12, 31); d += 1) {
                const int got = StandardWeekNumber(d, minDays);
                if (got != expectedStandard(d, minDays))
                    QFAIL(qPrintable(QString("min %1, %2: %3 instead of %4")
                                         .arg(minDays)
                                         .arg(DateKey(d))
                                         .arg(got)
                                         .arg(expectedStandard(d, minDays))));
            }
        }
    }

    void standardRuleAtYearEnds()
    {
        // 1 January 2010 is a Friday: 1-2 January carry 2009's last number.
        QCOMPARE(StandardWeekNumber(date(2010, 1, 1), 3), 53);
        QCOMPARE(StandardWeekNumber(date(2010, 1, 2), 3), 53);
        QCOMPARE(StandardWeekNumber(date(2010, 1, 3), 3), 1);
        // 1 January 2009 is a Thursday: that week is week 1, yet December
        // days keep counting.
        QCOMPARE(StandardWeekNumber(date(2009, 1, 1), 3), 1);
        QCOMPARE(StandardWeekNumber(date(2008, 12, 28), 3), 53);
        // 2000 is a leap year ending on a Sunday: week 54 with minimum 1.
        QCOMPARE(StandardWeekNumber(date(2000, 12, 31), 1), 54);
        QCOMPARE(StandardWeekNumber(date(2001, 1, 1), 1), 1);
        // Minimum 7: week 1 is the first whole week (2000 begins on a Saturday).
        QCOMPARE(StandardWeekNumber(date(2000, 1, 1), 7), 52);
        QCOMPARE(StandardWeekNumber(date(2000, 1, 2), 7), 1);
        QCOMPARE(StandardWeekNumber(date(2000, 1, 1), 1), 1);
        // Out-of-range minimums are clamped.
        QCOMPARE(StandardWeekNumber(date(2000, 1, 1), 0), 1);
    }

    void extendedRule()
    {
        // Start 1 April: the week holding 1 April is week 1.
        QCOMPARE(ExtendedWeekNumber(date(2009, 4, 4), 4, 1), 1); // 1 April 2009 is a Wednesday
        QCOMPARE(ExtendedWeekNumber(date(2009, 4, 11), 4, 1), 2);
        QCOMPARE(ExtendedWeekNumber(date(2009, 3, 28), 4, 1), 52); // counts from April 2008
        QCOMPARE(ExtendedWeekNumber(date(2008, 4, 5), 4, 1), 1);
        // Every Saturday against the definition, for several starts.
        const QList<QPair<int, int>> starts = {{4, 1}, {1, 1}, {2, 28}, {12, 31}, {9, 15}};
        for (auto [month, day] : starts) {
            for (DateTime t = date(2001, 1, 6); t < date(2030, 1, 1); t += 7) {
                const int y = DecodeDate(t).year;
                DateTime s = date(y, month, day);
                if (s > t)
                    s = date(y - 1, month, day);
                const int expected = int((sundayOf(t) - sundayOf(s)) / 7) + 1;
                QCOMPARE(ExtendedWeekNumber(t, month, day), expected);
            }
        }
        // 29 February cannot start a week count: it is cut to 28.
        QCOMPARE(ExtendedWeekNumber(date(2009, 3, 7), 2, 29),
                 ExtendedWeekNumber(date(2009, 3, 7), 2, 28));
        CalendarModel m;
        m.SetWeekNoEx(true);
        m.SetWeekNoMonth(2);
        m.SetWeekNoDay(29);
        QCOMPARE(m.WeekNoDay(), 28);
        // 28 February 2009 is a Saturday: its week is week 1.
        QCOMPARE(m.WeekNumber(date(2009, 2, 22)), 1);
        QCOMPARE(m.WeekNumber(date(2009, 2, 21)), 52);
    }

    void gridRowsAndListLines()
    {
        test::FakeClock clock(date(2008, 12, 10));
        CalendarModel m;
        m.SetSize(2 * 182, 138); // two blocks in either mode
        m.SetDate(AnchorDate(2008, 12, 10));
        m.SetFirstMonth(AnchorDate(2008, 12, 1));
        // The row 28 Dec 2008 - 3 Jan 2009 shows December's count in
        // December's block and week 1 in January's.
        CalendarLayout l = m.Layout();
        QCOMPARE(weekShown(l, 12, {2009, 1, 3}), 53);
        QCOMPARE(weekShown(l, 12, {2008, 12, 28}), 53);
        QCOMPARE(weekShown(l, 1, {2008, 12, 28}), 1);
        QCOMPARE(weekShown(l, 1, {2009, 1, 4}), 2);
        // Minimum 7: the first days of 2009 belong to 2008's last week.
        m.SetWeekNoMin(7);
        l = m.Layout();
        QCOMPARE(weekShown(l, 1, {2009, 1, 1}), 52);
        QCOMPARE(weekShown(l, 1, {2009, 1, 4}), 1);
        // Extended rule from 1 April: the grid row uses its Saturday, also a
        // trailing one.
        m.SetWeekNoEx(true);
        m.SetWeekNoMonth(4);
        m.SetWeekNoDay(1);
        m.SetDate(AnchorDate(2009, 3, 10));
        m.SetFirstMonth(AnchorDate(2009, 3, 1));
        l = m.Layout();
        QCOMPARE(weekShown(l, 3, {2009, 3, 31}), 1); // Saturday 4 April
        QCOMPARE(weekShown(l, 3, {2009, 3, 28}), 52);
        // List lines use their own day and its Saturday.
        m.SetList(true);
        l = m.Layout();
        QCOMPARE(weekShown(l, 3, {2009, 3, 30}), 1);
        QCOMPARE(weekShown(l, 3, {2009, 3, 28}), 52);
        m.SetWeekNoEx(false);
        m.SetWeekNoMin(3);
        m.SetDate(AnchorDate(2008, 12, 10));
        l = m.Layout();
        QCOMPARE(weekShown(l, 12, {2008, 12, 31}), 53);
        QCOMPARE(weekShown(l, 1, {2009, 1, 1}), 1);
    }
};

QTEST_GUILESS_MAIN(TestWeekNumber)
#include "tst_weeknumber.moc"
