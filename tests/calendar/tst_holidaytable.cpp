// Holiday table: built-in national holidays, substitute holidays and user lines.
#include "calendar/builtinholidays.h"
#include "calendar/calendardates.h"
#include "calendar/holidaytable.h"
#include "foundation/textcodec.h"
#include "tempdatafolder.h"

#include <QtTest>

using namespace vn;
using namespace vn::cal;

class TestHolidayTable : public QObject {
    Q_OBJECT

    static QString name(const HolidayTable& t, int y, int m, int d)
    {
        return t.HolidayName(y, m, d);
    }
    // Holidays of a year as "MMDD name" lines.
    static QStringList yearList(const HolidayTable& t, int year)
    {
        QStringList out;
        for (auto it = t.entries().lower_bound(year * 10000);
             it != t.entries().end() && it->first < (year + 1) * 10000; ++it)
            out << QString::asprintf("%.4d ", it->first % 10000) + it->second;
        return out;
    }

private slots:
    void substituteRulesOfTheBuiltInTable()
    {
        HolidayTable t;
        // From 2007 a substitute moves past following holidays.
        QCOMPARE(name(t, 2008, 5, 4), QString("みどりの日"));
        QCOMPARE(name(t, 2008, 5, 5), QString("こどもの日"));
        QCOMPARE(name(t, 2008, 5, 6), QString("振替休日"));
        QCOMPARE(name(t, 2009, 5, 4), QString("みどりの日"));
        QCOMPARE(name(t, 2009, 5, 5), QString("こどもの日"));
        QCOMPARE(name(t, 2009, 5, 6), QString("振替休日"));
        QCOMPARE(name(t, 2012, 1, 2), QString("振替休日"));
        // The year test is on the year only.
        QCOMPARE(name(t, 1973, 2, 12), QString("振替休日"));
        QVERIFY(!t.IsHoliday(1972, 1, 3)); // 1972-01-02 is a Sunday: no substitute yet
        // Before 2007 the later holiday's name replaces the substitute.
        QCOMPARE(name(t, 1992, 5, 4), QString("国民の休日"));
        QVERIFY(!t.IsHoliday(1992, 5, 6));
    }

    void builtInEdgeDays()
    {
        HolidayTable t;
        QCOMPARE(name(t, 2000, 1, 10), QString("成人の日"));
        QVERIFY(!t.IsHoliday(2000, 1, 15));
        QCOMPARE(name(t, 1999, 1, 15), QString("成人の日"));
        QCOMPARE(name(t, 2009, 9, 22), QString("国民の休日"));
        QCOMPARE(name(t, 2012, 9, 22), QString("秋分の日"));
        QCOMPARE(name(t, 2096, 3, 19), QString("春分の日"));
        QVERIFY(!t.IsHoliday(2101, 1, 1));
        QCOMPARE(name(t, 2004, 9, 23), QString("秋分の日"));
        QCOMPARE(name(t, 2100, 1, 1), QString("元日"));
    }

    void correctedYearsFollowTheLaw_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected"); // empty: no holiday
        auto row = [](const char* key, const char16_t* n) {
            QTest::newRow(key) << QString::fromLatin1(key) << QString::fromUtf16(n);
        };
        // 山の日
        row("20150811", u"");
        row("20160811", u"山の日");
        row("20190811", u"山の日");
        row("20190812", u"振替休日");
        row("20200810", u"山の日");
        row("20200811", u"");
        row("20210808", u"山の日");
        row("20210809", u"振替休日");
        row("20210811", u"");
        row("20220811", u"山の日");
        // 天皇誕生日
        row("20181223", u"天皇誕生日");
        row("20181224", u"振替休日");
        row("20191223", u"");
        row("20190223", u"");
        row("20200223", u"天皇誕生日");
        row("20200224", u"振替休日");
        row("20250223", u"天皇誕生日");
        row("20250224", u"振替休日");
        // 体育の日 / スポーツの日
        row("20191014", u"体育の日");
        row("20200724", u"スポーツの日");
        row("20201012", u"");
        row("20210723", u"スポーツの日");
        row("20211011", u"");
        row("20221010", u"スポーツの日");
        // 海の日
        row("20200723", u"海の日");
        row("20200720", u"");
        row("20210722", u"海の日");
        row("20210719", u"");
        row("20220718", u"海の日");
        // 2019
        row("20190429", u"昭和の日");
        row("20190430", u"国民の休日");
        row("20190501", u"天皇の即位の日");
        row("20190502", u"国民の休日");
        row("20190506", u"振替休日");
        row("20191022", u"即位礼正殿の儀の行われる日");
        // Older days of one year.
        row("19590410", u"皇太子明仁親王の結婚の儀");
        row("19890224", u"昭和天皇の大喪の礼");
        row("19901112", u"即位礼正殿の儀");
        row("19930609", u"皇太子徳仁親王の結婚の儀");
        // 海の日 and 敬老の日 became Monday holidays in 2003.
        row("20010720", u"海の日");
        row("20010716", u"");
        row("20020720", u"海の日");
        row("20030721", u"海の日");
        row("20030720", u"");
        row("20010915", u"敬老の日");
        row("20010917", u"");
        row("20020915", u"敬老の日");
        row("20020916", u"振替休日");
        row("20030915", u"敬老の日");
        row("20040920", u"敬老の日");
        row("20040915", u"");
        // 2020-05-03 is a Sunday: the substitute moves on to 6 May.
        row("20200504", u"みどりの日");
        row("20200505", u"こどもの日");
        row("20200506", u"振替休日");
        // The law took effect on 20 July 1948; 建国記念の日 from 1967.
        row("19480101", u"");
        row("19481103", u"文化の日");
        row("19480923", u"秋分の日");
        row("19490101", u"元日");
        row("19490321", u"春分の日");
        row("19660211", u"");
        row("19670211", u"建国記念の日");
        row("19850504", u"");
        row("19860505", u"こどもの日");
    }
    void correctedYearsFollowTheLaw()
    {
        QFETCH(QString, key);
        QFETCH(QString, expected);
        HolidayTable t;
        QCOMPARE(t.HolidayName(key), expected);
        QCOMPARE(t.IsHoliday(key), !expected.isEmpty());
    }

    // Whole years as published by the Cabinet Office.
    void publishedYears()
    {
        HolidayTable t;
        QCOMPARE(yearList(t, 2024),
                 QStringList({"0101 元日",       "0108 成人の日",   "0211 建国記念の日",
                              "0212 振替休日",   "0223 天皇誕生日", "0320 春分の日",
                              "0429 昭和の日",   "0503 憲法記念日", "0504 みどりの日",
                              "0505 こどもの日", "0506 振替休日",   "0715 海の日",
                              "0811 山の日",     "0812 振替休日",   "0916 敬老の日",
                              "0922 秋分の日",   "0923 振替休日",   "1014 スポーツの日",
                              "1103 文化の日",   "1104 振替休日",   "1123 勤労感謝の日"}));
        QCOMPARE(yearList(t, 2025),
                 QStringList({"0101 元日", "0113 成人の日", "0211 建国記念の日", "0223 天皇誕生日",
                              "0224 振替休日", "0320 春分の日", "0429 昭和の日", "0503 憲法記念日",
                              "0504 みどりの日", "0505 こどもの日", "0506 振替休日", "0721 海の日",
                              "0811 山の日", "0915 敬老の日", "0923 秋分の日", "1013 スポーツの日",
                              "1103 文化の日", "1123 勤労感謝の日", "1124 振替休日"}));
        QCOMPARE(yearList(t, 2019).size(), 22);
        QCOMPARE(yearList(t, 2020).size(), 18);
        QCOMPARE(yearList(t, 2021).size(), 17);
    }

    // From 2007 a day between two holidays is itself a holiday; the table
    // must hold every such day.
    void noDaySandwichedBetweenHolidaysIsMissing()
    {
        HolidayTable t;
        auto national = [&](DateTime d) {
            const QString n = t.HolidayName(d);
            return !n.isEmpty() && !n.startsWith(u"振替");
        };
        for (DateTime d = EncodeDate(2007, 1, 2); d < EncodeDate(2100, 12, 31); d += 1) {
            if (national(d - 1) && national(d + 1) && DayOfWeek(d) != 0)
                QVERIFY2(t.IsHoliday(d), qPrintable(DateKey(d)));
        }
    }

    // A Sunday holiday from 1973 on always has a substitute on the next
    // day that is not a holiday (from 2007) or on the Monday (before).
    void everySundayHolidayHasItsSubstitute()
    {
        HolidayTable t;
        for (DateTime d = EncodeDate(1974, 1, 1); d < EncodeDate(2100, 12, 1); d += 1) {
            const QString n = t.HolidayName(d);
            if (DayOfWeek(d) != 0 || n.isEmpty() || n.startsWith(u"振替"))
                continue;
            const bool after2006 = DecodeDate(d).year > 2006;
            DateTime next = d + 1;
            while (after2006 && t.IsHoliday(next) &&
                   t.HolidayName(next) != HolidayTable::kSubstitute)
                next += 1;
            if (after2006)
                QVERIFY2(t.HolidayName(next) == HolidayTable::kSubstitute, qPrintable(DateKey(d)));
            else
                QVERIFY2(t.IsHoliday(next), qPrintable(DateKey(d)));
        }
    }

    void userLines()
    {
        HolidayTable t;
        t.Rebuild({"0101,2000,2000,私の日", "0505,2008,2008,私の日", "0506,2008,2008,私の休み",
                   "0706,2001,2003,七夕前", "/0707,2001,2001,コメント"});
        QCOMPARE(name(t, 2000, 1, 1), QString("元日"));
        QCOMPARE(name(t, 2008, 5, 5), QString("こどもの日"));
        QCOMPARE(name(t, 2008, 5, 6), QString("私の休み"));
        QCOMPARE(name(t, 2008, 5, 7), QString("振替休日"));
        QCOMPARE(name(t, 2002, 7, 6), QString("七夕前"));
        QVERIFY(!t.IsHoliday(2004, 7, 6));
        QVERIFY(!t.IsHoliday(2001, 7, 7));
        // User lines make no substitutes: 2003-07-06 is a Sunday.
        QVERIFY(!t.IsHoliday(2003, 7, 7));
        // Before 2007 a user line takes a substitute day and the substitute is lost
        // (1996-05-05 is a Sunday).
        t.Rebuild({"0506,1996,1996,私の日"});
        QCOMPARE(name(t, 1996, 5, 6), QString("私の日"));
        QVERIFY(!t.IsHoliday(1996, 5, 7));
    }

    void nameIsCutTo255Bytes()
    {
        HolidayTable t;
        const QString longName = QString(200, QChar(u'あ'));
        t.Rebuild({"0606,2010,2010," + longName});
        const QString n = name(t, 2010, 6, 6);
        QCOMPARE(SjisLength(n), 254); // 127 double-byte characters; a half character is dropped
        QCOMPARE(n, QString(127, QChar(u'あ')));
        t.Rebuild({"0606,2010,2010," + QString(300, QChar(u'x'))});
        QCOMPARE(name(t, 2010, 6, 6).size(), 255);
        // Anything after a further comma is not part of the name.
        t.Rebuild({"0607,2010,2010,名前,余り"});
        QCOMPARE(name(t, 2010, 6, 7), QString("名前"));
    }

    void linesThatDoNotParseAreSkipped()
    {
        HolidayTable t;
        const int before = t.Count();
        const QStringList bad = {"",
                                 "0606",
                                 "0606,2010,2010",
                                 "ab06,2010,2010,x",
                                 "1306,2010,2010,x",
                                 "0600,2010,2010,x",
                                 "0632,2010,2010,x",
                                 "06w0,2010,2010,x",
                                 "06wx,2010,2010,x",
                                 "0606,20x0,2010,x",
                                 "0606,2010,-5,x",
                                 "06066,2010,2010,x",
                                 "0606,2010,2000,x",
                                 ",,,,"};
        t.Rebuild(bad);
        QCOMPARE(t.Count(), before);
        // Huge year ranges stay within the calendar's years and end at once.
        t.Rebuild({"0606,0,999999999,x"});
        QCOMPARE(name(t, 9999, 6, 6), QString("x"));
        QCOMPARE(name(t, 1, 6, 6), QString("x"));
        // A day that the month lacks gives a key no real date has.
        t.Rebuild({"0231,2010,2010,x", "02w5,2010,2010,y"});
        QVERIFY(t.IsHoliday(QString("20100231")));
        QVERIFY(t.IsHoliday(QString("20100229"))); // fifth Monday of February 2010
        QVERIFY(!t.IsHoliday(QString("2010022")));
        QVERIFY(!t.IsHoliday(QString("abcdefgh")));
        QCOMPARE(t.HolidayName(QString("")), QString());
    }

    void loadFromFile()
    {
        test::TempDataFolder folder;
        const QString path = folder.file("Holiday.dat");
        folder.writeBytes("Holiday.dat",
                          test::Sjis("// 会社の休み\r\n1229,2010,2012,年末休暇\r\n壊れた行\r\n"));
        HolidayTable t;
        QVERIFY(t.LoadHolidays(path));
        QCOMPARE(name(t, 2011, 12, 29), QString("年末休暇"));
        QCOMPARE(t.LoadedPath(), path);
        QCOMPARE(t.LoadedLines().size(), 3);
        QCOMPARE(name(t, 2008, 5, 6), QString("振替休日"));
        // Loading again rebuilds from scratch.
        folder.writeBytes("Holiday.dat", test::Sjis("1230,2011,2011,別の日\r\n"));
        QVERIFY(t.LoadHolidays(path));
        QVERIFY(!t.IsHoliday(2011, 12, 29));
        QCOMPARE(name(t, 2011, 12, 30), QString("別の日"));
        // A missing file leaves the built-in holidays only.
        QVERIFY(!t.LoadHolidays(folder.file("missing.dat")));
        QVERIFY(!t.IsHoliday(2011, 12, 30));
        QCOMPARE(t.Count(), HolidayTable().Count());
    }

    void builtInLinesKeepTheirForm()
    {
        const QStringList& lines = BuiltInHolidayLines();
        QVERIFY(lines.first().startsWith("//"));
        HolidayTable probe;
        for (int i = 1; i < lines.size(); ++i)
            QVERIFY2(probe.ProcessLine(lines[i], false), qPrintable(lines[i]));
    }
};

QTEST_GUILESS_MAIN(TestHolidayTable)
#include "tst_holidaytable.moc"
