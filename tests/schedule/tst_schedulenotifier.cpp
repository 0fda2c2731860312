// Schedule notifications on a fake clock: the start-up balloon, alarms
// before start times, balloon hints, start-time messages with their web
// address, once per minute, and minutes whose second 00 saw no tick, also
// while a start-time message is open.
#include "fakeclock.h"
#include "foundation/settings.h"
#include "schedule/balloonhints.h"
#include "schedule/schedulenotifier.h"
#include "schedule/schedulestore.h"
#include "tempdatafolder.h"

#include <QtTest>

using namespace vn;

namespace {

struct Event {
    QString kind; // "balloon", "sound", "message", "url"
    QString a, b;
    int n = 0;
};

class RecordingOutput : public NotifierOutput {
public:
    void showBalloon(const QString& title, const QString& text, int icon, int seconds) override
    {
        events.append({QStringLiteral("balloon"), title, text, icon * 100 + seconds});
    }
    void playSound(const QString& path) override
    {
        events.append({QStringLiteral("sound"), path, {}, 0});
    }
    void startTimeMessage(const QString& text, bool askUrl,
                          std::function<void(bool)> answered) override
    {
        events.append({QStringLiteral("message"), text, {}, askUrl});
        if (keepOpen)
            open.append(std::move(answered));
        else
            answered(answerYes);
    }
    void openUrl(const QString& url) override
    {
        events.append({QStringLiteral("url"), url, {}, 0});
    }

    QStringList kinds() const
    {
        QStringList k;
        for (const Event& e : events)
            k.append(e.kind);
        return k;
    }
    QList<Event> events;
    bool answerYes = true;
    bool keepOpen = false;                 // messages stay open until closed by the test
    QList<std::function<void(bool)>> open; // their answers, oldest first
};

class FixedPattern : public ScheduleSoundPattern {
public:
    int pattern() const override { return value; }
    int value = 1;
};

DateTime at(int h, int n, int s, int ms = 0, int day = 20)
{
    return EncodeDate(2026, 5, day) + EncodeTime(h, n, s, ms);
}

ScheduleFields schedule(int day, int h, int n, int alarm, const QString& text)
{
    ScheduleFields f;
    f.year = f.lastYear = 2026;
    f.month = f.lastMonth = 5;
    f.day = f.lastDay = day;
    f.hour = h;
    f.minute = n;
    f.alarm = alarm;
    f.text = text;
    return f;
}

} // namespace

class TestScheduleNotifier : public QObject {
    Q_OBJECT

    test::TempDataFolder* data_ = nullptr;
    test::FakeClock* clock_ = nullptr;
    ScheduleStore* store_ = nullptr;
    BalloonHintStore* hints_ = nullptr;
    RecordingOutput* out_ = nullptr;
    ScheduleNotifier* notifier_ = nullptr;

    void make(DateTime start)
    {
        clock_->set(start);
        NotifierDayInfo info;
        info.rokuyou = [](DateTime) { return QStringLiteral("大安"); };
        info.holidayName = [](DateTime d) {
            return DecodeDate(d).day == 5 ? QStringLiteral("こどもの日") : QString();
        };
        notifier_ = new ScheduleNotifier(*store_, *hints_, info, *out_);
    }
    void tickAt(DateTime t)
    {
        clock_->set(t);
        notifier_->CheckScheduleMinute();
    }
    void addHint(int h, int n, const QString& message, bool shown = true)
    {
        BalloonHintRow row;
        row.shown = shown;
        row.hour = h;
        row.minute = n;
        row.key = QString::asprintf("%.2d:%.2d", h, n);
        row.timeText = row.key;
        row.message = message;
        hints_->rows().push_back(row);
    }

private slots:
    void init()
    {
        data_ = new test::TempDataFolder;
        clock_ = new test::FakeClock(at(8, 0, 30));
        store_ = new ScheduleStore;
        hints_ = new BalloonHintStore;
        out_ = new RecordingOutput;
        WriteSettingStr(REG_SoundAlarm, QStringLiteral("alarm.wav"));
        WriteSettingStr(REG_SoundBalloonHint, QStringLiteral("hint.wav"));
        WriteSettingStr(REG_SoundSchedule1, QStringLiteral("s1.wav"));
        WriteSettingStr(REG_SoundSchedule2, QStringLiteral("s2.wav"));
        WriteSettingStr(REG_SoundTodayON, QStringLiteral("on.wav"));
        WriteSettingStr(REG_SoundTodayOFF, QStringLiteral("off.wav"));
    }
    void cleanup()
    {
        delete notifier_;
        notifier_ = nullptr;
        delete out_;
        delete hints_;
        delete store_;
        delete clock_;
        delete data_;
    }

    void alarmThenStartMessage()
    {
        store_->ExpandOccurrences(schedule(20, 9, 0, 15, QStringLiteral("会議")));
        make(at(8, 44, 10));
        tickAt(at(8, 44, 59, 900));
        QVERIFY(out_->events.isEmpty());
        tickAt(at(8, 45, 0, 300));
        tickAt(at(8, 45, 0, 800)); // a second tick in second 00 does nothing
        QCOMPARE(out_->kinds(), (QStringList{"balloon", "sound"}));
        QCOMPARE(out_->events[0].a, QStringLiteral("15分前"));
        QCOMPARE(out_->events[0].b, QStringLiteral("09:00 会議"));
        QCOMPARE(out_->events[0].n, 110); // information icon, 10 seconds
        QCOMPARE(out_->events[1].a, QStringLiteral("alarm.wav"));
        out_->events.clear();
        FixedPattern pattern;
        pattern.value = 2;
        notifier_->setSoundPattern(&pattern);
        tickAt(at(9, 0, 0, 100));
        QCOMPARE(out_->kinds(), (QStringList{"sound", "message"}));
        QCOMPARE(out_->events[0].a, QStringLiteral("s2.wav"));
        QCOMPARE(out_->events[1].a, QStringLiteral("2026/05/20(水) 09:00\r\n\r\n会議"));
        QCOMPARE(out_->events[1].n, 0);
    }

    void alarmBeatsBalloonHint()
    {
        store_->ExpandOccurrences(schedule(20, 9, 10, 10, QStringLiteral("電話")));
        addHint(9, 0, QStringLiteral("休憩"));
        addHint(9, 1, QStringLiteral("体操"));
        addHint(9, 2, QStringLiteral("見せない"), false);
        make(at(8, 59, 30));
        tickAt(at(9, 0, 0, 200));
        QCOMPARE(out_->kinds(), (QStringList{"balloon", "sound"}));
        QCOMPARE(out_->events[0].a, QStringLiteral("10分前"));
        out_->events.clear();
        tickAt(at(9, 1, 0, 200));
        QCOMPARE(out_->kinds(), (QStringList{"balloon", "sound"}));
        QCOMPARE(out_->events[0].a, QStringLiteral("09:01"));
        QCOMPARE(out_->events[0].b, QStringLiteral("体操"));
        QCOMPARE(out_->events[1].a, QStringLiteral("hint.wav"));
        out_->events.clear();
        tickAt(at(9, 2, 0, 200));
        QVERIFY(out_->events.isEmpty());
    }

    void skippedSecondZeroStillActs()
    {
        store_->ExpandOccurrences(schedule(20, 9, 0, 15, QStringLiteral("会議")));
        addHint(10, 0, QStringLiteral("十時"));
        make(at(8, 40, 0, 100));
        // No tick fell into 08:45:00 (a slow save): the next one catches up.
        tickAt(at(8, 44, 59, 700));
        tickAt(at(8, 45, 1, 400));
        QCOMPARE(out_->kinds(), (QStringList{"balloon", "sound"}));
        tickAt(at(8, 45, 2, 0));
        QCOMPARE(out_->events.size(), 2);
        // A long pause acts on the last ten minutes only, oldest first.
        out_->events.clear();
        addHint(9, 20, QStringLiteral("古すぎる"));
        addHint(9, 55, QStringLiteral("五十五分"));
        tickAt(at(10, 3, 10));
        QStringList titles;
        for (const Event& e : out_->events)
            if (e.kind == u"balloon")
                titles.append(e.b);
        QCOMPARE(titles, (QStringList{"五十五分", "十時"}));
        // A clock put back acts again from there, not on past minutes twice.
        out_->events.clear();
        tickAt(at(9, 54, 30));
        tickAt(at(9, 55, 0));
        QCOMPARE(out_->events.size(), 2);
    }

    void openMessageKeepsTicksAndUrl()
    {
        ScheduleFields f = schedule(20, 9, 0, 0, QStringLiteral("サイト確認"));
        f.urlFlag = 1;
        f.url = QStringLiteral("https://example.jp/");
        store_->ExpandOccurrences(f);
        store_->ExpandOccurrences(schedule(20, 9, 1, 0, QStringLiteral("次の予定")));
        addHint(9, 2, QStringLiteral("二分"));
        addHint(9, 4, QStringLiteral("飛んだ分"));
        make(at(8, 59, 50));
        out_->keepOpen = true;
        tickAt(at(9, 0, 0, 0));
        QCOMPARE(out_->kinds(), (QStringList{"sound", "message"}));
        QVERIFY(out_->events[1].a.endsWith(
            QStringLiteral("\r\n\r\nURLが指定されています、表示しますか？")));
        QCOMPARE(out_->events[1].n, 1);
        QVERIFY(notifier_->messageOpen());
        // While it is open: the next start time sounds and its message
        // waits; hints come, also of a minute no tick fell into.
        for (const DateTime t : {at(9, 1, 0, 500), at(9, 2, 0, 500), at(9, 5, 1)})
            tickAt(t);
        QCOMPARE(out_->kinds(), (QStringList{"sound", "message", "sound", "balloon", "sound",
                                             "balloon", "sound"}));
        QCOMPARE(out_->events[3].b, QStringLiteral("二分"));
        QCOMPARE(out_->events[5].b, QStringLiteral("飛んだ分"));
        QCOMPARE(out_->open.size(), 1);
        // "いいえ(&N)" opens nothing, and the waiting message follows.
        out_->events.clear();
        out_->open.takeFirst()(false);
        QCOMPARE(out_->kinds(), (QStringList{"message"}));
        QVERIFY(out_->events[0].a.endsWith(QStringLiteral("次の予定")));
        out_->open.takeFirst()(true);
        QVERIFY(!notifier_->messageOpen());
        tickAt(at(9, 6, 0));
        QCOMPARE(out_->events.size(), 1);
        // "はい(&Y)" opens the address.
        out_->keepOpen = false;
        out_->events.clear();
        store_->ExpandOccurrences([&] {
            ScheduleFields g = f;
            g.minute = 7;
            return g;
        }());
        tickAt(at(9, 7, 0));
        QCOMPARE(out_->kinds(), (QStringList{"sound", "message", "url"}));
        QCOMPARE(out_->events[2].a, QStringLiteral("https://example.jp/"));
    }

    void allDayAtMidnightWithoutAlarm()
    {
        ScheduleFields f = schedule(21, 0, 0, 30, QStringLiteral("誕生日"));
        f.allDay = true;
        store_->ExpandOccurrences(f);
        make(at(23, 20, 0));
        for (int m = 25; m < 60; ++m)
            tickAt(at(23, m, 0, 100));
        QVERIFY(out_->events.isEmpty());
        tickAt(EncodeDate(2026, 5, 21) + EncodeTime(0, 0, 0, 100));
        QCOMPARE(out_->kinds(), (QStringList{"sound", "message"}));
        QCOMPARE(out_->events[1].a, QStringLiteral("2026/05/21(木) 00:00\r\n\r\n誕生日"));
    }

    void announceToday()
    {
        WriteSettingStr(REG_EnvFormatDate, QStringLiteral("yyyy年mm月dd日"));
        make(at(8, 0, 0));
        notifier_->AnnounceToday();
        QCOMPARE(out_->kinds(), (QStringList{"balloon", "sound"}));
        QCOMPARE(out_->events[0].a, QStringLiteral("本日の予定 [大安]"));
        QCOMPARE(out_->events[0].b, QStringLiteral("2026年05月20日の予定はありません。\r\n\r\n\r\n"
                                                   "　　　... Velnote Information"));
        QCOMPARE(out_->events[0].n, 130);
        QCOMPARE(out_->events[1].a, QStringLiteral("off.wav"));
        out_->events.clear();
        store_->ExpandOccurrences(schedule(5, 9, 0, 0, QStringLiteral("会議")));
        store_->ExpandOccurrences(schedule(5, 13, 30, 0, QStringLiteral("歯医者")));
        clock_->set(EncodeDate(2026, 5, 5) + EncodeTime(7, 0));
        notifier_->AnnounceToday();
        QCOMPARE(out_->events[0].a, QStringLiteral("本日の予定 [大安] ●こどもの日"));
        QCOMPARE(out_->events[0].b,
                 QStringLiteral("2026年05月05日の予定は 2件です。\r\n\r\n09:00  会議\r\n"
                                "13:30  歯医者\r\n\r\n\r\n　　　... Velnote Information"));
        QCOMPARE(out_->events[1].a, QStringLiteral("on.wav"));
        out_->events.clear();
        WriteSettingInt(REG_ScheduleBalloonHint, 0);
        notifier_->AnnounceToday();
        QVERIFY(out_->events.isEmpty());
    }
};

QTEST_MAIN(TestScheduleNotifier)
#include "tst_schedulenotifier.moc"
