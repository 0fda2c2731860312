#pragma once
// The calendar's date state: the selected date, the months on screen,
// navigation, selection by mouse position and week numbering. Holds no
// widget; the calendar control calls it and repaints as told.
//
// Setters named "Set" + property return true when the control must repaint.
#include "calendar/calendarlayout.h"
#include "calendar/weeknumber.h"
#include "foundation/datetime.h"

#include <functional>

namespace vn::cal {

enum class Redraw {
    None,   // nothing changed on screen
    Blocks, // redraw the month blocks over the current background
    Full,   // full repaint
};

struct SelectResult {
    bool hit = false;    // a day cell or line was under the point
    DateTime target = 0; // the day selected (the current date when nothing was hit)
    Redraw redraw = Redraw::None;
};

class CalendarModel {
public:
    CalendarModel(); // Date, FirstMonth, LastMonth and HoverDate := now

    // Called with the day whose diary must be loaded (selection, today).
    void setDiarySwitch(std::function<void(DateTime)> f) { diarySwitch_ = std::move(f); }

    // Date state.
    DateTime GetDate() const { return date_; }
    DateTime FirstMonth() const { return firstMonth_; }
    DateTime LastMonth() const { return lastMonth_; }
    DateTime HoverDate() const { return hoverDate_; }
    void SetHoverDate(DateTime d) { hoverDate_ = d; }
    void SetFirstMonth(DateTime d) { firstMonth_ = d; }

    // Selects d and keeps it visible.
    Redraw SetDate(DateTime d);
    // Scrolls so that d's month is displayed; true when the months moved.
    bool EnsureVisible(DateTime d);

    // Navigation; each ends with a full repaint.
    void MoveToJanuary();
    void MovePrevMonth();
    void MoveToToday();
    void MoveNextMonth();
    void MoveToNextYearJanuary();

    // Selects the day under (x, y) in the control; switches the diary.
    SelectResult SelectAt(int x, int y);
    // The date under (x, y), 0 when no day is there (no state changes but
    // the layout pass's own).
    DateTime DateAt(int x, int y);

    // Layout pass for painting and hit-testing: keeps the selected month from
    // lying left of the first block and records the last block's month. The
    // rectangles are computed again only when what they depend on changed.
    const CalendarLayout& Layout();

    // Control size and cell metrics.
    void SetSize(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool SetCellHeight(int fontHeight); // height of the day-number font, sign ignored
    int CellHeight() const { return cellH_; }
    bool SetOffsetX(int v);
    bool SetOffsetY(int v);
    int OffsetX() const { return offsetX_; }
    int OffsetY() const { return offsetY_; }

    // Display properties.
    bool SetList(bool v); // also sets FirstMonth := Date
    bool List() const { return list_; }
    bool SetShowWeekNo(bool v);
    bool ShowWeekNo() const { return showWeekNo_; }
    bool SetWeekName(bool v);
    bool WeekName() const { return weekName_; }
    bool SetMonthName(bool v);
    bool MonthName() const { return monthName_; }
    bool SetMonthNameShow(bool v);
    bool MonthNameShow() const { return monthNameShow_; }

    // Week numbering.
    bool SetWeekNoMin(int v); // clamped to 1..7
    bool SetWeekNoEx(bool v);
    bool SetWeekNoMonth(int v); // clamped to 1..12; repaints only under the extended rule
    bool SetWeekNoDay(int v);   // clamped to 1..31 and the month's length (February 28)
    int WeekNoMin() const { return rule_.minDays; }
    bool WeekNoEx() const { return rule_.extended; }
    int WeekNoMonth() const { return rule_.startMonth; }
    int WeekNoDay() const { return rule_.startDay; }
    const WeekRule& weekRule() const { return rule_; }
    // Number of the week of day d under the current rule (as a list line shows it).
    int WeekNumber(DateTime d) const;

    // Names under the current WeekName / MonthName settings.
    QString WeekdayName(int i, bool shortForm) const;
    QString MonthAltName(int month) const;

private:
    void switchDiary(DateTime d);
    void shiftMonths(int months);

    struct LayoutKey {
        int width = -1, height = -1, cellH = 0, offsetX = 0, offsetY = 0, firstMonth = 0;
        bool list = false, showWeekNo = false;
        WeekRule rule;
        bool operator==(const LayoutKey& o) const
        {
            return width == o.width && height == o.height && cellH == o.cellH &&
                   offsetX == o.offsetX && offsetY == o.offsetY && firstMonth == o.firstMonth &&
                   list == o.list && showWeekNo == o.showWeekNo && rule.minDays == o.rule.minDays &&
                   rule.extended == o.rule.extended && rule.startMonth == o.rule.startMonth &&
                   rule.startDay == o.rule.startDay;
        }
    };

    std::function<void(DateTime)> diarySwitch_;
    LayoutKey layoutKey_;
    CalendarLayout layout_;
    DateTime date_ = 0, firstMonth_ = 0, lastMonth_ = 0, hoverDate_ = 0;
    int width_ = 0, height_ = 0;
    int cellH_ = 12, offsetX_ = 5, offsetY_ = 2;
    bool list_ = false, showWeekNo_ = true, weekName_ = true, monthName_ = true,
         monthNameShow_ = false;
    WeekRule rule_;
};

} // namespace vn::cal
