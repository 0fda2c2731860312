// Run-record capture, memos and the shown texts.
#include "runrecord/runrecord.h"

#include "fakeclock.h"
#include "foundation/inifile.h"
#include "foundation/paths.h"
#include "foundation/textfile.h"
#include "tempdatafolder.h"

#include <QTest>

using namespace vn;
using vn::test::FakeClock;
using vn::test::TempDataFolder;

namespace {

DateTime at(int y, int m, int d, int h, int n, int s = 0)
{
    return EncodeDate(y, m, d) + EncodeTime(h, n, s);
}

QString day(int y, int m, int d)
{
    return QString::number(DayNumber(EncodeDate(y, m, d)));
}

QString value(const QString& section, const QString& key)
{
    return IniFile(RunRecordPath()).readString(section, key, QStringLiteral("--:--"));
}

} // namespace

class TstRunRecord : public QObject {
    Q_OBJECT
private slots:
    void pathAndDayNumbers()
    {
        TempDataFolder dir;
        QCOMPARE(RunRecordPath(), dir.file("Vnote.vdt"));
        QCOMPARE(day(2004, 12, 14), QStringLiteral("731929"));
        QCOMPARE(day(2005, 1, 1), QStringLiteral("731947"));
    }

    void startsAndTicksOfOneDay()
    {
        TempDataFolder dir;
        FakeClock clock(at(2004, 12, 14, 8, 12, 40));
        const QString d = day(2004, 12, 14);
        CaptureRunTime(CaptureKind::Start);
        QCOMPARE(value(d, "S"), QStringLiteral("29560000"));
        QCOMPARE(value(d, "E"), QStringLiteral("29560000"));
        QCOMPARE(ReadLines(RunRecordPath()), QStringList({"[731929]", "S=29560000", "E=29560000"}));

        clock.advanceMSecs(10000);
        CaptureRunTime(CaptureKind::Tick);
        QCOMPARE(value(d, "S"), QStringLiteral("29560000"));
        QCOMPARE(value(d, "E"), QStringLiteral("29570000"));

        // A second start later the same day keeps S.
        clock.set(at(2004, 12, 14, 13, 0));
        CaptureRunTime(CaptureKind::Start);
        QCOMPARE(value(d, "S"), QStringLiteral("29560000"));
        QCOMPARE(value(d, "E"), QStringLiteral("46800000"));

        // The clock set back: a tick does not lower S, a start does.
        clock.set(at(2004, 12, 14, 6, 0));
        CaptureRunTime(CaptureKind::Tick);
        QCOMPARE(value(d, "S"), QStringLiteral("29560000"));
        QCOMPARE(value(d, "E"), QStringLiteral("21600000"));
        clock.set(at(2004, 12, 14, 7, 0));
        CaptureRunTime(CaptureKind::Start);
        QCOMPARE(value(d, "S"), QStringLiteral("25200000"));
        QCOMPARE(value(d, "E"), QStringLiteral("25200000"));
        const RunDayTexts t = DeriveRunTexts(value(d, "S"), value(d, "E"));
        QCOMPARE(t.start, QStringLiteral("07:00"));
        QCOMPARE(t.duration, QStringLiteral("00:01"));
    }

    void runningAcrossMidnight()
    {
        TempDataFolder dir;
        FakeClock clock(at(2005, 3, 1, 22, 0));
        CaptureRunTime(CaptureKind::Start);
        // Ten-second ticks around midnight, then on to 02:00.
        clock.set(at(2005, 3, 1, 23, 59, 25));
        for (int tick = 0; tick < 6; ++tick) {
            clock.advanceMSecs(10000);
            CaptureRunTime(CaptureKind::Tick);
        }
        clock.set(at(2005, 3, 2, 2, 0));
        CaptureRunTime(CaptureKind::Tick);
        QCOMPARE(IniFile(RunRecordPath()).sectionNames(),
                 QStringList({day(2005, 3, 1), day(2005, 3, 2)}));
        const RunDay first = ReadRunDay(RunRecordPath(), DayNumber(EncodeDate(2005, 3, 1)));
        const RunDay second = ReadRunDay(RunRecordPath(), DayNumber(EncodeDate(2005, 3, 2)));
        QCOMPARE(first.start, QStringLiteral("79200000"));
        QVERIFY(first.end.toLongLong() >= 86390000);
        QVERIFY(first.end.toLongLong() < 86400000);
        QVERIFY(second.start.toLongLong() <= 10000);
        QCOMPARE(second.end, QStringLiteral("7200000"));
        QCOMPARE(first.memo, QStringLiteral("--:--"));
        QCOMPARE(DeriveRunTexts(first.start, first.end).end, QStringLiteral("23:59"));
        QCOMPARE(DeriveRunTexts(second.start, second.end).start, QStringLiteral("00:00"));
        QCOMPARE(DeriveRunTexts(second.start, second.end).duration, QStringLiteral("02:00"));
    }

    void memos()
    {
        TempDataFolder dir;
        FakeClock clock(at(2005, 3, 2, 9, 0));
        CaptureRunTime(CaptureKind::Start);
        const int yesterday = DayNumber(EncodeDate(2005, 3, 1));
        const int today = DayNumber(EncodeDate(2005, 3, 2));
        WriteRunMemo(today, QStringLiteral("会議 = 10:00; \"x\" "));
        WriteRunMemo(yesterday, QStringLiteral("休み"));
        QCOMPARE(ReadRunDay(RunRecordPath(), today).memo, QStringLiteral("会議 = 10:00; \"x\" "));
        const RunDay y = ReadRunDay(RunRecordPath(), yesterday);
        QCOMPARE(y.memo, QStringLiteral("休み"));
        // A memo without times shows no times.
        const RunDayTexts t = DeriveRunTexts(y.start, y.end);
        QVERIFY(t.start.isEmpty() && t.end.isEmpty() && t.duration.isEmpty());
        // Deleting writes an empty memo; the capture goes on untouched.
        WriteRunMemo(today, QString());
        CaptureRunTime(CaptureKind::Tick);
        const RunDay d = ReadRunDay(RunRecordPath(), today);
        QCOMPARE(d.memo, QString());
        QCOMPARE(d.start, QStringLiteral("32400000"));
    }

    void derivedTexts_data()
    {
        QTest::addColumn<QString>("s");
        QTest::addColumn<QString>("e");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("duration");
        QTest::newRow("office day") << "32400000"
                                    << "66600000"
                                    << "09:00"
                                    << "18:30"
                                    << "09:31";
        QTest::newRow("starting minute counts") << "32430000"
                                                << "34220000"
                                                << "09:00"
                                                << "09:30"
                                                << "00:30";
        QTest::newRow("whole day") << "5000"
                                   << "86395000"
                                   << "00:00"
                                   << "23:59"
                                   << "24:00";
        QTest::newRow("23:59 span") << "0"
                                    << "86340000"
                                    << "00:00"
                                    << "23:59"
                                    << "24:00";
        QTest::newRow("23:58 span") << "0"
                                    << "86280000"
                                    << "00:00"
                                    << "23:58"
                                    << "23:59";
        QTest::newRow("end before start") << "36000000"
                                          << "32400000"
                                          << "10:00"
                                          << "09:00"
                                          << "--:--";
        QTest::newRow("no start") << "--:--"
                                  << "32400000"
                                  << ""
                                  << ""
                                  << "";
        QTest::newRow("no end") << "32400000"
                                << "--:--"
                                << ""
                                << ""
                                << "";
        QTest::newRow("garbage") << "abc"
                                 << "32400000"
                                 << ""
                                 << ""
                                 << "";
        QTest::newRow("beyond a day") << "0"
                                      << "90000000"
                                      << ""
                                      << ""
                                      << "";
    }
    void derivedTexts()
    {
        QFETCH(QString, s);
        QFETCH(QString, e);
        const RunDayTexts t = DeriveRunTexts(s, e);
        QTEST(t.start, "start");
        QTEST(t.end, "end");
        QTEST(t.duration, "duration");
    }

    void unreadableStartIsLeftAlone()
    {
        TempDataFolder dir;
        FakeClock clock(at(2005, 3, 2, 9, 0));
        IniFile(RunRecordPath()).writeValue(day(2005, 3, 2), "S", "oops");
        CaptureRunTime(CaptureKind::Start);
        QCOMPARE(value(day(2005, 3, 2), "S"), QStringLiteral("oops"));
        QCOMPARE(value(day(2005, 3, 2), "E"), QStringLiteral("32400000"));
    }
};

QTEST_GUILESS_MAIN(TstRunRecord)
#include "tst_runrecord.moc"
