#include "repetition.h"

#include <algorithm>
#include <limits>

namespace vn {

namespace {

qint64 dayCount(int y, int m, int d)
{
    return qint64(EncodeDate(y, m, d));
}

YMD ymdOf(qint64 days)
{
    return DecodeDate(DateTime(days));
}

bool isHoliday(const HolidayTest& test, int y, int m, int d)
{
    return test && test(EncodeDate(y, m, d));
}

} // namespace

int MonthEndDay(int kind, int year, int month, const HolidayTest& holiday)
{
    const int last = DaysInMonth(year, month);
    for (int day = last; day >= 1; --day) {
        const int weekday = DayOfWeek(EncodeDate(year, month, day)); // 0 Sunday
        if (kind == kKindMonthEndFriday && (weekday == 0 || weekday == 6))
            continue;
        if (kind == kKindMonthEndSaturday && weekday == 0)
            continue;
        if (!isHoliday(holiday, year, month, day))
            return day;
    }
    return last;
}

OccurrenceDays::OccurrenceDays(const ScheduleFields& f, const HolidayTest& isHoliday)
    : repeats_(f.repeat == 1 && IsKnownKind(f.kind)), kind_(f.kind),
      last_(dayCount(f.lastYear, f.lastMonth, f.lastDay)), date_{f.year, f.month, f.day},
      holiday_(&isHoliday)
{
    if (IsMonthEndKind(kind_)) {
        // Start from the month before, so that the first step lands on the
        // start month's end and is checked against the last day.
        date_.day = 1;
        if (--date_.month == 0) {
            date_.month = 12;
            --date_.year;
        }
        state_ = repeats_ ? State::Repeating : State::Done;
        return;
    }
    state_ = State::First;
    current_ = dayCount(f.year, f.month, f.day);
    if (!repeats_)
        return;
    switch (kind_) {
    case kKindDaily: step_ = 1; break;
    case kKindWeekly: step_ = 7; break;
    case kKindFortnightly: step_ = 14; break;
    case kKindMonthly:
    case kKindYearly: break;
    default: step_ = kind_ / kKindDaySpanUnit; break; // every N days
    }
}

bool OccurrenceDays::nextByCalendar(qint64* day)
{
    YMD next = date_;
    switch (kind_) {
    case kKindYearly: {
        int year = 0;
        for (int y = date_.year + 1; y <= date_.year + 12 && year == 0; ++y)
            if (date_.day <= DaysInMonth(y, date_.month))
                year = y;
        if (year == 0) {
            state_ = State::Done;
            return false;
        }
        next.year = year;
        break;
    }
    case kKindMonthly:
        // The day of month stays; months without it are passed over.
        do {
            if (++next.month == 13) {
                next.month = 1;
                ++next.year;
            }
        } while (DaysInMonth(next.year, next.month) < date_.day);
        break;
    default: // month ends
        if (++next.month == 13) {
            next.month = 1;
            ++next.year;
        }
        if (dayCount(next.year, next.month, 1) > last_) {
            state_ = State::Done;
            return false;
        }
        next.day = MonthEndDay(kind_, next.year, next.month, *holiday_);
        break;
    }
    const qint64 n = dayCount(next.year, next.month, next.day);
    if (n > last_) {
        state_ = State::Done;
        return false;
    }
    date_ = next;
    current_ = n;
    *day = n;
    return true;
}

qsizetype OccurrenceDays::skip(qint64 before, qsizetype most)
{
    qsizetype passed = 0;
    if (step_ > 0) {
        if (passed < most && state_ == State::First && current_ < before) {
            state_ = State::Repeating; // the start day, even when after the last day
            ++passed;
        }
        if (state_ != State::Repeating)
            return passed;
        const qint64 next = current_ + step_;
        const qint64 end = std::min(before, last_ + 1);
        if (next >= end)
            return passed;
        // The days next + i * step_ for i = 0 .. n - 1 are before the end.
        const qint64 n = std::min((end - next - 1) / step_ + 1, qint64(most - passed));
        current_ = next + (n - 1) * step_;
        return passed + qsizetype(n);
    }
    for (qint64 day = 0; passed < most && next(&day); ++passed) {
        if (day >= before) {
            current_ = day; // yielded by the next call
            state_ = State::First;
            break;
        }
    }
    return passed;
}

void WalkOccurrences(const ScheduleFields& f, const HolidayTest& holiday,
                     const std::function<bool(const YMD&)>& visit)
{
    OccurrenceDays days(f, holiday);
    qint64 day = 0;
    while (days.next(&day))
        if (!visit(ymdOf(day)))
            return;
}

namespace {

// The line with its start moved to a later occurrence that lies a period or
// more before `bound` (today, or the last day when that is earlier), when
// its days go by months or years: the days from there on are the same, and
// the walk to the nearest one starts near it instead of decades before.
ScheduleFields startedNear(const ScheduleFields& f, qint64 bound)
{
    if (f.repeat != 1 || !IsKnownKind(f.kind))
        return f;
    const YMD b = ymdOf(bound);
    ScheduleFields g = f;
    if (f.kind == kKindMonthly || IsMonthEndKind(f.kind)) {
        int y = b.year, m = b.month - 2;
        // A month that has the start's day (month ends take any day).
        for (;; --m) {
            if (m <= 0) {
                m += 12;
                --y;
            }
            if (IsMonthEndKind(f.kind) || f.day <= DaysInMonth(y, m))
                break;
        }
        if (IsMonthEndKind(f.kind))
            g.day = 1;
        g.year = y;
        g.month = m;
    } else if (f.kind == kKindYearly) {
        int y = b.year - 13; // the next year with the day is at most 12 on
        while (f.day > DaysInMonth(y, f.month))
            --y;
        g.year = y;
    } else {
        return f;
    }
    return qint64(g.year) * 12 + g.month > qint64(f.year) * 12 + f.month ? g : f;
}

} // namespace

DateTime NearestOccurrence(const ScheduleFields& line, DateTime today, const HolidayTest& holiday)
{
    const qint64 todayCount = qint64(DateOnly(today));
    const ScheduleFields f =
        startedNear(line, std::min(todayCount, dayCount(line.lastYear, line.lastMonth, 1)));
    qint64 result = IsMonthEndKind(f.kind)
                        ? dayCount(f.year, f.month, MonthEndDay(f.kind, f.year, f.month, holiday))
                        : dayCount(f.year, f.month, f.day);
    OccurrenceDays days(f, holiday);
    // Days a fixed number apart are passed by arithmetic up to the last
    // step before today (or before the last day): the walk below sees the
    // day it needs, and a daily line of decades costs no more than a
    // single one.
    if (const qint64 step = days.step(); step > 0) {
        const qint64 before = std::min(todayCount, days.lastDay() + 1) - step;
        if (before > result)
            days.skip(before, std::numeric_limits<qsizetype>::max());
    }
    for (qint64 t = 0; days.next(&t);) {
        if (t <= result)
            continue;
        if (result >= todayCount)
            break;
        result = t;
    }
    return DateTime(result) + EncodeTime(f.hour, f.minute);
}

QString RepeatCountText(DateTime startDay, DateTime lastDay, Repetition repetition, int n)
{
    const qint64 d = qint64(DateOnly(lastDay)) - qint64(DateOnly(startDay));
    if (d < 0)
        return QStringLiteral("1回繰り返します");
    const qint64 a = d + 1;
    qint64 count = 0;
    QString prefix;
    switch (repetition) {
    case Repetition::Daily: count = a; break;
    case Repetition::Weekly: count = (d + 7) / 7; break;
    case Repetition::Fortnightly: count = (d + 7) / 14; break;
    case Repetition::Monthly:
        count = a / 30;
        prefix = QStringLiteral("約");
        break;
    case Repetition::Yearly:
        count = a / 365;
        prefix = QStringLiteral("約");
        break;
    case Repetition::DaySpan: count = a / std::max(n, 1); break;
    }
    return prefix + QString::number(count) + QStringLiteral("回繰り返します");
}

bool IsPastSchedule(const ScheduleFields& f, DateTime today)
{
    return dayCount(f.lastYear, f.lastMonth, f.lastDay) < qint64(DateOnly(today));
}

} // namespace vn
