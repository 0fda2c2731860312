#include "calendarmodel.h"

#include "calendar/calendardates.h"
#include "foundation/clock.h"

#include <algorithm>
#include <cstdlib>

namespace vn::cal {

namespace {

template <typename T> bool store(T& field, T value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

int startDayLimit(int month)
{
    static const int len[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return len[month - 1];
}

} // namespace

CalendarModel::CalendarModel()
{
    const DateTime now = Now();
    date_ = firstMonth_ = lastMonth_ = hoverDate_ = now;
}

void CalendarModel::switchDiary(DateTime d)
{
    if (diarySwitch_)
        diarySwitch_(d);
}

void CalendarModel::shiftMonths(int months)
{
    firstMonth_ = AddMonthsFirst(firstMonth_, months);
    lastMonth_ = AddMonthsFirst(lastMonth_, months);
}

bool CalendarModel::EnsureVisible(DateTime d)
{
    const int md = MonthIndex(d);
    const int mf = MonthIndex(firstMonth_);
    const int ml = MonthIndex(lastMonth_);
    if (mf > md) {
        shiftMonths(md - mf);
        return true;
    }
    if (md > ml) {
        shiftMonths(md - ml);
        return true;
    }
    return false;
}

Redraw CalendarModel::SetDate(DateTime d)
{
    date_ = d;
    return EnsureVisible(d) ? Redraw::Full : Redraw::Blocks;
}

void CalendarModel::MoveToJanuary()
{
    const YMD f = DecodeDate(firstMonth_);
    const int year = f.month == 1 ? f.year - 1 : f.year;
    firstMonth_ = AnchorDate(year, 1, 1);
    date_ = firstMonth_;
}

void CalendarModel::MoveToNextYearJanuary()
{
    firstMonth_ = AnchorDate(DecodeDate(firstMonth_).year + 1, 1, 1);
    date_ = firstMonth_;
}

void CalendarModel::MovePrevMonth()
{
    shiftMonths(-1);
    if (MonthIndex(lastMonth_) < MonthIndex(date_))
        date_ = lastMonth_;
}

void CalendarModel::MoveNextMonth()
{
    shiftMonths(1);
    if (MonthIndex(date_) < MonthIndex(firstMonth_))
        date_ = firstMonth_;
}

void CalendarModel::MoveToToday()
{
    date_ = Now();
    const YMD t = DecodeDate(date_);
    firstMonth_ = AnchorDate(t.year, t.month, 1);
    switchDiary(date_);
}

const CalendarLayout& CalendarModel::Layout()
{
    if (MonthIndex(date_) <= MonthIndex(firstMonth_)) {
        const YMD d = DecodeDate(date_);
        firstMonth_ = AnchorDate(d.year, d.month, d.day);
    }
    const LayoutKey key{width_, height_,     cellH_, offsetX_, offsetY_, MonthIndex(firstMonth_),
                        list_,  showWeekNo_, rule_};
    if (key == layoutKey_) {
        lastMonth_ = layout_.lastMonth();
        return layout_;
    }
    LayoutInput in;
    in.width = width_;
    in.height = height_;
    in.cellH = cellH_;
    in.offsetX = offsetX_;
    in.offsetY = offsetY_;
    in.list = list_;
    in.showWeekNo = showWeekNo_;
    in.firstMonth = firstMonth_;
    in.weekRule = rule_;
    layout_ = ComputeLayout(in);
    layoutKey_ = key;
    lastMonth_ = layout_.lastMonth();
    return layout_;
}

SelectResult CalendarModel::SelectAt(int x, int y)
{
    const CalendarLayout& l = Layout();
    SelectResult r;
    if (const DayCell* c = l.hitTest(x, y)) {
        r.hit = true;
        r.target = c->date;
    } else {
        r.target = date_;
    }
    switchDiary(r.target);
    if (r.target == date_)
        return r;
    r.redraw = SetDate(r.target);
    return r;
}

DateTime CalendarModel::DateAt(int x, int y)
{
    const DayCell* c = Layout().hitTest(x, y);
    return c ? c->date : 0;
}

void CalendarModel::SetSize(int width, int height)
{
    width_ = width;
    height_ = height;
}

bool CalendarModel::SetCellHeight(int fontHeight)
{
    return store(cellH_, std::abs(fontHeight));
}
bool CalendarModel::SetOffsetX(int v)
{
    return store(offsetX_, v);
}
bool CalendarModel::SetOffsetY(int v)
{
    return store(offsetY_, v);
}

bool CalendarModel::SetList(bool v)
{
    if (list_ == v)
        return false;
    list_ = v;
    firstMonth_ = date_;
    return true;
}

bool CalendarModel::SetShowWeekNo(bool v)
{
    return store(showWeekNo_, v);
}
bool CalendarModel::SetWeekName(bool v)
{
    return store(weekName_, v);
}
bool CalendarModel::SetMonthName(bool v)
{
    return store(monthName_, v);
}
bool CalendarModel::SetMonthNameShow(bool v)
{
    return store(monthNameShow_, v);
}

bool CalendarModel::SetWeekNoMin(int v)
{
    return store(rule_.minDays, std::clamp(v, 1, 7));
}
bool CalendarModel::SetWeekNoEx(bool v)
{
    return store(rule_.extended, v);
}

bool CalendarModel::SetWeekNoMonth(int v)
{
    bool changed = store(rule_.startMonth, std::clamp(v, 1, 12));
    // Keep the start a day that exists in every year (day 31, then month 2).
    changed |= store(rule_.startDay, std::min(rule_.startDay, startDayLimit(rule_.startMonth)));
    return changed && rule_.extended;
}

bool CalendarModel::SetWeekNoDay(int v)
{
    const int day = std::min(std::clamp(v, 1, 31), startDayLimit(rule_.startMonth));
    return store(rule_.startDay, day) && rule_.extended;
}

int CalendarModel::WeekNumber(DateTime d) const
{
    if (rule_.extended)
        return ExtendedWeekNumber(DateOnly(d) + (6 - DayOfWeek(d)), rule_.startMonth,
                                  rule_.startDay);
    return StandardWeekNumber(d, rule_.minDays);
}

QString CalendarModel::WeekdayName(int i, bool shortForm) const
{
    return cal::WeekdayName(i, shortForm, weekName_);
}

QString CalendarModel::MonthAltName(int month) const
{
    return cal::MonthAltName(month, monthName_);
}

} // namespace vn::cal
