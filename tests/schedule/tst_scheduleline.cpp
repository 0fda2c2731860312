// Reading and writing Schedule.dat lines.
#include "schedule/scheduleline.h"

#include <QTest>

using namespace vn;

class TstScheduleLine : public QObject {
    Q_OBJECT
private slots:
    void readsEveryField()
    {
        ScheduleFields f;
        QCOMPARE(ReadScheduleLine(QStringLiteral("200412141530,10,0,1,1,20050314,定例会"), &f),
                 LineRead::Schedule);
        QCOMPARE(f.year, 2004);
        QCOMPARE(f.month, 12);
        QCOMPARE(f.day, 14);
        QCOMPARE(f.hour, 15);
        QCOMPARE(f.minute, 30);
        QCOMPARE(f.alarm, 10);
        QCOMPARE(f.urlFlag, 0);
        QCOMPARE(f.repeat, 1);
        QCOMPARE(f.kind, 1);
        QVERIFY(!f.allDay);
        QCOMPARE(f.lastYear, 2005);
        QCOMPARE(f.lastMonth, 3);
        QCOMPARE(f.lastDay, 14);
        QCOMPARE(f.text, QStringLiteral("定例会"));
        QVERIFY(f.url.isEmpty());
        QCOMPARE(f.startDayText(), QStringLiteral("20041214"));
    }

    void allDayKindsAreStoredAsOnesComplement()
    {
        ScheduleFields f;
        QCOMPARE(ReadScheduleLine(QStringLiteral("200501010000,00,0,1,-8,20301231,元日"), &f),
                 LineRead::Schedule);
        QVERIFY(f.allDay);
        QCOMPARE(f.kind, 7);
        QCOMPARE(ComposeScheduleLine(f), QStringLiteral("200501010000,00,0,1,-8,20301231,元日"));

        f.kind = 0;
        QVERIFY(ComposeScheduleLine(f).contains(QStringLiteral(",-1,")));
        f.allDay = false;
        QVERIFY(ComposeScheduleLine(f).contains(QStringLiteral(",0,")));
    }

    void textAndUrl_data()
    {
        QTest::addColumn<QString>("rest");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("url");
        QTest::newRow("url") << "会議,http://example.com/a?b=1,2"
                             << "会議"
                             << "http://example.com/a?b=1,2";
        QTest::newRow("comma in text") << "a, b ,c"
                                       << "a, b ,c"
                                       << "";
        QTest::newRow("url not http") << "会議,ftp://example.com"
                                      << "会議,ftp://example.com"
                                      << "";
        QTest::newRow("https") << "x,https://e.jp"
                               << "x"
                               << "https://e.jp";
        QTest::newRow("first http wins") << "a,http://x,http://y"
                                         << "a"
                                         << "http://x,http://y";
    }
    void textAndUrl()
    {
        QFETCH(QString, rest);
        QFETCH(QString, text);
        QFETCH(QString, url);
        const QString line = QStringLiteral("200412141530,10,1,0,0,20041214,") + rest;
        ScheduleFields f;
        QCOMPARE(ReadScheduleLine(line, &f), LineRead::Schedule);
        QCOMPARE(f.text, text);
        QCOMPARE(f.url, url);
        QCOMPARE(f.urlFlag, 1);
        // Writing it again gives the same line.
        QCOMPARE(ComposeScheduleLine(f), line);
    }

    void longUrlIsKeptWhole()
    {
        const QString url = QStringLiteral("http://e.jp/") + QString(400, u'a');
        ScheduleFields f;
        const QString line = QStringLiteral("200412141530,10,1,0,0,20041214,t,") + url;
        QCOMPARE(ReadScheduleLine(line, &f), LineRead::Schedule);
        QCOMPARE(f.url, url);
        QCOMPARE(ComposeScheduleLine(f), line);
    }

    void fieldsAreTrimmedAndFlagsCountOnlyWhenOne()
    {
        ScheduleFields f;
        QCOMPARE(ReadScheduleLine(QStringLiteral(" 200412141530 , 5 ,2, 3 ,30,20050101,  x  "), &f),
                 LineRead::Schedule);
        QCOMPARE(f.alarm, 5);
        QCOMPARE(f.urlFlag, 0);
        QCOMPARE(f.repeat, 0);
        QCOMPARE(f.kind, 30);
        QCOMPARE(f.text, QStringLiteral("x"));
        QCOMPARE(ComposeScheduleLine(f), QStringLiteral("200412141530,05,0,0,30,20050101,x"));
    }

    void commentsAndUnreadableLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("result");
        const int comment = int(LineRead::Comment), bad = int(LineRead::Unreadable);
        QTest::newRow("comment") << "/200412141530,10,0,1,1,20050314,x" << comment;
        QTest::newRow("comment, short") << "/" << comment;
        QTest::newRow("blank") << "" << bad;
        QTest::newRow("five commas") << "200412141530,10,0,1,1,20050314" << bad;
        QTest::newRow("alarm not a number") << "200412141530,1a,0,1,1,20050314,x" << bad;
        QTest::newRow("empty kind") << "200412141530,10,0,1,,20050314,x" << bad;
        QTest::newRow("no such start day") << "200502291530,10,0,1,1,20050314,x" << bad;
        QTest::newRow("month 13") << "200413011530,10,0,1,1,20050314,x" << bad;
        QTest::newRow("hour 24") << "200412142400,10,0,1,1,20050314,x" << bad;
        QTest::newRow("minute 60") << "200412141560,10,0,1,1,20050314,x" << bad;
        QTest::newRow("short start") << "2004121415,10,0,1,1,20050314,x" << bad;
        QTest::newRow("long start") << "2004121415301,10,0,1,1,20050314,x" << bad;
        QTest::newRow("no such last day") << "200412141530,10,0,1,1,20050431,x" << bad;
        QTest::newRow("last day short") << "200412141530,10,0,1,1,200504,x" << bad;
        QTest::newRow("huge alarm") << "200412141530,99999999999,0,1,1,20050314,x" << bad;
        QTest::newRow("empty text") << "200412141530,10,0,1,1,20050314," << int(LineRead::Schedule);
    }
    void commentsAndUnreadableLines()
    {
        QFETCH(QString, line);
        QFETCH(int, result);
        ScheduleFields f;
        QCOMPARE(int(ReadScheduleLine(line, &f)), result);
    }

    void keysAndLabels()
    {
        QCOMPARE(DateKey(2004, 3, 5), QStringLiteral("20040305"));
        QCOMPARE(MinuteKey(2004, 3, 5, 7, 9), QStringLiteral("200403050709"));
        QCOMPARE(ParseMinuteKey(MinuteKey(2004, 3, 5, 7, 9)), MinuteKeyValue(2004, 3, 5, 7, 9));
        QCOMPARE(ParseMinuteKey(QStringLiteral("20040305070")), qint64(-1));
        QCOMPARE(ParseMinuteKey(QStringLiteral("2004030507x9")), qint64(-1));
        // Numeric keys order as their texts do.
        QVERIFY(MinuteKeyValue(2004, 12, 31, 23, 59) < MinuteKeyValue(2005, 1, 1, 0, 0));

        const QStringList labels = {"毎日",     "毎週",     "毎月", "月末",
                                    "月末：金", "月末：土", "隔週", "毎年"};
        for (int k = 0; k < labels.size(); ++k)
            QCOMPARE(KindLabel(k), labels[k]);
        QCOMPARE(KindLabel(10), QStringLiteral("日間隔"));
        QCOMPARE(KindLabel(10000), QStringLiteral("日間隔"));
        QVERIFY(KindLabel(8).isEmpty());
        QVERIFY(KindLabel(15).isEmpty());
        QVERIFY(KindLabel(10010).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstScheduleLine)
#include "tst_scheduleline.moc"
