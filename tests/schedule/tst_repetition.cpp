// Which days each repetition kind yields, and the list and editor estimates.
#include "schedule/repetition.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTest>

using namespace vn;

namespace {

ScheduleFields line(const QString& text)
{
    ScheduleFields f;
    if (ReadScheduleLine(text, &f) != LineRead::Schedule)
        qFatal("unreadable test line");
    return f;
}

QStringList days(const ScheduleFields& f, const HolidayTest& holiday = {}, int limit = 100000)
{
    QStringList out;
    WalkOccurrences(f, holiday, [&](const YMD& d) {
        out.append(QString::asprintf("%.4d-%.2d-%.2d", d.year, d.month, d.day));
        return out.size() < limit;
    });
    return out;
}

HolidayTest holidays(std::initializer_list<YMD> list)
{
    QSet<qint64> set;
    for (const YMD& d : list)
        set.insert(qint64(EncodeDate(d.year, d.month, d.day)));
    return [set](DateTime day) { return set.contains(qint64(day)); };
}

int weekday(int y, int m, int d)
{
    return DayOfWeek(EncodeDate(y, m, d));
}

// The walk written the plain way, as it was first built: one date after the
// other, day steps through QDate's day numbers, months and years by hand.
QStringList plainDays(const ScheduleFields& f, const HolidayTest& holiday, int limit)
{
    const auto number = [](const YMD& d) { return QDate(d.year, d.month, d.day).toJulianDay(); };
    const auto date = [](qint64 n) {
        const QDate q = QDate::fromJulianDay(n);
        return YMD{q.year(), q.month(), q.day()};
    };
    QStringList out;
    const int kind = f.kind;
    const qint64 last = number({f.lastYear, f.lastMonth, f.lastDay});
    YMD cur{f.year, f.month, f.day};
    bool skip = false;
    if (IsMonthEndKind(kind)) {
        cur.day = 1;
        if (--cur.month == 0) {
            cur.month = 12;
            --cur.year;
        }
        skip = true;
    }
    for (;;) {
        if (skip) {
            skip = false;
        } else {
            out.append(QString::asprintf("%.4d-%.2d-%.2d", cur.year, cur.month, cur.day));
            if (out.size() >= limit)
                return out;
        }
        if (f.repeat != 1 || !IsKnownKind(kind))
            return out;
        YMD next = cur;
        if (kind == kKindDaily || kind == kKindWeekly || kind == kKindFortnightly ||
            kind >= kKindDaySpanUnit) {
            const int step = kind == kKindDaily         ? 1
                             : kind == kKindWeekly      ? 7
                             : kind == kKindFortnightly ? 14
                                                        : kind / kKindDaySpanUnit;
            next = date(number(cur) + step);
        } else if (kind == kKindYearly) {
            int year = 0;
            for (int y = cur.year + 1; y <= cur.year + 12 && year == 0; ++y)
                if (cur.day <= QDate(y, cur.month, 1).daysInMonth())
                    year = y;
            if (year == 0)
                return out;
            next.year = year;
        } else if (kind == kKindMonthly) {
            do {
                if (++next.month == 13) {
                    next.month = 1;
                    ++next.year;
                }
            } while (QDate(next.year, next.month, 1).daysInMonth() < cur.day);
        } else {
            if (++next.month == 13) {
                next.month = 1;
                ++next.year;
            }
            if (number({next.year, next.month, 1}) > last)
                return out;
            next.day = MonthEndDay(kind, next.year, next.month, holiday);
        }
        if (number(next) > last)
            return out;
        cur = next;
    }
}

// A random line of any kind, near the ends of the calendar now and then, on
// month ends and 29 Februaries often.
ScheduleFields randomLine(QRandomGenerator& r)
{
    ScheduleFields f;
    switch (r.bounded(10)) {
    case 0: f.year = 1 + r.bounded(3); break;
    case 1: f.year = 9990 + r.bounded(10); break;
    case 2: f.year = 1 + r.bounded(9999); break;
    case 3: f.year = 100 * (1 + r.bounded(99)) - r.bounded(12); break; // centuries without 29 Feb
    default: f.year = 1990 + r.bounded(40); break;
    }
    f.month = 1 + r.bounded(12);
    const int daysIn = DaysInMonth(f.year, f.month);
    f.day = r.bounded(3) == 0 ? daysIn - r.bounded(3) : 1 + r.bounded(daysIn);
    if (r.bounded(8) == 0) {
        f.month = 2;
        f.day = IsLeapYear(f.year) ? 29 : 28;
    }
    static const int kinds[] = {0, 1, 2, 3, 4, 5, 6, 7, 10, 30, 70, 10000, 8, 15, -10};
    f.kind = r.bounded(4) == 0 ? kKindDaySpanUnit * (1 + r.bounded(1000))
                               : kinds[r.bounded(int(std::size(kinds)))];
    if (r.bounded(20) == 0) { // yearly on 29 February, across a century without one
        f.kind = kKindYearly;
        f.year = 100 * (1 + r.bounded(99)) - 4 * (1 + r.bounded(3));
        f.month = 2;
        f.day = 29;
    }
    f.repeat = r.bounded(6) == 0 ? 0 : 1;
    const qint64 start = qint64(EncodeDate(f.year, f.month, f.day));
    const qint64 span = r.bounded(10) == 0 ? -r.bounded(400) : r.bounded(r.bounded(2) ? 400 : 6000);
    const qint64 last =
        std::clamp(start + span, qint64(EncodeDate(1, 1, 1)), qint64(EncodeDate(9999, 12, 31)));
    const YMD l = DecodeDate(DateTime(last));
    f.lastYear = l.year;
    f.lastMonth = l.month;
    f.lastDay = l.day;
    return f;
}

} // namespace

class TstRepetition : public QObject {
    Q_OBJECT
private slots:
    void dailyWeeklyFortnightlyAndDaySpans()
    {
        QCOMPARE(days(line("200412141530,10,0,1,1,20050104,w")),
                 QStringList({"2004-12-14", "2004-12-21", "2004-12-28", "2005-01-04"}));
        QCOMPARE(
            days(line("200412291530,00,0,1,0,20050102,d")),
            QStringList({"2004-12-29", "2004-12-30", "2004-12-31", "2005-01-01", "2005-01-02"}));
        QCOMPARE(days(line("200501010900,00,0,1,6,20050129,f")),
                 QStringList({"2005-01-01", "2005-01-15", "2005-01-29"}));
        QCOMPARE(days(line("200503010900,00,0,1,30,20050311,n")),
                 QStringList({"2005-03-01", "2005-03-04", "2005-03-07", "2005-03-10"}));
        // Every 1000 days.
        QCOMPARE(days(line("200001010000,00,0,1,10000,20060101,n")),
                 QStringList({"2000-01-01", "2002-09-27", "2005-06-23"}));
    }

    void monthlyKeepsTheDayOfMonth()
    {
        QCOMPARE(days(line("200501310900,00,0,1,2,20051231,m")),
                 QStringList({"2005-01-31", "2005-03-31", "2005-05-31", "2005-07-31", "2005-08-31",
                              "2005-10-31", "2005-12-31"}));
        QCOMPARE(days(line("200501300900,00,0,1,2,20050430,m")),
                 QStringList({"2005-01-30", "2005-03-30", "2005-04-30"}));
        // The 29th falls in February only in leap years.
        QCOMPARE(days(line("200301290900,00,0,1,2,20040331,m")).filter("-02-"),
                 QStringList({"2004-02-29"}));
    }

    void yearlyOnTheTwentyNinthOfFebruary()
    {
        QCOMPARE(days(line("200402290000,00,0,1,-8,20161231,y")),
                 QStringList({"2004-02-29", "2008-02-29", "2012-02-29", "2016-02-29"}));
        // 2100 is no leap year: eight years to the next 29 February.
        QCOMPARE(days(line("209602290000,00,0,1,7,21050101,y")),
                 QStringList({"2096-02-29", "2104-02-29"}));
        QCOMPARE(days(line("200503150000,00,0,1,7,20070315,y")),
                 QStringList({"2005-03-15", "2006-03-15", "2007-03-15"}));
    }

    void monthEndsSkipHolidaysAndWeekends()
    {
        // 2005-07-31 is a Sunday, 2005-04-30 a Saturday.
        QCOMPARE(weekday(2005, 7, 31), 0);
        QCOMPARE(weekday(2005, 4, 30), 6);
        QCOMPARE(MonthEndDay(kKindMonthEnd, 2005, 7, {}), 31);
        QCOMPARE(MonthEndDay(kKindMonthEndFriday, 2005, 7, {}), 29);
        QCOMPARE(MonthEndDay(kKindMonthEndSaturday, 2005, 7, {}), 30);
        QCOMPARE(MonthEndDay(kKindMonthEnd, 2005, 4, {}), 30);
        QCOMPARE(MonthEndDay(kKindMonthEndSaturday, 2005, 4, {}), 30);
        QCOMPARE(MonthEndDay(kKindMonthEndFriday, 2005, 4, {}), 29);
        // Holidays move every kind back, past further holidays.
        const auto h = holidays({{2005, 7, 29}, {2005, 7, 31}, {2005, 7, 30}, {2005, 1, 31}});
        QCOMPARE(MonthEndDay(kKindMonthEnd, 2005, 7, h), 28);
        QCOMPARE(MonthEndDay(kKindMonthEndFriday, 2005, 7, h), 28);
        QCOMPARE(MonthEndDay(kKindMonthEndSaturday, 2005, 7, h), 28);
        QCOMPARE(MonthEndDay(kKindMonthEnd, 2005, 1, h), 30);
        // Every day a holiday: the last day of the month.
        HolidayTest all = [](DateTime) { return true; };
        QCOMPARE(MonthEndDay(kKindMonthEndFriday, 2005, 2, all), 28);
    }

    void monthEndOccurrences()
    {
        const auto h = holidays({{2005, 1, 31}});
        QCOMPARE(days(line("200501100000,00,0,1,3,20050430,e"), h),
                 QStringList({"2005-01-30", "2005-02-28", "2005-03-31", "2005-04-30"}));
        QCOMPARE(days(line("200504010000,00,0,1,4,20050731,e")),
                 QStringList({"2005-04-29", "2005-05-31", "2005-06-30", "2005-07-29"}));
        QCOMPARE(days(line("200507010000,00,0,1,5,20050731,e")), QStringList({"2005-07-30"}));
        // Across the year end.
        QCOMPARE(days(line("200412010000,00,0,1,3,20050131,e")),
                 QStringList({"2004-12-31", "2005-01-31"}));
        // The first month end lies after the last day: nothing at all.
        QVERIFY(days(line("200501100000,00,0,1,3,20050120,e")).isEmpty());
        // Not repeating: a month end yields nothing.
        QVERIFY(days(line("200501100000,00,0,0,3,20050110,e")).isEmpty());
    }

    void lastDayBoundsTheRepetition()
    {
        // A last day before the start: the start day only.
        QCOMPARE(days(line("200501100900,00,0,1,1,20050101,w")), QStringList({"2005-01-10"}));
        // Not repeating: the start day, whatever the kind and last day.
        QCOMPARE(days(line("200501100900,00,0,0,1,20051231,w")), QStringList({"2005-01-10"}));
        // The last day itself is included.
        QCOMPARE(days(line("200501100900,00,0,1,0,20050111,d")).size(), 2);
        // Year 9999 ends the walk.
        QCOMPARE(days(line("999912300000,00,0,1,0,99991231,d")).size(), 2);
        QCOMPARE(days(line("999612310000,00,0,1,2,99991231,m")).size(), 1 + 3 * 7);
        QCOMPARE(days(line("999902280000,00,0,1,3,99991231,e")).size(), 11);
    }

    void theWalkMatchesThePlainWalkOnRandomLines()
    {
        QRandomGenerator r(20261209);
        // Some days in every month are holidays, runs of them at month ends.
        const HolidayTest holiday = [](DateTime d) {
            const YMD ymd = DecodeDate(d);
            return (ymd.day * 7 + ymd.month + ymd.year) % 5 == 0 || ymd.day >= 30;
        };
        int compared = 0;
        for (int i = 0; i < 4000; ++i) {
            const ScheduleFields f = randomLine(r);
            const QStringList expected = plainDays(f, holiday, 500);
            QCOMPARE(days(f, holiday, 500), expected);
            compared += int(expected.size());
            // The walk stops where it is told to.
            if (expected.size() > 3)
                QCOMPARE(days(f, holiday, 3), expected.mid(0, 3));
            // Passing over the days before one, at most so many, then
            // walking on: the same days.
            if (expected.isEmpty())
                continue;
            const qsizetype at = r.bounded(int(expected.size()) + 1);
            const QDate pick = QDate::fromString(expected[std::min(at, expected.size() - 1)],
                                                 QStringLiteral("yyyy-MM-dd"));
            const qint64 before = qint64(FromQDate(pick)) + r.bounded(3) - 1;
            const qsizetype most =
                r.bounded(3) == 0 ? r.bounded(int(expected.size()) + 1) : expected.size() + 1;
            qsizetype plainPassed = 0;
            while (plainPassed < most && plainPassed < expected.size() &&
                   qint64(FromQDate(QDate::fromString(expected[plainPassed],
                                                      QStringLiteral("yyyy-MM-dd")))) < before)
                ++plainPassed;
            OccurrenceDays walk(f, holiday);
            QCOMPARE(walk.skip(before, most), plainPassed);
            QStringList rest;
            for (qint64 d = 0; rest.size() < 500 && walk.next(&d);) {
                const YMD ymd = DecodeDate(DateTime(d));
                rest.append(QString::asprintf("%.4d-%.2d-%.2d", ymd.year, ymd.month, ymd.day));
            }
            QCOMPARE(rest.mid(0, expected.size() - plainPassed), expected.mid(plainPassed));
        }
        QVERIFY(compared > 100000);
    }

    void kindsTheEditorNeverWritesGiveTheStartDayOnly_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char* k : {"8", "9", "15", "10010", "2147483640", "-10"})
            QTest::newRow(k) << QString::fromLatin1(k);
    }
    void kindsTheEditorNeverWritesGiveTheStartDayOnly()
    {
        QFETCH(QString, kind);
        const auto f = line("200501100900,00,0,1," + kind + ",20301231,x");
        QCOMPARE(days(f, {}, 10), QStringList({"2005-01-10"}));
        QCOMPARE(NearestOccurrence(f, EncodeDate(2006, 1, 1), {}),
                 EncodeDate(2005, 1, 10) + EncodeTime(9, 0));
    }

    void nearestOccurrence()
    {
        const DateTime today = EncodeDate(2005, 6, 15); // a Wednesday
        QCOMPARE(weekday(2005, 6, 15), 3);
        // Not repeating: its start, past or not.
        QCOMPARE(NearestOccurrence(line("200401050930,00,0,0,0,20040105,x"), today, {}),
                 EncodeDate(2004, 1, 5) + EncodeTime(9, 30));
        QCOMPARE(NearestOccurrence(line("200701050930,00,0,0,0,20070105,x"), today, {}),
                 EncodeDate(2007, 1, 5) + EncodeTime(9, 30));
        // Weekly on Mondays since long ago, ending next month: next Monday.
        const auto weekly = line("200401051800,00,0,1,1,20050711,x");
        QCOMPARE(NearestOccurrence(weekly, today, {}), EncodeDate(2005, 6, 20) + EncodeTime(18, 0));
        // ... and today itself when it falls today, even after its time.
        QCOMPARE(NearestOccurrence(weekly, EncodeDate(2005, 6, 13) + EncodeTime(23, 0), {}),
                 EncodeDate(2005, 6, 13) + EncodeTime(18, 0));
        // All occurrences past: the last one.
        QCOMPARE(NearestOccurrence(line("200401051800,00,0,1,1,20040201,x"), today, {}),
                 EncodeDate(2004, 1, 26) + EncodeTime(18, 0));
        // A month end starting later: the end of its start month.
        QCOMPARE(NearestOccurrence(line("200509050000,00,0,1,-4,20061231,x"), today, {}),
                 EncodeDate(2005, 9, 30));
        // Even when that month end lies after the last day.
        QCOMPARE(NearestOccurrence(line("200509050000,00,0,1,3,20050910,x"), today, {}),
                 EncodeDate(2005, 9, 30));
        // A running month end: this month's end, off the holiday.
        const auto h = holidays({{2005, 6, 30}});
        QCOMPARE(NearestOccurrence(line("200501050000,00,0,1,3,20051231,x"), today, h),
                 EncodeDate(2005, 6, 29));
    }

    // Lines that began long ago are not walked from their start (days a
    // fixed number apart are passed by arithmetic, months and years from a
    // later start): the nearest occurrence is still the one a walk over
    // every day finds, on each side of today, the start and the last day.
    void nearestOccurrenceFromLongAgoAgreesWithAWalk()
    {
        const QStringList lines = {
            "199001010900,00,0,1,0,20991231,daily for a century",
            "200401051800,00,0,1,1,20050711,weekly",
            "200401051800,00,0,1,6,20050712,fortnightly, last day between",
            "200001010000,00,0,1,-301,20301231,all-day every 30 days",
            "200001010000,00,0,1,10000,20301231,every 1000 days",
            "200506150900,00,0,1,0,20050614,last day before the start",
            "199001311200,05,0,1,2,20991231,monthly on the 31st",
            "198802291000,00,0,1,7,20991231,yearly on 29 February",
            "199001010000,00,0,1,-4,20991231,all-day month end",
            "199001010900,00,0,1,4,20050712,month end off weekends, ending",
            "199001010900,00,0,1,5,20991231,month end off Sundays",
        };
        const HolidayTest h = [](DateTime d) { return int(d) % 11 == 0; };
        for (const QString& text : lines) {
            const ScheduleFields f = line(text);
            for (const DateTime today :
                 {EncodeDate(1989, 12, 31), EncodeDate(2005, 6, 15), EncodeDate(2005, 7, 11),
                  EncodeDate(2005, 7, 12), EncodeDate(2005, 7, 13), EncodeDate(2031, 1, 1)}) {
                DateTime walked = EncodeDate(f.year, f.month, f.day);
                if (IsMonthEndKind(f.kind))
                    walked = EncodeDate(f.year, f.month, MonthEndDay(f.kind, f.year, f.month, h));
                WalkOccurrences(f, h, [&](const YMD& d) {
                    const DateTime day = EncodeDate(d.year, d.month, d.day);
                    if (day <= walked)
                        return true;
                    if (walked >= today)
                        return false;
                    walked = day;
                    return true;
                });
                QCOMPARE(NearestOccurrence(f, today, h), walked + EncodeTime(f.hour, f.minute));
            }
        }
    }

    void repeatCountLabels()
    {
        const DateTime s = EncodeDate(2005, 1, 1), e = EncodeDate(2005, 1, 15);
        QCOMPARE(RepeatCountText(s, e, Repetition::Daily, 1), QStringLiteral("15回繰り返します"));
        QCOMPARE(RepeatCountText(s, e, Repetition::Weekly, 1), QStringLiteral("3回繰り返します"));
        QCOMPARE(RepeatCountText(s, e, Repetition::Fortnightly, 1),
                 QStringLiteral("1回繰り返します"));
        QCOMPARE(RepeatCountText(s, e, Repetition::Monthly, 1),
                 QStringLiteral("約0回繰り返します"));
        QCOMPARE(RepeatCountText(s, EncodeDate(2006, 1, 1), Repetition::Yearly, 1),
                 QStringLiteral("約1回繰り返します"));
        QCOMPARE(RepeatCountText(s, e, Repetition::DaySpan, 4), QStringLiteral("3回繰り返します"));
        QCOMPARE(RepeatCountText(s, e, Repetition::DaySpan, 0), QStringLiteral("15回繰り返します"));
        QCOMPARE(RepeatCountText(e, s, Repetition::Weekly, 1), QStringLiteral("1回繰り返します"));
        // Times of day do not count.
        QCOMPARE(RepeatCountText(s + 0.9, e + 0.1, Repetition::Daily, 1),
                 QStringLiteral("15回繰り返します"));
    }

    void pastSchedules()
    {
        const auto f = line("200401051800,00,0,1,1,20050614,x");
        QVERIFY(IsPastSchedule(f, EncodeDate(2005, 6, 15)));
        QVERIFY(!IsPastSchedule(f, EncodeDate(2005, 6, 14) + 0.99));
    }
};

QTEST_GUILESS_MAIN(TstRepetition)
#include "tst_repetition.moc"
