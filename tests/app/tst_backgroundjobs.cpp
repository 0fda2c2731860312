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

} // namespace

class TstBackgroundJobs : public QObject {
    Q_OBJECT
private slots:
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
