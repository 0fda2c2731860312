#pragma once
// Telling the user about schedules: today's schedules in a tray balloon at
// start-up, and once a minute the alarm balloons, the daily balloon hints
// and the start-time message that can open the schedule's web address.
//
// A minute is never skipped because no clock tick fell into its second 00:
// each tick acts on every minute since the last one acted on, oldest first,
// at most the last kCatchUpMinutes. A start-time message does not hold the
// ticks up: alarms and hints go on while it is open, and messages that fall
// due meanwhile wait their turn, shown one after another as each is closed.
#include "foundation/datetime.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

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
    // "いいえ(&N)", answered with true for "はい(&Y)"; otherwise the single
    // "はい(&Y)". Returns at once; answered runs when the message is closed
    // (at once, too, when nobody is there to ask).
    virtual void startTimeMessage(const QString& text, bool askUrl,
                                  std::function<void(bool yes)> answered) = 0;
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
    struct Message {
        QString text;
        QString url;
        bool askUrl = false;
    };
    void actOn(qint64 minute);
    void showNextMessage();
    QString soundForPattern() const;

    const ScheduleStore& schedules_;
    const BalloonHintStore& hints_;
    NotifierDayInfo info_;
    NotifierOutput& output_;
    const ScheduleSoundPattern* pattern_ = nullptr;
    qint64 lastMinute_ = 0; // minutes since 1899-12-30 of the minute last acted on
    bool messageOpen_ = false;
    QList<Message> waiting_; // start-time messages due while one was open
    // Answers arriving after the notifier is gone are dropped.
    std::shared_ptr<ScheduleNotifier*> self_ = std::make_shared<ScheduleNotifier*>(this);
};

} // namespace vn
