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

// The occurrence days of a schedule line, in order, as whole date-time
// values (days since 1899-12-30). The start day always comes first (month
// ends: the end of the start month, when it is not after the last day); a
// line that does not repeat yields its start day only, a month-end line that
// does not repeat yields nothing. Kinds the editor never writes yield the
// start day only. Each day is worked out when asked for: stepping by a fixed
// number of days is an addition, and nothing is allocated.
class OccurrenceDays {
public:
    // The test is used while the days are walked: it must outlive this.
    OccurrenceDays(const ScheduleFields& f, const HolidayTest& isHoliday);
    OccurrenceDays(const ScheduleFields& f, HolidayTest&& isHoliday) = delete;

    // The next day into *day; false when there is none.
    bool next(qint64* day)
    {
        if (state_ == State::First) {
            state_ = repeats_ ? State::Repeating : State::Done;
            *day = current_;
            return true;
        }
        if (state_ == State::Done)
            return false;
        if (step_ > 0) {
            current_ += step_;
            if (current_ > last_) {
                state_ = State::Done;
                return false;
            }
            *day = current_;
            return true;
        }
        return nextByCalendar(day);
    }
    // Passes over the days before `before`, at most `most` of them, without
    // yielding them; how many it passed. Days a fixed number apart are
    // passed by arithmetic, the others one by one.
    qsizetype skip(qint64 before, qsizetype most);
    // Days between two occurrences when that is fixed; 0 when it goes by
    // months or the line does not repeat.
    qint64 step() const { return repeats_ ? step_ : 0; }
    qint64 lastDay() const { return last_; }

private:
    // Months and years: the next day from the date of the current one.
    bool nextByCalendar(qint64* day);

    // First: current_ is the next day to yield (the start day, or a day
    // looked at by skip); after it the line repeats or is done.
    enum class State { First, Repeating, Done };
    State state_ = State::Done;
    bool repeats_ = false;
    int kind_ = 0;
    qint64 current_ = 0; // the day last yielded (the start day before the first)
    qint64 last_ = 0;
    qint64 step_ = 0; // days between two occurrences; 0 when it goes by months
    YMD date_;        // current_ as a date, for the kinds that go by months
    const HolidayTest* holiday_;
};

// Calls visit for every occurrence day of the line (see OccurrenceDays), in
// order, until visit returns false.
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
