// Rokuyō and the lunisolar calendar behind it.
#include "calendar/astronomy.h"
#include "calendar/lunisolar.h"
#include "calendar/rokuyou.h"

#include <QtTest>

using namespace vn;
using namespace vn::cal;

namespace {
DateTime date(const char* iso)
{
    const QDate d = QDate::fromString(QString::fromLatin1(iso), Qt::ISODate);
    return EncodeDate(d.year(), d.month(), d.day());
}
} // namespace

class TestRokuyou : public QObject {
    Q_OBJECT

private slots:
    void astronomyAgainstWorkedExamples()
    {
        // New moon of 1977 February 18, 3:37:42 TT.
        QVERIFY(qAbs(astro::NewMoonJde(-283) - 2443192.65118) < 1e-5);
        // Apparent longitude of the Sun on 1992 October 13.0 TT: 199°54'21.8".
        QVERIFY(qAbs(astro::SunApparentLongitude(2448908.5) - 199.90606) < 0.0002);
        // March equinox 2000: 2000-03-20 07:35 UT.
        const double eq = astro::JdeToJdUt(astro::SunLongitudeInstant(0, 2451623.0));
        QVERIFY(qAbs(eq - 2451623.816) < 0.002);
    }

    // The entries that pin down the old fixed table of 2001-2016.
    void tellingEntries_data()
    {
        QTest::addColumn<QString>("day");
        QTest::addColumn<int>("index");
        auto row = [](const char* d, int i) { QTest::newRow(d) << QString::fromLatin1(d) << i; };
        row("2001-01-01", 5);
        row("2001-01-24", 0);
        row("2001-05-23", 3);
        for (const char* d : {"2002-02-12", "2003-02-01", "2004-01-22", "2005-02-09", "2006-01-29",
                              "2007-02-18", "2008-02-07", "2009-01-26", "2010-02-14", "2011-02-03",
                              "2012-01-23", "2013-02-10", "2014-01-31", "2015-02-19", "2016-02-08"})
            row(d, 0);
        row("2004-03-21", 1);
        row("2006-08-24", 0);
        row("2009-06-23", 4);
        row("2012-04-21", 2);
        row("2014-10-24", 2);
        row("2008-05-06", 4);
        row("2010-01-01", 2);
        row("2016-12-31", 1);
    }
    void tellingEntries()
    {
        QFETCH(QString, day);
        QFETCH(int, index);
        QCOMPARE(RokuyouIndex(date(qPrintable(day))), index);
    }

    // Published almanac facts after 2016: lunar new years and leap months.
    void laterYears()
    {
        for (const char* d : {"2017-01-28", "2018-02-16", "2019-02-05", "2020-01-25", "2021-02-12",
                              "2022-02-01", "2023-01-22", "2024-02-10", "2025-01-29", "2026-02-17",
                              "2027-02-07", "2028-01-27", "2029-02-13", "2030-02-03"}) {
            const LunarDate l = ToLunarDate(date(d));
            QVERIFY2(l.valid && l.month == 1 && !l.leap && l.day == 1, d);
            QVERIFY2(RokuyouIndex(date(d)) == 0, d);
            QVERIFY2(ToLunarDate(date(d) - 1).month == 12, d);
        }
        struct Leap {
            const char* start;
            int month;
        };
        for (Leap lp : {Leap{"2017-06-24", 5}, Leap{"2020-05-23", 4}, Leap{"2023-03-22", 2},
                        Leap{"2025-07-25", 6}, Leap{"2028-06-23", 5}, Leap{"2031-04-22", 3}}) {
            const LunarDate l = ToLunarDate(date(lp.start));
            QVERIFY2(l.leap && l.month == lp.month && l.day == 1, lp.start);
            QVERIFY2(!ToLunarDate(date(lp.start) - 1).leap, lp.start);
            QCOMPARE(RokuyouIndex(date(lp.start)), (lp.month - 1) % 6);
        }
        QCOMPARE(RokuyouText(date("2017-06-24"), true, true), QString("大安"));
        QCOMPARE(RokuyouText(date("2020-05-23"), true, true), QString("仏滅"));
        QCOMPARE(RokuyouText(date("2023-03-22"), true, true), QString("友引"));
        QCOMPARE(RokuyouText(date("2025-07-25"), true, true), QString("赤口"));
    }

    // 2033: the leap month is the 11th, as the calendar publishers resolved.
    void year2033()
    {
        QCOMPARE(ToLunarDate(date("2033-08-25")).month, 8);
        QCOMPARE(ToLunarDate(date("2033-09-23")).month, 9);
        QCOMPARE(ToLunarDate(date("2033-11-22")).month, 11);
        const LunarDate l = ToLunarDate(date("2033-12-22"));
        QVERIFY(l.leap);
        QCOMPARE(l.month, 11);
        QCOMPARE(ToLunarDate(date("2034-01-20")).month, 12);
        QCOMPARE(ToLunarDate(date("2034-02-19")).month, 1);
        QCOMPARE(RokuyouText(date("2033-12-22"), true, true), QString("大安"));
        // No other leap month between 2032 and 2034.
        for (DateTime d = date("2032-01-01"); d < date("2035-01-01"); d += 1)
            if (ToLunarDate(d).leap)
                QCOMPARE(ToLunarDate(d).month, 11);
    }

    void range()
    {
        // 1873-01-01 was the 3rd day of the 12th month of the old calendar.
        const LunarDate first = ToLunarDate(date("1873-01-01"));
        QVERIFY(first.valid);
        QCOMPARE(first.month, 12);
        QCOMPARE(first.day, 3);
        QCOMPARE(RokuyouText(date("1873-01-01"), true, true), QString("友引"));
        QCOMPARE(RokuyouText(date("1872-12-31"), true, true), QString("----"));
        QCOMPARE(RokuyouText(date("1872-12-31"), true, false), QString("----"));
        QVERIFY(RokuyouIndex(date("2100-12-31")) < 6);
        QCOMPARE(RokuyouText(date("2101-01-01"), true, true), QString("----"));
        QCOMPARE(RokuyouText(0, true, true), RokuyouName(RokuyouIndex(0), true));
        QCOMPARE(RokuyouText(-700000, true, true), QString("----"));
        QCOMPARE(RokuyouText(3000000, true, true), QString("----"));
        // The old table's ends are inside the range now.
        QCOMPARE(RokuyouText(date("2000-12-31"), true, true), RokuyouName(4, true));
        QCOMPARE(RokuyouText(date("2017-01-01"), true, true), RokuyouName(2, true));
    }

    void namesAndOptions()
    {
        QCOMPARE(RokuyouText(date("2001-01-01"), true, true), QString("赤口"));
        QCOMPARE(RokuyouText(date("2001-01-01"), true, false), QString("じゃっこう"));
        QCOMPARE(RokuyouText(date("2001-01-01"), false, true), QString());
        QCOMPARE(RokuyouText(date("2101-01-01"), false, false), QString());
        const QStringList kanji = {"先勝", "友引", "先負", "仏滅", "大安", "赤口", "----"};
        const QStringList kana = {"せんしょう", "ともびき",   "さきまけ", "ぶつめつ",
                                  "たいあん",   "じゃっこう", "----"};
        for (int i = 0; i <= 6; ++i) {
            QCOMPARE(RokuyouName(i, true), kanji[i]);
            QCOMPARE(RokuyouName(i, false), kana[i]);
        }
        // Late evening counts as the same day.
        const DateTime d = date("2008-05-05");
        QCOMPARE(RokuyouText(d + EncodeTime(23, 59, 59), true, true), QString("仏滅"));
        QCOMPARE(RokuyouText(d, true, true), QString("仏滅"));
        // Before 1899-12-30 the whole part is the day too.
        const DateTime old = date("1880-06-15");
        QCOMPARE(RokuyouIndex(old - EncodeTime(22, 0)), RokuyouIndex(old));
    }

    // The whole range: months of 29 or 30 days, lunar years of 12 or 13
    // months, and the cycle rising by one each day within a month.
    void wholeRangeIsConsistent()
    {
        LunarDate prev = ToLunarDate(LunisolarFirstDay());
        int monthsInYear = -1, leaps = 0; // the first lunar year is seen only in part
        for (DateTime d = LunisolarFirstDay() + 1; d <= LunisolarLastDay(); d += 1) {
            const LunarDate l = ToLunarDate(d);
            QVERIFY(l.valid);
            if (l.day == 1) {
                if (prev.day != 29 && prev.day != 30)
                    QFAIL(qPrintable(QString("month of %1 days before %2").arg(prev.day).arg(d)));
                if (l.leap) {
                    ++leaps;
                    if (l.month != prev.month)
                        QFAIL("leap month must repeat the previous month");
                } else if (l.month != prev.month % 12 + 1) {
                    QFAIL(qPrintable(QString("month %1 after %2").arg(l.month).arg(prev.month)));
                }
                if (l.month == 1 && !l.leap) {
                    if (monthsInYear >= 0 && monthsInYear != 12 && monthsInYear != 13)
                        QFAIL("a lunar year of a wrong length");
                    monthsInYear = 0;
                }
                if (monthsInYear >= 0)
                    ++monthsInYear;
            } else if (l.day != prev.day + 1 || RokuyouIndex(d) != (RokuyouIndex(d - 1) + 1) % 6) {
                QFAIL("days within a month must follow each other");
            }
            prev = l;
        }
        // About seven leap months in nineteen years.
        QVERIFY(leaps >= 82 && leaps <= 86);
    }
};

QTEST_GUILESS_MAIN(TestRokuyou)
#include "tst_rokuyou.moc"
