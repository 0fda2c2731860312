// The jobs of the running program: run-record capture, uptime text and
// backups, quiet while the program starts or ends.
#include "app/backgroundjobs.h"

#include "fakeclock.h"
#include "foundation/appstate.h"
#include "foundation/inifile.h"
#include "foundation/paths.h"
#include "foundation/textfile.h"
#include "tempdatafolder.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace vn;
using vn::test::At;
using vn::test::FakeClock;
using vn::test::TempDataFolder;

namespace {

QString recorded(const char* key)
{
    return IniFile(RunRecordPath())
        .readString(QString::number(DayNumber(Now())), QString::fromLatin1(key), "--:--");
}

QString msecsOfDay(int h, int n, int s)
{
    return QString::number(((h * 60 + n) * 60 + s) * 1000);
}

QStringList generations()
{
    return QDir(BackUpFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

// Fires a timer as its interval running out would.
void fire(QTimer* timer)
{
    QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
}

} // namespace

class TstBackgroundJobs : public QObject {
    Q_OBJECT
private slots:
    // Each timer of the running program, fired once its interval has passed:
    // what it runs, and nothing of it while the program starts or ends.
    void timersRunTheJobs_data()
    {
        using T = BackgroundJobs::Timer;
        QTest::addColumn<T>("timer");
        QTest::addColumn<bool>("quiet");
        QTest::addColumn<QStringList>("existing"); // generations before the start
        QTest::addColumn<int>("afterMSecs");       // from the start at 11:59:40
        QTest::addColumn<QString>("end");          // the day's end in the record
        QTest::addColumn<int>("uptimes");          // uptime texts shown after the start's
        QTest::addColumn<QStringList>("made");     // generations made
        // Weekly backups, Monday 12:00; the start is a Monday at 11:59:40.
        const QStringList recent{"20081229_120000"}, old{"20081222_120000"};
        const QString start = msecsOfDay(11, 59, 40);
        QTest::newRow("capture, 10 s on") << T::Capture << false << recent << 10000
                                          << msecsOfDay(11, 59, 50) << 0 << QStringList();
        QTest::newRow("capture, quiet")
            << T::Capture << true << recent << 10000 << start << 0 << QStringList();
        QTest::newRow("quarter minute before the backup's minute")
            << T::Quarter << false << recent << 15000 << start << 1 << QStringList();
        QTest::newRow("quarter minute in the backup's minute")
            << T::Quarter << false << recent << 25000 << start << 1
            << QStringList({"20090105_120000"});
        QTest::newRow("quarter minute, quiet")
            << T::Quarter << true << recent << 25000 << start << 0 << QStringList();
        QTest::newRow("catch-up, nothing made yet")
            << T::CatchUp << false << QStringList() << 3000 << start << 0
            << QStringList({"20090105_115900"});
        QTest::newRow("catch-up, the last one a fortnight old")
            << T::CatchUp << false << old << 3000 << start << 0 << QStringList({"20090105_115900"});
        QTest::newRow("catch-up, the last one on time")
            << T::CatchUp << false << recent << 3000 << start << 0 << QStringList();
        QTest::newRow("catch-up, quiet")
            << T::CatchUp << true << QStringList() << 3000 << start << 0 << QStringList();
    }
    void timersRunTheJobs()
    {
        using T = BackgroundJobs::Timer;
        QFETCH(T, timer);
        QFETCH(bool, quiet);
        QFETCH(QStringList, existing);
        QFETCH(int, afterMSecs);
        QFETCH(QString, end);
        QFETCH(int, uptimes);
        QFETCH(QStringList, made);
        TempDataFolder dir;
        App() = AppState{};
        FakeClock clock(At(2009, 1, 5, 11, 59, 40));
        for (const QString& n : existing) {
            QDir().mkpath(BackUpFolder() + u'/' + n);
            WriteLines(BackUpFolder() + u'/' + n + "/Vnote.vnm", {n});
        }
        QStringList shown, reports;
        BackgroundJobs::Hooks hooks;
        hooks.pageText = [](int page) { return QStringLiteral("頁%1").arg(page); };
        hooks.showUptime = [&](const QString& t) { shown << t; };
        hooks.report = [&](const QString& m) { reports << m; };
        hooks.msecsSinceBoot = [&] { return 3600000 + clock.tickCount(); };
        BackgroundJobs jobs(hooks);
        QSignalSpy madeSignal(&jobs, &BackgroundJobs::generationMade);

        jobs.start();
        QCOMPARE(recorded("S"), msecsOfDay(11, 59, 40));
        QCOMPARE(shown.size(), 1);
        const struct {
            T which;
            int interval;
            bool singleShot;
        } timers[] = {{T::Capture, 10000, false},
                      {T::Quarter, 15000, false},
                      {T::CatchUp, BackgroundJobs::kCatchUpDelayMSecs, true}};
        for (const auto& t : timers) {
            QVERIFY(jobs.timer(t.which)->isActive());
            QCOMPARE(jobs.timer(t.which)->interval(), t.interval);
            QCOMPARE(jobs.timer(t.which)->isSingleShot(), t.singleShot);
        }

        App().timersQuiet = quiet;
        clock.advanceMSecs(afterMSecs);
        fire(jobs.timer(timer));
        jobs.capture().flush(); // what a reader of the record sees
        QCOMPARE(recorded("E"), end);
        QCOMPARE(shown.size(), 1 + uptimes);
        if (uptimes)
            QCOMPARE(shown.last(), QStringLiteral("PC起動から 1時間0分 経過  [10時59分 起動]"));
        QCOMPARE(generations(), sorted(existing + made));
        QCOMPARE(madeSignal.size(), made.size());
        QVERIFY(reports.isEmpty());

        App().timersQuiet = true; // as the real close sets it
        jobs.finish();
        for (const auto& t : timers)
            QVERIFY(!jobs.timer(t.which)->isActive());
        App() = AppState{};
    }

    void runFromStartAndFallQuiet()
    {
        TempDataFolder dir;
        App() = AppState{};
        FakeClock clock(At(2009, 1, 5, 11, 59, 40)); // a Monday; backups weekly, Monday 12:00
        QStringList uptimes, reports;
        BackgroundJobs::Hooks hooks;
        hooks.pageText = [](int page) { return QStringLiteral("頁%1").arg(page); };
        hooks.showUptime = [&](const QString& t) { uptimes << t; };
        hooks.report = [&](const QString& m) { reports << m; };
        hooks.msecsSinceBoot = [&] { return 3 * 3600000 + clock.tickCount(); };
        BackgroundJobs jobs(hooks);
        QSignalSpy made(&jobs, &BackgroundJobs::generationMade);

        jobs.start();
        QCOMPARE(recorded("S"), QString::number((11 * 3600 + 59 * 60 + 40) * 1000));
        QCOMPARE(uptimes, QStringList({"PC起動から 3時間0分 経過  [08時59分 起動]"}));
        // The catch-up: the BackUp folder is empty.
        jobs.catchUpBackUp();
        QCOMPARE(made.size(), 1);
        QCOMPARE(QDir(BackUpFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList({"20090105_115900"}));
        QCOMPARE(ReadEditText(BackUpFolder() + "/20090105_115900/Vnote3.vnm"),
                 QStringLiteral("頁3"));

        // Quiet: no capture, no uptime, no backup in its minute.
        App().timersQuiet = true;
        clock.advanceMSecs(25000); // 12:00:05
        jobs.captureTick();
        jobs.quarterTick();
        QCOMPARE(made.size(), 1);
        QCOMPARE(uptimes.size(), 1);
        jobs.capture().flush();
        QCOMPARE(recorded("E"), recorded("S"));

        App().timersQuiet = false;
        jobs.captureTick();
        jobs.quarterTick();
        QCOMPARE(made.size(), 2);
        QVERIFY(QDir(BackUpFolder()).exists("20090105_120000"));
        QCOMPARE(uptimes.last(), QStringLiteral("PC起動から 3時間0分 経過  [08時59分 起動]"));
        clock.advanceMSecs(60000);
        jobs.quarterTick();
        QCOMPARE(uptimes.last(), QStringLiteral("PC起動から 3時間1分 経過  [08時59分 起動]"));
        QCOMPARE(made.size(), 2);
        // No second catch-up: the newest automatic generation is recent.
        jobs.catchUpBackUp();
        QCOMPARE(made.size(), 2);

        // The end: the exact last moment, and the timers stop.
        clock.advanceMSecs(1234);
        App().timersQuiet = true; // as a real close sets it
        jobs.finish();
        QCOMPARE(recorded("E"), QString::number((12 * 3600 + 1 * 60 + 6) * 1000 + 234));
        QVERIFY(reports.isEmpty());
        App() = AppState{};
    }
};

QTEST_MAIN(TstBackgroundJobs)
#include "tst_backgroundjobs.moc"
