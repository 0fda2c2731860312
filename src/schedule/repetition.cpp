#include "repetition.h"

#include <algorithm>

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

void WalkOccurrences(const ScheduleFields& f, const HolidayTest& holiday,
                     const std::function<bool(const YMD&)>& visit)
{
    const int kind = f.kind;
    const qint64 last = dayCount(f.lastYear, f.lastMonth, f.lastDay);
    YMD cur{f.year, f.month, f.day};
    bool addNothing = false;
    if (IsMonthEndKind(kind)) {
        // Start from the month before, so that the first step lands on the
        // start month's end and is checked against the last day.
        cur.day = 1;
        if (--cur.month == 0) {
            cur.month = 12;
            --cur.year;
        }
        addNothing = true;
    }
    for (;;) {
        if (addNothing)
            addNothing = false;
        else if (!visit(cur))
            return;
        if (f.repeat != 1 || !IsKnownKind(kind))
            return;

        YMD next = cur;
        switch (kind) {
        case kKindDaily: next = ymdOf(dayCount(cur.year, cur.month, cur.day) + 1); break;
        case kKindWeekly: next = ymdOf(dayCount(cur.year, cur.month, cur.day) + 7); break;
        case kKindFortnightly: next = ymdOf(dayCount(cur.year, cur.month, cur.day) + 14); break;
        case kKindYearly: {
            int year = 0;
            for (int y = cur.year + 1; y <= cur.year + 12 && year == 0; ++y)
                if (cur.day <= DaysInMonth(y, cur.month))
                    year = y;
            if (year == 0)
                return;
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
            } while (DaysInMonth(next.year, next.month) < cur.day);
            break;
        case kKindMonthEnd:
        case kKindMonthEndFriday:
        case kKindMonthEndSaturday:
            if (++next.month == 13) {
                next.month = 1;
                ++next.year;
            }
            if (dayCount(next.year, next.month, 1) > last)
                return;
            next.day = MonthEndDay(kind, next.year, next.month, holiday);
            break;
        default: // every N days
            next = ymdOf(dayCount(cur.year, cur.month, cur.day) + kind / kKindDaySpanUnit);
            break;
        }
        if (dayCount(next.year, next.month, next.day) > last)
            return;
        cur = next;
    }
}

DateTime NearestOccurrence(const ScheduleFields& f, DateTime today, const HolidayTest& holiday)
{
    const qint64 todayCount = qint64(DateOnly(today));
    qint64 result = IsMonthEndKind(f.kind)
                        ? dayCount(f.year, f.month, MonthEndDay(f.kind, f.year, f.month, holiday))
                        : dayCount(f.year, f.month, f.day);
    WalkOccurrences(f, holiday, [&](const YMD& d) {
        const qint64 t = dayCount(d.year, d.month, d.day);
        if (t <= result)
            return true;
        if (result >= todayCount)
            return false;
        result = t;
        return true;
    });
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
