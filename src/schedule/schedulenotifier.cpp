#include "schedulenotifier.h"

#include "balloonhints.h"
#include "foundation/clock.h"
#include "foundation/datekeys.h"
#include "foundation/datetimeformat.h"
#include "foundation/settings.h"
#include "schedulestore.h"

#include <cmath>

namespace vn {

namespace {

constexpr qint64 kMinutesPerDay = 1440;

// Whole minutes since 1899-12-30 00:00 of a date-time value.
qint64 minuteOf(DateTime t)
{
    const HMS h = DecodeTime(t);
    return qint64(DayOf(t)) * kMinutesPerDay + h.hour * 60 + h.minute;
}

DateTime timeOfMinute(qint64 minute)
{
    const qint64 day =
        minute >= 0 ? minute / kMinutesPerDay : -((-minute + kMinutesPerDay - 1) / kMinutesPerDay);
    const int m = int(minute - day * kMinutesPerDay);
    const DateTime d = double(day);
    return d >= 0 ? d + EncodeTime(m / 60, m % 60) : d - EncodeTime(m / 60, m % 60);
}

QString dateFormat()
{
    const QString f = ReadSettingStr(REG_EnvFormatDate);
    return f.isEmpty() ? QStringLiteral("yyyy/mm/dd(aaa)") : f;
}

} // namespace

ScheduleNotifier::ScheduleNotifier(const ScheduleStore& schedules, const BalloonHintStore& hints,
                                   NotifierDayInfo info, NotifierOutput& output)
    : schedules_(schedules), hints_(hints), info_(std::move(info)), output_(output)
{
    // The current minute counts as done unless its second 00 is still now.
    const DateTime now = Now();
    lastMinute_ = minuteOf(now) - (DecodeTime(now).second == 0 ? 1 : 0);
}

void ScheduleNotifier::AnnounceToday()
{
    if (ReadSettingInt(REG_ScheduleBalloonHint) != 1)
        return;
    const DateTime today = Now();
    const QString dayText = RenderDateTime(dateFormat(), today);
    const QString roku = info_.rokuyou ? info_.rokuyou(today) : QString();
    const QString holiday = info_.holidayName ? info_.holidayName(today) : QString();
    QString title = QStringLiteral("本日の予定 [") + roku + u']';
    if (!holiday.isEmpty())
        title += QStringLiteral(" ●") + holiday;
    const YMD d = DecodeDate(today);
    const int count = schedules_.ScheduleCountOn(d.year, d.month, d.day);
    const QString footer = QStringLiteral("　　　... Velnote Information");
    if (count > 0) {
        const QString text = dayText + QStringLiteral("の予定は ") + QString::number(count) +
                             QStringLiteral("件です。") + QStringLiteral("\r\n\r\n") +
                             schedules_.ScheduleTextOn(d.year, d.month, d.day) +
                             QStringLiteral("\r\n\r\n") + footer;
        output_.showBalloon(title, text, 1, 30);
        output_.playSound(ReadSettingStr(REG_SoundTodayON));
    } else {
        const QString text = dayText + QStringLiteral("の予定はありません。") +
                             QStringLiteral("\r\n\r\n\r\n") + footer;
        output_.showBalloon(title, text, 1, 30);
        output_.playSound(ReadSettingStr(REG_SoundTodayOFF));
    }
}

void ScheduleNotifier::CheckScheduleMinute()
{
    if (!messageOpen_)
        showNextMessage(); // left waiting when opening the web address failed
    const qint64 current = minuteOf(Now());
    if (current < lastMinute_) {
        lastMinute_ = current; // the clock was put back: go on from here
        return;
    }
    if (current == lastMinute_)
        return;
    const qint64 first = std::max(lastMinute_ + 1, current - kCatchUpMinutes + 1);
    lastMinute_ = current;
    for (qint64 m = first; m <= current; ++m)
        actOn(m);
}

QString ScheduleNotifier::soundForPattern() const
{
    switch (pattern_ ? pattern_->pattern() : 1) {
    case 2: return ReadSettingStr(REG_SoundSchedule2);
    case 3: return ReadSettingStr(REG_SoundSchedule3);
    default: return ReadSettingStr(REG_SoundSchedule1);
    }
}

void ScheduleNotifier::actOn(qint64 minute)
{
    const DateTime t = timeOfMinute(minute);
    const YMD d = DecodeDate(t);
    const HMS h = DecodeTime(t);
    const qint64 key = MinuteKeyValue(d.year, d.month, d.day, h.hour, h.minute);
    const AlarmHit alarm = schedules_.AlarmAt(key);
    if (!alarm.text.isEmpty()) {
        output_.showBalloon(QString::number(alarm.alarm) + QStringLiteral("分前"),
                            alarm.start + u' ' + alarm.text, 1, 10);
        output_.playSound(ReadSettingStr(REG_SoundAlarm));
    } else {
        const BalloonHintHit hint =
            hints_.BalloonHintAt(RenderDateTime(QStringLiteral("hh:nn"), t));
        if (hint.shown) {
            output_.showBalloon(hint.title, hint.message, 1, 10);
            output_.playSound(ReadSettingStr(REG_SoundBalloonHint));
        }
    }
    const ScheduleHit start = schedules_.ScheduleAt(key);
    if (start.text.isEmpty())
        return;
    output_.playSound(soundForPattern());
    QString text = RenderDateTime(QStringLiteral("yyyy/mm/dd(aaa) hh:nn"), t) +
                   QStringLiteral("\r\n\r\n") + start.text;
    const bool askUrl = start.urlFlag == 1;
    if (askUrl)
        text +=
            QStringLiteral("\r\n\r\n") + QStringLiteral("URLが指定されています、表示しますか？");
    waiting_.append({text, start.url, askUrl});
    if (!messageOpen_)
        showNextMessage();
}

void ScheduleNotifier::showNextMessage()
{
    // An answer given at once (nobody there to ask) comes back inside
    // startTimeMessage: the loop, not a nested call, shows the next one.
    while (!messageOpen_ && !waiting_.isEmpty()) {
        const Message m = waiting_.takeFirst();
        messageOpen_ = true;
        const auto inside = std::make_shared<bool>(true);
        const std::weak_ptr<ScheduleNotifier*> self = self_;
        try {
            output_.startTimeMessage(m.text, m.askUrl, [self, m, inside](bool yes) {
                const std::shared_ptr<ScheduleNotifier*> alive = self.lock();
                if (!alive)
                    return;
                ScheduleNotifier* n = *alive;
                n->messageOpen_ = false;
                if (yes && m.askUrl)
                    n->output_.openUrl(m.url);
                if (!*inside)
                    n->showNextMessage();
            });
        } catch (...) {
            messageOpen_ = false; // a message that could not be shown holds up no other
            throw;
        }
        *inside = false;
    }
}

} // namespace vn
