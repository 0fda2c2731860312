// The uptime texts: elapsed hours and minutes, the start moment, long uptimes.
#include "foundation/readonlyfolder.h"
#include "foundation/uptime.h"

#include <QTest>

using namespace vn;

class TstUptime : public QObject {
    Q_OBJECT
private slots:
    void texts_data()
    {
        QTest::addColumn<DateTime>("now");
        QTest::addColumn<qint64>("sinceBoot");
        QTest::addColumn<QString>("elapsed");
        QTest::addColumn<QString>("started");
        const auto at = [](int y, int m, int d, int h, int n, int s = 0) {
            return EncodeDate(y, m, d) + EncodeTime(h, n, s);
        };
        const qint64 minute = 60000, hour = 60 * minute, day = 24 * hour;
        QTest::newRow("started today")
            << at(2009, 1, 5, 10, 20) << 2 * hour + 5 * minute << "2時間5分"
            << "08時15分";
        QTest::newRow("seconds are cut")
            << at(2009, 1, 5, 10, 20, 59) << 2 * hour + 5 * minute << "2時間5分"
            << "08時15分";
        QTest::newRow("just started") << at(2009, 1, 5, 0, 0, 30) << qint64(30000) << "0時間0分"
                                      << "00時00分";
        QTest::newRow("49 hours 3 minutes")
            << at(2009, 1, 7, 10, 20) << 49 * hour + 3 * minute << "49時間3分"
            << "01月05日(月) 09時17分";
        QTest::newRow("started at midnight the day before")
            << at(2009, 1, 6, 8, 0) << 32 * hour << "32時間0分"
            << "01月05日(月) 00時00分";
        // Past the 49.7 days a 32-bit count holds.
        QTest::newRow("sixty days")
            << at(2009, 3, 6, 12, 0) << 60 * day + 30 * minute << "1440時間30分"
            << "01月05日(月) 11時30分";
        QTest::newRow("across a year") << at(2009, 1, 2, 1, 0) << 2 * day << "48時間0分"
                                       << "12月31日(水) 01時00分";
    }
    void texts()
    {
        QFETCH(DateTime, now);
        QFETCH(qint64, sinceBoot);
        QFETCH(QString, elapsed);
        QFETCH(QString, started);
        const UptimeTexts u = ComputeUptimeTexts(now, sinceBoot);
        QCOMPARE(u.elapsed, elapsed);
        QCOMPARE(u.started, started);
        QCOMPARE(u.text, "PC起動から " + elapsed + " 経過  [" + started + " 起動]");
    }

    void captionAndSystemCount()
    {
        QCOMPARE(CaptionWithUptime(ComputeUptimeTexts(EncodeDate(2009, 1, 5) + EncodeTime(10, 20),
                                                      (2 * 60 + 5) * 60000)
                                       .text),
                 QStringLiteral("Velnote   →→ PC起動から 2時間5分 経過  [08時15分 起動]"));
        SetDataFolderReadOnly(true); // another instance writes the folder
        QVERIFY(CaptionWithUptime(QStringLiteral("x")).startsWith(u"Velnote [読み取り専用]   →→ "));
        SetDataFolderReadOnly(false);
        const qint64 a = SystemMSecsSinceBoot();
        QVERIFY(a > 0);
        QTest::qWait(20);
        QVERIFY(SystemMSecsSinceBoot() >= a + 15);
    }
};

QTEST_GUILESS_MAIN(TstUptime)
#include "tst_uptime.moc"
