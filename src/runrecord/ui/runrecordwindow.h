#pragma once
// "PC起動実績": one row per day of a period with the day's start, end and
// duration from the run record, its memo, and on request its rokuyō, holiday
// name and schedules; a calendar of its own beside the list follows the
// selected row, and the list follows the day chosen in the calendar.
#include "runrecord/runperiod.h"

#include <QDialog>
#include <QFont>
#include <QList>
#include <array>
#include <functional>
#include <memory>

class QLabel;
class QMenu;

namespace Ui {
class RunRecordWindow;
}

namespace vn {

namespace cal {
class HolidayTable;
}
class CalendarView;
class ListGrid;
class PeriodDialog;
class ScheduleStore;

// The main window's holidays and schedules: the window shows them as they are
// now, without copies of its own.
class RunRecordCalendarData {
public:
    virtual ~RunRecordCalendarData() = default;
    virtual const cal::HolidayTable& holidays() const = 0;
    virtual const ScheduleStore& schedules() const = 0;
};

class RunRecordWindow : public QDialog {
    Q_OBJECT
public:
    explicit RunRecordWindow(QWidget* parent = nullptr);
    ~RunRecordWindow() override;

    // The fonts of the window's own calendar, for loading ahead of its first use.
    static QList<QFont> calendarFonts();

    // Not owned; both live as long as the window.
    void setCalendarData(const RunRecordCalendarData* data);
    void setPeriodDialog(PeriodDialog* dialog)
    {
        periodDialog_ = [dialog] { return dialog; };
    }
    // The dialog made when first needed.
    void setPeriodDialog(std::function<PeriodDialog*()> dialog)
    {
        periodDialog_ = std::move(dialog);
    }
    // Runs before the record is read (the capture writes what it holds).
    void setBeforeRead(std::function<void()> beforeRead) { beforeRead_ = std::move(beforeRead); }

    void RefreshRunRecord();
    void SelectRunRecordDay(int dayNumber);
    void UpdateRunRecordStatus();

    enum class Command { Refresh, ChangePeriod, MemoInput, MemoDelete };
    void run(Command command);
    enum class CalendarMove { January, PrevMonth, Today, NextMonth, NextJanuary };
    void moveCalendar(CalendarMove move);
    void setDetailShown(bool shown); // "詳"

    const RunPeriod& period() const { return period_; }
    ListGrid* grid() const;
    CalendarView* calendar() const;
    QMenu* popupMenu() const { return popup_; }
    QString statusPanel(int i) const;
    bool detailShown() const;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void FormShow();
    void buildGrid();
    void buildMenu();
    void restoreLayout();
    void saveLayout();
    void gridRowChosen(int row);
    void calendarDayChosen(double date);
    void memoInput();
    void memoDelete();
    void changePeriod();
    int currentRowOrFirst() const;

    std::unique_ptr<Ui::RunRecordWindow> ui;
    std::array<QLabel*, 6> status_{};
    QMenu* popup_ = nullptr;
    const RunRecordCalendarData* data_ = nullptr;
    std::function<PeriodDialog*()> periodDialog_;
    std::function<void()> beforeRead_;
    RunPeriod period_;
    bool selecting_ = false;
};

} // namespace vn
