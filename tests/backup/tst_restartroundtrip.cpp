// What one run writes, the next run reads back the same: Schedule.dat,
// BalloonHint.dat, the run record and a backup generation.
#include "backup/backupgenerations.h"
#include "runrecord/runrecord.h"
#include "schedule/balloonhints.h"
#include "schedule/schedulelistfile.h"
#include "schedule/schedulestore.h"

#include "fakeclock.h"
#include "foundation/paths.h"
#include "foundation/textfile.h"
#include "tempdatafolder.h"

#include <QTest>

using namespace vn;
using vn::test::FakeClock;
using vn::test::TempDataFolder;

namespace {

class Pages : public BackUpSource {
public:
    BackUpSchedule schedule() const override { return {}; }
    QString pageText(int page) const override { return QStringLiteral("頁%1\r\n本文").arg(page); }
    QString tabName(int page) const override { return QStringLiteral("名前%1").arg(page); }
};

ScheduleFields schedule(int day, int hour, const QString& text, bool allDay = false)
{
    ScheduleFields f;
    f.year = 2009;
    f.month = 1;
    f.day = day;
    f.hour = allDay ? 0 : hour;
    f.alarm = allDay ? 0 : 15;
    f.repeat = 1;
    f.kind = allDay ? kKindYearly : kKindWeekly;
    f.allDay = allDay;
    f.lastYear = 2010;
    f.lastMonth = 12;
    f.lastDay = 31;
    f.text = text;
    if (!allDay) {
        f.urlFlag = 1;
        f.url = QStringLiteral("http://example.jp/?a=1,2");
    }
    return f;
}

struct Snapshot {
    QString dayText;
    int count;
    QString alarm;
    QString start;
    QString url;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

Snapshot snapshot(const ScheduleStore& s)
{
    return {s.ScheduleTextOn(2009, 1, 12), s.ScheduleCountOn(2009, 1, 12),
            s.AlarmAt(MinuteKey(2009, 1, 12, 8, 45)).text,
            s.ScheduleAt(MinuteKey(2009, 1, 12, 9, 0)).text,
            s.ScheduleAt(MinuteKey(2009, 1, 12, 9, 0)).url};
}

} // namespace

class TstRestartRoundTrip : public QObject {
    Q_OBJECT
private slots:
    void allFilesSurviveARestart()
    {
        TempDataFolder dir;
        FakeClock clock(EncodeDate(2009, 1, 12) + EncodeTime(8, 0));
        dir.writeBytes("Schedule.dat", "/ kept comment\r\nbroken line\r\n");
        Snapshot before;
        {
            // First run.
            ScheduleStore store;
            store.LoadSchedules(SchedulePath());
            store.SetScheduleFile(SchedulePath());
            store.AppendSchedule(schedule(5, 9, QStringLiteral("定例会, 第2")));
            store.AppendSchedule(schedule(12, 0, QStringLiteral("記念日"), true));
            before = snapshot(store);

            BalloonHintStore hints;
            hints.LoadBalloonHints();
            BalloonHintRow row;
            row.message = QStringLiteral("休憩,お茶");
            SetBalloonHintTime(row, 15, 0, BalloonHintTimePattern(), Today());
            hints.rows().push_back(row);
            row.shown = false;
            SetBalloonHintTime(row, 10, 0, BalloonHintTimePattern(), Today());
            hints.rows().push_back(row);
            hints.SaveBalloonHints();

            CaptureRunTime(CaptureKind::Start);
            clock.advanceMSecs(3600000);
            CaptureRunTime(CaptureKind::Tick);
            WriteRunMemo(DayNumber(Today()), QStringLiteral("出張"));

            QVERIFY(MakeBackUpGeneration(Pages(), false).made);
        }
        QCOMPARE(before.count, 2);
        QCOMPARE(before.alarm, QStringLiteral("定例会, 第2"));
        QCOMPARE(before.url, QStringLiteral("http://example.jp/?a=1,2"));

        // Second run, later the same day.
        clock.set(EncodeDate(2009, 1, 12) + EncodeTime(20, 0));
        ScheduleStore store;
        const LoadReport report = store.LoadSchedules(SchedulePath());
        QCOMPARE(report.unreadableLines.size(), 1);
        QCOMPARE(snapshot(store), before);
        QVERIFY(store.scheduleFileLines().contains("/ kept comment"));
        QVERIFY(store.scheduleFileLines().contains("broken line"));

        // The list's rewrite keeps the same schedules.
        ScheduleRows rows = ReadScheduleRows(SchedulePath());
        WriteScheduleRows(SchedulePath(), rows.file, rows.rows);
        ScheduleStore again;
        again.LoadSchedules(SchedulePath());
        QCOMPARE(snapshot(again), before);

        BalloonHintStore hints;
        QVERIFY(hints.LoadBalloonHints().ok());
        QCOMPARE(hints.rows().size(), size_t(2));
        QCOMPARE(hints.rows()[0].key, QStringLiteral("10:00"));
        QVERIFY(!hints.rows()[0].shown);
        const BalloonHintHit hit = hints.BalloonHintAt(QStringLiteral("15:00"));
        QVERIFY(hit.shown);
        QCOMPARE(hit.message, QStringLiteral("休憩,お茶"));

        CaptureRunTime(CaptureKind::Start);
        const RunDay day = ReadRunDay(RunRecordPath(), DayNumber(Today()));
        const RunDayTexts texts = DeriveRunTexts(day.start, day.end);
        QCOMPARE(texts.start, QStringLiteral("08:00"));
        QCOMPARE(texts.end, QStringLiteral("20:00"));
        QCOMPARE(texts.duration, QStringLiteral("12:01"));
        QCOMPARE(day.memo, QStringLiteral("出張"));

        // The generation's copy of Schedule.dat gives the same store.
        const QString gen = BackUpFolder() + QStringLiteral("/20090112_090000");
        ScheduleStore copy;
        copy.LoadSchedules(gen + QStringLiteral("/Schedule.dat"));
        QCOMPARE(snapshot(copy), before);
        QCOMPARE(ReadEditText(gen + QStringLiteral("/Vnote7.vnm")), Pages().pageText(7));
        QCOMPARE(ReadLines(gen + QStringLiteral("/TabName.txt")).at(29), QStringLiteral("名前29"));
        QVERIFY(!BackUpOverdue(BackUpSchedule{}, clock.now()));
    }
};

QTEST_GUILESS_MAIN(TstRestartRoundTrip)
#include "tst_restartroundtrip.moc"
