#pragma once
// Which days a schedule line falls on, and the estimates shown by the list
// and the editor.
#include "scheduleline.h"

#include "foundation/datetime.h"

#include <functional>

namespace vn {

// True when the day (a date-time value without fraction) is a holiday.
using HolidayTest = std::function<bool(DateTime)>;

// The last day of the month that is no holiday; kind 4 also steps back off
// Saturdays and Sundays, kind 5 off Sundays. When every day is skipped, the
// last day of the month.
int MonthEndDay(int kind, int year, int month, const HolidayTest& isHoliday);

// Calls visit for every occurrence day of the line, in order, until visit
// returns false. The start day always comes first (month ends: the end of the
// start month, when it is not after the last day); a line that does not
// repeat yields its start day only, a month-end line that does not repeat
// yields nothing. Kinds the editor never writes yield the start day only.
void WalkOccurrences(const ScheduleFields& f, const HolidayTest& isHoliday,
                     const std::function<bool(const YMD&)>& visit);

// The first occurrence on or after today, or the last one when all are past,
// at the schedule's time of day. Only days are compared.
DateTime NearestOccurrence(const ScheduleFields& f, DateTime today, const HolidayTest& isHoliday);

// The repetition chosen in the editor.
enum class Repetition { Daily, Weekly, Fortnightly, Monthly, Yearly, DaySpan };
// "15回繰り返します", "約0回繰り返します", ...; n is the interval of DaySpan.
QString RepeatCountText(DateTime startDay, DateTime lastDay, Repetition repetition, int n);

// A schedule is past when its last day is before today.
bool IsPastSchedule(const ScheduleFields& f, DateTime today);

} // namespace vn
