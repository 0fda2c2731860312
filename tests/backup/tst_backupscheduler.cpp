// The automatic generations of the running program: the catch-up at start,
// the scheduled one in its minute, and failures.
#include "backup/backupscheduler.h"

#include "fakeclock.h"
#include "foundation/datetimeformat.h"
#include "foundation/paths.h"
#include "foundation/textfile.h"
#include "tempdatafolder.h"

#include <QDir>
#include <QTest>

using namespace vn;
using vn::test::At;
using vn::test::FakeClock;
using vn::test::TempDataFolder;

namespace {

class FakeSource : public BackUpSource {
public:
    BackUpSchedule values;
    QString text = QStringLiteral("メモ");
    BackUpSchedule schedule() const override { return values; }
    QString pageText(int) const override { return text; }
    QString tabName(int page) const override { return QStringLiteral("タブ%1").arg(page + 1); }
};

void makeGeneration(const QString& name)
{
    QDir().mkpath(BackUpFolder() + u'/' + name);
    WriteLines(BackUpFolder() + u'/' + name + "/Vnote.vnm", {name});
}

// The automatic name of the current minute, or the moment in a pattern.
QString RenderNow(const QString& pattern = {})
{
    return pattern.isEmpty() ? RenderDateTime(QStringLiteral("yyyymmdd_hhnn"), Now()) + "00"
                             : RenderDateTime(pattern, Now());
}

QStringList allEntries()
{
    return QDir(BackUpFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class TstBackUpScheduler : public QObject {
    Q_OBJECT
private slots:
    void catchUpAtStartOnlyWhenOverdue_data()
    {
        QTest::addColumn<int>("interval");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<DateTime>("now");
        QTest::addColumn<bool>("made");
        QTest::addColumn<QStringList>("pruned");
        QTest::newRow("empty folder")
            << int(kBackUpWeekly) << QStringList() << At(2009, 1, 7, 9, 0) << true << QStringList();
        // Weekly on Monday; now Wednesday 09:00.
        QTest::newRow("made this Monday") << int(kBackUpWeekly) << QStringList({"20090105_120000"})
                                          << At(2009, 1, 7, 9, 0) << false << QStringList();
        QTest::newRow("made the Monday before")
            << int(kBackUpWeekly) << QStringList({"20081229_120000"}) << At(2009, 1, 7, 9, 0)
            << true << QStringList();
        QTest::newRow("manual ones do not count")
            << int(kBackUpWeekly) << QStringList({"20090107_080000_Velnote"})
            << At(2009, 1, 7, 9, 0) << true << QStringList();
        QTest::newRow("daily, made yesterday later in the day")
            << int(kBackUpDaily) << QStringList({"20090106_120000"}) << At(2009, 1, 7, 9, 0)
            << false << QStringList();
        QTest::newRow("daily, a day and more ago")
            << int(kBackUpDaily) << QStringList({"20090106_083000"}) << At(2009, 1, 7, 9, 0) << true
            << QStringList();
        // A start with the clock ahead left a generation dated in the
        // future: it is no sign of a recent backup, and it goes first.
        QTest::newRow("one dated ahead") << int(kBackUpWeekly) << QStringList({"20990601_120000"})
                                         << At(2009, 1, 7, 9, 0) << true << QStringList();
        QTest::newRow("one dated ahead, one made this Monday")
            << int(kBackUpWeekly) << QStringList({"20090105_120000", "20990601_120000"})
            << At(2009, 1, 7, 9, 0) << false << QStringList();
        QTest::newRow("over the limit: those ahead go first, furthest first")
            << int(kBackUpWeekly)
            << QStringList({"20081201_120000", "20081208_120000", "20081215_120000",
                            "20081222_120000", "20081229_120000", "20090108_120000",
                            "20990601_120000"})
            << At(2009, 1, 7, 9, 0) << true
            << QStringList({"20990601_120000", "20090108_120000", "20081201_120000"});
    }
    void catchUpAtStartOnlyWhenOverdue()
    {
        QFETCH(int, interval);
        QFETCH(QStringList, existing);
        QFETCH(DateTime, now);
        QFETCH(bool, made);
        QFETCH(QStringList, pruned);
        TempDataFolder dir;
        FakeClock clock(now);
        for (const QString& n : existing)
            makeGeneration(n);
        // A half-made copy left by a power cut goes.
        QDir().mkpath(BackUpFolder() + "/.20090101_120000.part");
        FakeSource src;
        src.values.interval = interval;
        QStringList reports;
        BackUpScheduler scheduler(src, [&](const QString& m) { reports << m; });
        QCOMPARE(scheduler.catchUp(), made);
        const QString name = RenderNow();
        QCOMPARE(QDir(BackUpFolder()).exists(name), made);
        QCOMPARE(allEntries().size(), existing.size() + (made ? 1 : 0) - pruned.size());
        for (const QString& n : pruned)
            QVERIFY2(!QDir(BackUpFolder()).exists(n), qPrintable(n));
        QVERIFY(reports.isEmpty());
    }

    void scheduledGenerationInItsMinute()
    {
        TempDataFolder dir;
        FakeClock clock(At(2009, 1, 5, 11, 58, 50)); // a Monday
        FakeSource src;                              // weekly, Monday 12:00
        BackUpScheduler scheduler(src, {});
        QStringList madeAt;
        for (int tick = 0; tick < 16; ++tick) {
            src.text = QStringLiteral("tick %1").arg(tick);
            if (scheduler.tick())
                madeAt << RenderNow(QStringLiteral("hh:nn:ss"));
            clock.advanceMSecs(15000);
        }
        QCOMPARE(madeAt, QStringList({"12:00:05", "12:00:20", "12:00:35", "12:00:50"}));
        QCOMPARE(allEntries(), QStringList({"20090105_120000"}));
        QCOMPARE(ReadEditText(BackUpFolder() + "/20090105_120000/Vnote5.vnm"),
                 QStringLiteral("tick 8"));
        // Not on Tuesday.
        clock.set(At(2009, 1, 6, 12, 0, 10));
        QVERIFY(!scheduler.tick());
    }

    void aFailingBackUpKeepsTheOldOnesAndTriesAgain()
    {
        TempDataFolder dir;
        const QStringList old = {"20081201_120000", "20081208_120000", "20081215_120000",
                                 "20081222_120000", "20081229_120000"};
        for (const QString& n : old)
            makeGeneration(n);
        QFile::link("Holiday.dat", dir.file("Holiday.dat")); // a loop: cannot be copied
        FakeClock clock(At(2009, 1, 5, 12, 0, 5));
        FakeSource src;
        QStringList reports;
        BackUpScheduler scheduler(src, [&](const QString& m) { reports << m; });
        for (int tick = 0; tick < 4; ++tick) {
            QVERIFY(!scheduler.tick());
            clock.advanceMSecs(15000);
        }
        QCOMPARE(reports.size(), 1); // once for the four ticks of the minute
        QVERIFY(reports[0].contains(QStringLiteral("Holiday.dat")));
        QCOMPARE(allEntries(), old); // untouched, nothing half-made left
        for (const QString& n : old)
            QCOMPARE(ReadLines(BackUpFolder() + u'/' + n + "/Vnote.vnm"), QStringList({n}));

        // The next due time, still failing: reported again, once.
        clock.set(At(2009, 1, 12, 12, 0, 5));
        QVERIFY(!scheduler.tick());
        QVERIFY(!scheduler.tick());
        QCOMPARE(reports.size(), 2);
        QCOMPARE(allEntries(), old);

        // Mended: the week after makes its generation and prunes the oldest.
        QFile::remove(dir.file("Holiday.dat"));
        clock.set(At(2009, 1, 19, 12, 0, 5));
        QVERIFY(scheduler.tick());
        QCOMPARE(allEntries(), old.mid(1) + QStringList({"20090119_120000"}));
        QCOMPARE(reports.size(), 2);

        // A folder that cannot be made (a file has its name) is reported too.
        clock.set(At(2009, 1, 26, 12, 0, 5));
        WriteLines(BackUpFolder() + "/20090126_120000", {});
        QVERIFY(!scheduler.tick());
        QCOMPARE(reports.size(), 3);
        QVERIFY(reports[2].startsWith(QStringLiteral("データバックアップフォルダの作成失敗")));

        // A file of the generation that cannot be written: the message names
        // the generation, not the hidden folder the copies go into first, and
        // the system's words come last, in brackets.
        clock.set(At(2009, 2, 2, 12, 0, 5));
        QDir().mkpath(BackUpFolder() + "/.20090202_120000.part/Vnote3.vnm");
        QVERIFY(!scheduler.tick());
        QCOMPARE(reports.size(), 4);
        const QString generation = QDir::toNativeSeparators(BackUpFolder() + "/20090202_120000");
        QVERIFY2(reports[3].startsWith(
                     QStringLiteral("バックアップ \"%1\" の Vnote3.vnm を書き込めません。")
                         .arg(generation)) &&
                     reports[3].endsWith(u']') && !reports[3].contains(QStringLiteral(".part")),
                 qPrintable(reports[3]));
    }
};

QTEST_GUILESS_MAIN(TstBackUpScheduler)
#include "tst_backupscheduler.moc"
