#pragma once
// Telling the user about schedules: today's schedules in a tray balloon at
// start-up, and once a minute the alarm balloons, the daily balloon hints
// and the start-time message that can open the schedule's web address.
//
// A minute is never skipped because no clock tick fell into its second 00:
// each tick acts on every minute since the last one acted on, oldest first,
// at most the last kCatchUpMinutes. While a start-time message is open the
// ticks do nothing, and what falls due meanwhile is not shown later.
#include "foundation/datetime.h"

#include <QString>

#include <functional>

namespace vn {

class ScheduleStore;
class BalloonHintStore;

// Where the notifier's messages and sounds go.
class NotifierOutput {
public:
    virtual ~NotifierOutput() = default;
    // Icon kind 1 is information.
    virtual void showBalloon(const QString& title, const QString& text, int iconKind,
                             int seconds) = 0;
    virtual void playSound(const QString& path) = 0;
    // The start-time message ("情報"): with askUrl the buttons "はい(&Y)" and
    // "いいえ(&N)", true for "はい(&Y)"; otherwise the single "はい(&Y)".
    virtual bool startTimeMessage(const QString& text, bool askUrl) = 0;
    virtual void openUrl(const QString& url) = 0;
};

// The pattern (1, 2 or 3) of the schedule-time sound; the settings dialog
// is where the user chooses it.
class ScheduleSoundPattern {
public:
    virtual ~ScheduleSoundPattern() = default;
    virtual int pattern() const = 0;
};

// What the start-up balloon says about today besides the schedules.
struct NotifierDayInfo {
    std::function<QString(DateTime)> rokuyou;     // empty when rokuyō is not shown
    std::function<QString(DateTime)> holidayName; // empty when none
};

class ScheduleNotifier {
public:
    static constexpr int kCatchUpMinutes = 10;

    ScheduleNotifier(const ScheduleStore& schedules, const BalloonHintStore& hints,
                     NotifierDayInfo info, NotifierOutput& output);

    // Pattern 1 while no source is set.
    void setSoundPattern(const ScheduleSoundPattern* source) { pattern_ = source; }

    // Once at start-up: today's schedules, or that there are none.
    void AnnounceToday();
    // On every clock tick.
    void CheckScheduleMinute();
    bool messageOpen() const { return messageOpen_; }

private:
    void actOn(qint64 minute);
    QString soundForPattern() const;

    const ScheduleStore& schedules_;
    const BalloonHintStore& hints_;
    NotifierDayInfo info_;
    NotifierOutput& output_;
    const ScheduleSoundPattern* pattern_ = nullptr;
    qint64 lastMinute_ = 0; // minutes since 1899-12-30 of the minute last acted on
    bool messageOpen_ = false;
};

} // namespace vn
