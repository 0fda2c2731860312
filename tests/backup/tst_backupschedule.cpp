// When automatic backups fall due and when one was missed.
#include "backup/backupschedule.h"

#include "foundation/datetimeformat.h"
#include "foundation/settings.h"
#include "tempdatafolder.h"

#include <QTest>

using namespace vn;
using vn::test::TempDataFolder;

namespace {

DateTime at(int y, int m, int d, int h, int n, int s = 0)
{
    return EncodeDate(y, m, d) + EncodeTime(h, n, s);
}

QString stamp(DateTime v)
{
    return RenderDateTime(QStringLiteral("yyyymmdd_hhnnss"), v);
}

BackUpSchedule make(int interval, int weekday = 1, int day = 1, const QString& time = "12:00")
{
    BackUpSchedule s;
    s.interval = interval;
    s.weekday = weekday;
    s.day = day;
    s.time = time;
    return s;
}

} // namespace

class TstBackUpSchedule : public QObject {
    Q_OBJECT
private slots:
    void timeTexts()
    {
        QCOMPARE(BackUpTimeText(0), QStringLiteral("00:00"));
        QCOMPARE(BackUpTimeText(1), QStringLiteral("00:30"));
        QCOMPARE(BackUpTimeText(24), QStringLiteral("12:00"));
        QCOMPARE(BackUpTimeText(47), QStringLiteral("23:30"));
    }

    void dueInTheScheduledMinuteOfAScheduledDay()
    {
        // 2009-01-05 is a Monday, 2009-01-10 a Saturday.
        QCOMPARE(DayOfWeek(EncodeDate(2009, 1, 5)), 1);
        const BackUpSchedule daily = make(kBackUpDaily);
        QVERIFY(BackUpDue(daily, at(2009, 1, 7, 12, 0, 0)));
        QVERIFY(BackUpDue(daily, at(2009, 1, 7, 12, 0, 59)));
        QVERIFY(!BackUpDue(daily, at(2009, 1, 7, 12, 1, 0)));
        QVERIFY(!BackUpDue(daily, at(2009, 1, 7, 11, 59, 59)));
        QVERIFY(!BackUpDue(daily, at(2009, 1, 7, 0, 0)));

        const BackUpSchedule monday = make(kBackUpWeekly, 1);
        QVERIFY(BackUpDue(monday, at(2009, 1, 5, 12, 0)));
        QVERIFY(!BackUpDue(monday, at(2009, 1, 6, 12, 0)));
        // Saturday (6) is used as Saturday.
        QVERIFY(BackUpDue(make(kBackUpWeekly, 6, 1, "23:30"), at(2009, 1, 10, 23, 30)));
        QVERIFY(!BackUpDue(make(kBackUpWeekly, 6, 1, "23:30"), at(2009, 1, 11, 23, 30)));

        const BackUpSchedule second = make(kBackUpMonthly, 1, 1, "00:30");
        QVERIFY(BackUpDue(second, at(2009, 2, 2, 0, 30)));
        QVERIFY(!BackUpDue(second, at(2009, 2, 1, 0, 30)));
        QVERIFY(BackUpDue(make(kBackUpMonthly, 1, 27), at(2009, 2, 28, 12, 0)));
    }

    void weeklyThreshold()
    {
        const BackUpSchedule monday = make(kBackUpWeekly, 1);
        const DateTime wednesday = at(2009, 1, 7, 9, 0);
        QCOMPARE(stamp(BackUpThreshold(monday, wednesday)), QStringLiteral("20090105_090000"));
        QVERIFY(!BackUpOverdue(monday, wednesday, QStringLiteral("20090105_120000")));
        QVERIFY(BackUpOverdue(monday, wednesday, QStringLiteral("20081229_120000")));
        // On the chosen weekday itself: exactly one week back.
        QCOMPARE(stamp(BackUpThreshold(monday, at(2009, 1, 5, 13, 15, 20))),
                 QStringLiteral("20081229_131520"));
        // A Sunday with Saturday chosen: yesterday.
        QCOMPARE(stamp(BackUpThreshold(make(kBackUpWeekly, 6), at(2009, 1, 11, 8, 0))),
                 QStringLiteral("20090110_080000"));
        // A Saturday with Sunday chosen: six days back.
        QCOMPARE(stamp(BackUpThreshold(make(kBackUpWeekly, 0), at(2009, 1, 10, 8, 0))),
                 QStringLiteral("20090104_080000"));
    }

    void dailyAndMonthlyThresholds()
    {
        QCOMPARE(stamp(BackUpThreshold(make(kBackUpDaily), at(2009, 3, 1, 7, 5, 9))),
                 QStringLiteral("20090228_070509"));
        // Monthly on the 15th, now 10 January: 10 December of the year before.
        const BackUpSchedule fifteenth = make(kBackUpMonthly, 1, 14);
        QCOMPARE(stamp(BackUpThreshold(fifteenth, at(2009, 1, 10, 9, 30))),
                 QStringLiteral("20081210_093000"));
        // ... and after the 15th, this month's 15th.
        QCOMPARE(stamp(BackUpThreshold(fifteenth, at(2009, 3, 31, 9, 30))),
                 QStringLiteral("20090315_093000"));
        // Monthly on the 1st, now the 1st: the 1st of the month before.
        QCOMPARE(stamp(BackUpThreshold(make(kBackUpMonthly, 1, 0), at(2009, 3, 1, 12, 0))),
                 QStringLiteral("20090201_120000"));
        // The threshold equal to the newest name counts as overdue.
        QVERIFY(BackUpOverdue(make(kBackUpDaily), at(2009, 3, 2, 12, 0),
                              QStringLiteral("20090301_120000")));
        QVERIFY(!BackUpOverdue(make(kBackUpDaily), at(2009, 3, 2, 11, 59),
                               QStringLiteral("20090301_120000")));
        // No automatic generation yet.
        QVERIFY(BackUpOverdue(make(kBackUpMonthly), at(2009, 3, 2, 12, 0), QString()));
    }

    void valuesOutOfRangeAreCorrected()
    {
        TempDataFolder dir;
        BackUpSchedule s = BackUpScheduleFromSettings();
        QCOMPARE(s.interval, kBackUpWeekly);
        QCOMPARE(s.weekday, 1);
        QCOMPARE(s.day, 1);
        QCOMPARE(s.time, QStringLiteral("12:00"));
        QCOMPARE(s.maxGenerations, 5);

        WriteSettingInt(REG_BackUpOffset, 7);
        WriteSettingInt(REG_BackUpWeek, 9);
        WriteSettingInt(REG_BackUpDay, 28);
        WriteSettingInt(REG_BackUpTime, 48);
        WriteSettingInt(REG_BackUpMax, 150);
        s = BackUpScheduleFromSettings();
        QCOMPARE(s.interval, kBackUpWeekly);
        QCOMPARE(s.weekday, 0);
        QCOMPARE(s.day, 1);
        QCOMPARE(s.time, QStringLiteral("12:00"));
        QCOMPARE(s.maxGenerations, 99);
        // Only the maximum is written back.
        QCOMPARE(ReadSettingInt(REG_BackUpMax), 99);
        QCOMPARE(ReadSettingInt(REG_BackUpWeek), 9);

        // The corrections hold when the values come from elsewhere too.
        QVERIFY(BackUpDue(make(5, 1), at(2009, 1, 5, 12, 0)));
        QVERIFY(BackUpDue(make(kBackUpWeekly, -1), at(2009, 1, 4, 12, 0)));
    }
};

QTEST_GUILESS_MAIN(TstBackUpSchedule)
#include "tst_backupschedule.moc"
