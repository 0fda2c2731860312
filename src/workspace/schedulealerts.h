#pragma once
// The schedule notifications of the running program: today's schedules at
// start-up and the once-a-minute check (alarms, daily balloon hints,
// start-time messages), shown in tray balloons, message boxes and sounds.
// The main window owns it and calls it from its clock tick.
#include "schedule/balloonhints.h"
#include "schedule/schedulenotifier.h"

#include <QObject>

#include <memory>

class QWidget;

namespace vn {

class CalendarView;

class ScheduleAlerts : public QObject {
    Q_OBJECT
public:
    // The balloon hints asked once a minute: the program's one set, which
    // the balloon-hint list edits in place (an own set when none is given).
    ScheduleAlerts(CalendarView* calendar, QWidget* window, BalloonHintStore* hints = nullptr);
    ~ScheduleAlerts() override;

    // Reads BalloonHint.dat (at start-up, and after its list window closed).
    void ReloadBalloonHints();
    BalloonHintStore& balloonHints() { return *hints_; }
    // Where the schedule-time sound pattern comes from (pattern 1 until set).
    void setSoundPattern(const ScheduleSoundPattern* source);

    void AnnounceToday() { notifier_->AnnounceToday(); }
    void CheckScheduleMinute() { notifier_->CheckScheduleMinute(); }
    // BalloonHint.dat changed outside: the hints follow it (unless a row was
    // changed here; the list's save merges then).
    void takeInBalloonHintChange();
    ScheduleNotifier& notifier() { return *notifier_; }

private:
    class Output;
    std::unique_ptr<BalloonHintStore> ownHints_;
    BalloonHintStore* hints_;
    std::unique_ptr<Output> output_;
    std::unique_ptr<ScheduleNotifier> notifier_;
};

} // namespace vn
