#pragma once
// The schedule editor "新規予定の登録" / "予定の修正": one schedule, entered
// from the calendar (stored into the calendar's store and Schedule.dat at
// once) or from the schedule list (stored into a row of the list).
#include "schedule/repetition.h"
#include "schedule/scheduleline.h"

#include <QDialog>

#include <array>
#include <functional>
#include <memory>

class QTimer;

namespace Ui {
class ScheduleEditor;
}

namespace vn {

class CalendarDays;
class DatePopup;
class ScheduleStore;

class ScheduleEditor : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Calendar = 0, List = 1 };
    // Receives a schedule for the list: select the row, its position (-1: a
    // new row) and the values.
    using ListStore = std::function<void(bool select, int position, const ScheduleFields&)>;

    explicit ScheduleEditor(QWidget* parent = nullptr);
    ~ScheduleEditor() override;

    // The calendar's store, which calendar mode appends to, and what to do
    // after it changed (repaint the calendar).
    void setCalendarStore(ScheduleStore* store, std::function<void()> changed);
    // The holidays and colours the date fields' drop-down calendars mark.
    void setCalendarDays(const CalendarDays* days);

    // The three ways to open the dialog; each prepares it and shows it
    // modally, returning the dialog's result.
    int NewScheduleFromCalendar(DateTime day);
    int NewScheduleFromList(ListStore store);
    int EditScheduleFromList(int row, const ScheduleFields& fields, ListStore store);

    Mode mode() const { return mode_; }
    int position() const { return position_; }
    // The schedule as the dialog shows it now (storing step 6).
    ScheduleFields values() const;

    // The controls, for tests.
    const Ui::ScheduleEditor& form() const { return *ui; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void FormShow();
    void showFields(const ScheduleFields& f);
    void applyLoopEnabling();
    void applyAllDayEnabling();
    void resetRepetition(); // "毎日", last day := start day, no month end
    void updateLoopText();
    void updateAlarmText();
    void Timer1Timer();
    Repetition repetition() const;
    void cmdAddClick();
    void cmdNewClick();
    void cmdURLClick();
    void commitNumbers();

    std::unique_ptr<Ui::ScheduleEditor> ui;
    QTimer* timer1_;
    std::array<DatePopup*, 2> datePopups_{};
    Mode mode_ = Mode::Calendar;
    int position_ = -1;
    DateTime defaultDay_ = 0;
    ScheduleFields fields_;
    ListStore listStore_;
    ScheduleStore* calendarStore_ = nullptr;
    std::function<void()> calendarChanged_;
    QString baseCaption_;
};

} // namespace vn
