#include "calendarviewdays.h"

#include "calendarview.h"
#include "widgets/colorref.h"

#include <QDate>

namespace vn {

CalendarViewDays::CalendarViewDays(const CalendarView* view, QObject* parent)
    : QObject(parent), view_(view)
{
}

QString CalendarViewDays::holidayName(const QDate& day) const
{
    return view_->core().holidays().HolidayName(day.year(), day.month(), day.day());
}

DayColors CalendarViewDays::colors() const
{
    const auto color = [this](CalColor c) { return ToQColor(int(view_->Color(c))); };
    return {color(CalColor::Holiday), color(CalColor::Sunday), color(CalColor::Saturday)};
}

} // namespace vn
