#include "foundation/datekeys.h"
#include "foundation/datetime.h"
#include "foundation/datetimeformat.h"

#include <QTest>

using namespace vn;

namespace {
const DateTime kSample = 39528.95296296296; // 2008-03-21 (Fri) 22:52:16
DateTime at(int y, int m, int d, int h = 0, int n = 0, int s = 0, int ms = 0)
{
    return EncodeDateTime({y, m, d}, {h, n, s, ms});
}
} // namespace

class TstDateTimeFormat : public QObject {
    Q_OBJECT
private slots:
    void dateValues()
    {
        QCOMPARE(DecodeDate(kSample), (YMD{2008, 3, 21}));
        const HMS t = DecodeTime(kSample);
        QCOMPARE(t.hour, 22);
        QCOMPARE(t.minute, 52);
        QCOMPARE(t.second, 16);
        QCOMPARE(EncodeDate(1899, 12, 30), 0.0);
        QCOMPARE(DayNumber(EncodeDate(2004, 12, 14)), 731929);
        QCOMPARE(DayNumber(EncodeDate(1, 1, 1)), 1);
        QCOMPARE(FromDayNumber(731929), EncodeDate(2004, 12, 14));
        QCOMPARE(DayOfWeek(EncodeDate(2008, 3, 21)), 5);
        QCOMPARE(DayOfWeek(EncodeDate(1873, 1, 1)), 3); // a Wednesday, before 1899
        QCOMPARE(DecodeDate(EncodeDate(1873, 1, 1)), (YMD{1873, 1, 1}));
        QCOMPARE(DecodeDate(EncodeDate(2000, 2, 29)), (YMD{2000, 2, 29}));
        QVERIFY(IsLeapYear(2000) && !IsLeapYear(1900) && IsLeapYear(2024));
        QCOMPARE(DaysInMonth(2100, 2), 28);
        // negative values: whole part is the day, the fraction the time
        QCOMPARE(DecodeDate(-1.25), (YMD{1899, 12, 29}));
        QCOMPARE(DecodeTime(-1.25).hour, 6);
    }

    void tokens_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        const double morning = at(2005, 1, 2, 9, 5, 7, 45);
        const double noon = at(2005, 1, 2, 12, 0, 0);
        const double midnight = at(2005, 1, 2, 0, 30, 0);
        QTest::newRow("default date-time")
            << "yyyy/mm/dd(aaa) hh:nn:ss" << kSample << "2008/03/21(金) 22:52:16";
        QTest::newRow("AM/PM") << "AM/PM h:n" << kSample << "PM 10:52";
        QTest::newRow("am/pm keeps case") << "am/pm h:n" << morning << "am 9:5";
        QTest::newRow("Am/Pm") << "Am/Pm hh" << kSample << "Pm 10";
        QTest::newRow("A/P") << "A/P h" << morning << "A 9";
        QTest::newRow("a/p") << "a/p h" << kSample << "p 10";
        QTest::newRow("AMPM") << "AMPM hh:nn" << kSample << "午後 10:52";
        QTest::newRow("AMPM morning") << "AMPM h:nn" << morning << "午前 9:05";
        QTest::newRow("12 at noon") << "h AM/PM" << noon << "12 PM";
        QTest::newRow("12 at midnight") << "h AM/PM" << midnight << "12 AM";
        QTest::newRow("24h without ampm") << "h" << midnight << "0";
        QTest::newRow("hh:mm minutes") << "hh:mm" << kSample << "22:52";
        QTest::newRow("yyyy/mm month") << "yyyy/mm" << kSample << "2008/03";
        QTest::newRow("h then m later") << "h時m分" << morning << "9時5分";
        QTest::newRow("m/d(aaa)") << "m/d(aaa)" << morning << "1/2(日)";
        QTest::newRow("yy") << "yy" << morning << "05";
        QTest::newRow("y") << "y" << morning << "05";
        QTest::newRow("yyy") << "yyy" << morning << "2005";
        QTest::newRow("aaaa") << "aaaa" << kSample << "金曜日";
        QTest::newRow("ddd dddd") << "ddd/dddd" << kSample << "金/金曜日";
        QTest::newRow("case-insensitive")
            << "YYYY/MM/DD HH:NN:SS" << kSample << "2008/03/21 22:52:16";
        QTest::newRow("ms") << "z zz zzz zzzz" << morning << "45 45 045 045";
        QTest::newRow("s ss sss") << "s ss sss" << morning << "7 07 07";
        QTest::newRow("hhh") << "hhh" << morning << "09";
        QTest::newRow("quotes") << "yyyy\"year\"'mm'" << kSample << "2008yearmm";
        QTest::newRow("unclosed quote") << "yy'abc" << kSample << "08abc";
        QTest::newRow("double-byte copied")
            << "yyyy年mm月dd日 hh時nn分" << kSample << "2008年03月21日 22時52分";
        QTest::newRow("other chars") << "[yyyy]-#" << kSample << "[2008]-#";
        QTest::newRow("compact keys") << "yyyymmddhhnn" << kSample << "200803212252";
        QTest::newRow("backup name") << "yyyymmdd_hhnnss" << kSample << "20080321_225216";
        QTest::newRow("mmm") << "mmm" << kSample << "3月";
        QTest::newRow("mmmm") << "mmmm" << kSample << "3月";
        QTest::newRow("ddddd") << "ddddd" << kSample << "2008/03/21";
        QTest::newRow("dddddd") << "dddddd" << kSample << "2008年3月21日";
        QTest::newRow("t") << "t" << kSample << "22:52";
        QTest::newRow("tt") << "tt" << kSample << "22:52:16";
        QTest::newRow("c with time") << "c" << kSample << "2008/03/21 22:52:16";
        QTest::newRow("c at midnight") << "c" << at(2008, 3, 21) << "2008/03/21";
        QTest::newRow("t inside 12h pattern") << "AM/PM t" << kSample << "PM 22:52";
    }
    void tokens()
    {
        QFETCH(QString, pattern);
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(RenderDateTime(pattern, value), expected);
    }

    void eras_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("reiwa first day") << at(2019, 5, 1) << "令和 令 1 01";
        QTest::newRow("heisei last day") << at(2019, 4, 30) << "平成 平 31 31";
        QTest::newRow("heisei first day") << at(1989, 1, 8) << "平成 平 1 01";
        QTest::newRow("showa last day") << at(1989, 1, 7) << "昭和 昭 64 64";
        QTest::newRow("showa first day") << at(1926, 12, 25) << "昭和 昭 1 01";
        QTest::newRow("taisho last day") << at(1926, 12, 24) << "大正 大 15 15";
        QTest::newRow("taisho first day") << at(1912, 7, 30) << "大正 大 1 01";
        QTest::newRow("meiji last day") << at(1912, 7, 29) << "明治 明 45 45";
        QTest::newRow("reiwa now") << at(2026, 12, 9) << "令和 令 8 08";
    }
    void eras()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(RenderDateTime("gg g e ee", value), expected);
    }

    void dayAndMinuteKeys()
    {
        QCOMPARE(DateKey(2004, 12, 14), QStringLiteral("20041214"));
        QCOMPARE(DateKey(EncodeDate(987, 1, 2)), QStringLiteral("09870102"));
        QCOMPARE(MinuteKey(2004, 12, 31, 23, 5), QStringLiteral("200412312305"));
        QCOMPARE(ParseMinuteKey("200412312305"), MinuteKeyValue(2004, 12, 31, 23, 5));
        QCOMPARE(ParseDigitKey(u"2004121", 8), -1);
        QCOMPARE(ParseDigitKey(u"2004-214", 8), -1);
        QVERIFY(DateKeyValue(2004, 12, 31) < DateKeyValue(2005, 1, 1));
    }

    void eraYearInDatePattern()
    {
        QCOMPARE(RenderDateTime("gge年m月d日", at(2019, 5, 1)), QStringLiteral("令和1年5月1日"));
    }
};

QTEST_GUILESS_MAIN(TstDateTimeFormat)
#include "tst_datetimeformat.moc"
