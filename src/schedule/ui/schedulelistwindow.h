#pragma once
// The schedule list "予定一覧": every schedule of Schedule.dat as one row,
// with its nearest occurrence and that day's distance from today. Read when
// the window is shown, written in the list's order when it closes.
#include "foundation/recordfile.h"
#include "schedule/repetition.h"
#include "schedule/scheduleline.h"
#include "widgets/listwindow.h"

#include <array>

#include <functional>

class QAction;
class QToolButton;

namespace vn {

class ScheduleEditor;

class ScheduleListWindow : public ListWindow {
    Q_OBJECT
public:
    // The toolbar's commands in their order.
    enum class Command {
        Add,
        Change,
        Delete,
        SortAscending,
        SortDescending,
        ExportIcal, // "iCalendar形式で書き出し..."
        ImportIcal, // "iCalendarから読み込み..."
        Close,
        Count
    };
    enum Column {
        FromToday, // "本日から"
        StartDay,  // start day at the start time (a date-time value)
        Nearest,   // "直近の予定日時"
        Hour,
        Minute,
        Alarm,       // "警告(分)"
        Repeats,     // "繰返し" (check box)
        Interval,    // "間隔"
        LastDayText, // "最終日"
        Text,        // "内容"
        OpensUrl,    // "開く" (check box)
        Url,
        StartKey, // "yyyymmddhhnn"
        Loop,
        Kind,
        LastYear,
        LastMonth,
        LastDay,
        Offset,         // days from today to the nearest occurrence; the sort key
        StoredPosition, // "新規登録位置"
        AllDay,
        ColumnCount
    };

    explicit ScheduleListWindow(QWidget* parent = nullptr);

    void setEditor(ScheduleEditor* editor)
    {
        editor_ = [editor] { return editor; };
    }
    // The editor made when first needed.
    void setEditor(std::function<ScheduleEditor*()> editor) { editor_ = std::move(editor); }
    // Month ends step back off the holidays of the main window's calendar.
    void setHolidayTest(HolidayTest test) { holidays_ = std::move(test); }
    // The past-schedule colour the whole program shares (0x00BBGGRR).
    void setPastColour(int* shared) { pastColour_ = shared ? shared : &ownPastColour_; }
    int pastColour() const { return *pastColour_; }

    QToolButton* button(Command c) const { return buttons_[size_t(c)]; }
    QAction* pastColourAction() const { return pastColourAction_; }

    void LoadScheduleList();
    void SaveScheduleList();
    void StoreScheduleRow(bool select, int position, const ScheduleFields& fields);
    ScheduleFields fieldsAt(int row) const;

    void ToolButton1Click(); // a new schedule
    void ToolButton2Click(); // change the current one
    void ToolButton3Click(); // delete the current one
    void C1Click();          // the past-schedule colour
    // The rows as an iCalendar file, and the schedules of one added as rows
    // (and written at once); both end with a summary (schedulelistical.cpp).
    void ExportIcalClick();
    void ImportIcalClick();

protected:
    void showEvent(QShowEvent* event) override;
    void saveRows() override;
    void takeInOutsideChange() override;
    QStringList savedLines() const override;

private:
    QVariantList cellsOf(const ScheduleFields& f, int position, DateTime today) const;

    std::function<ScheduleEditor*()> editor_;
    HolidayTest holidays_;
    int ownPastColour_;
    int* pastColour_ = &ownPastColour_;
    std::array<QToolButton*, size_t(Command::Count)> buttons_{};
    QAction* pastColourAction_ = nullptr;
    RecordFile file_;
    bool loaded_ = false;
};

} // namespace vn
