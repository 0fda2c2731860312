#include "weeknumber.h"

#include <algorithm>

namespace vn::cal {

namespace {

int formula(long j, int s, int minDays)
{
    return int((j - s - minDays + 14) / 7);
}

// The start day cut to the month's length (February counts 28 days), so
// that it exists in every year.
int startDayIn(int month, int day)
{
    static const int len[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return std::clamp(day, 1, len[month - 1]);
}

} // namespace

int StandardWeekNumber(DateTime d, int minDays)
{
    minDays = std::clamp(minDays, 1, 7);
    const YMD ymd = DecodeDate(d);
    const int s = DayOfWeek(d);
    const long day = DayOf(d);
    int w = formula(day - DayOf(EncodeDate(ymd.year, 1, 1)), s, minDays);
    if (w <= 0)
        w = formula(day - DayOf(EncodeDate(ymd.year - 1, 1, 1)), s, minDays);
    return w;
}

int ExtendedWeekNumber(DateTime saturday, int startMonth, int startDay)
{
    startMonth = std::clamp(startMonth, 1, 12);
    startDay = startDayIn(startMonth, startDay);
    const long t = DayOf(saturday);
    const int year = DecodeDate(saturday).year;
    long s = DayOf(EncodeDate(year, startMonth, startDay));
    if (s > t)
        s = DayOf(EncodeDate(year - 1, startMonth, startDay));
    const int sWeekday = DayOfWeek(double(s)) + 1; // 1 Sunday .. 7 Saturday
    return int((t - s + sWeekday + 6) / 7);
}

} // namespace vn::cal
