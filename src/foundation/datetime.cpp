#include "datetime.h"

#include <cmath>

namespace vn {

namespace {

// Days since 1970-01-01 of a civil date (proleptic Gregorian), and back.
long daysFromCivil(long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + long(doe) - 719468;
}

YMD civilFromDays(long z)
{
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long y = long(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {int(y + (m <= 2)), int(m), int(d)};
}

constexpr long kEpochShift = 25569; // 1899-12-30 -> 1970-01-01

qint64 timeMSecs(DateTime v)
{
    double frac = std::fabs(v - std::trunc(v));
    qint64 ms = qint64(std::llround(frac * kMSecsPerDay));
    return std::min<qint64>(ms, qint64(kMSecsPerDay) - 1);
}

} // namespace

bool IsLeapYear(int y)
{
    return (y % 4 == 0) && (y % 100 != 0 || y % 400 == 0);
}

int DaysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return days[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool IsValidDate(int year, int month, int day)
{
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
}

DateTime EncodeDate(int year, int month, int day)
{
    return double(daysFromCivil(year, unsigned(month), unsigned(day)) + kEpochShift);
}

bool TryEncodeDate(int year, int month, int day, DateTime* out)
{
    if (!IsValidDate(year, month, day))
        return false;
    *out = EncodeDate(year, month, day);
    return true;
}

DateTime EncodeTime(int hour, int minute, int second, int msec)
{
    return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + msec) / kMSecsPerDay;
}

DateTime EncodeDateTime(const YMD& d, const HMS& t)
{
    const DateTime day = EncodeDate(d.year, d.month, d.day);
    const DateTime time = EncodeTime(t.hour, t.minute, t.second, t.msec);
    return day >= 0 ? day + time : day - time;
}

long DayOf(DateTime v)
{
    return long(std::trunc(v));
}

YMD DecodeDate(DateTime v)
{
    return civilFromDays(DayOf(v) - kEpochShift);
}

HMS DecodeTime(DateTime v)
{
    qint64 ms = timeMSecs(v);
    HMS t;
    t.msec = int(ms % 1000);
    ms /= 1000;
    t.second = int(ms % 60);
    ms /= 60;
    t.minute = int(ms % 60);
    t.hour = int(ms / 60);
    return t;
}

int DayOfWeek(DateTime v)
{
    // 1899-12-30 was a Saturday.
    long d = (DayOf(v) + 6) % 7;
    return int(d < 0 ? d + 7 : d);
}

DateTime DateOnly(DateTime v)
{
    return std::trunc(v);
}
DateTime TimeOnly(DateTime v)
{
    return std::fabs(v - std::trunc(v));
}

int DayNumber(DateTime v)
{
    return int(DayOf(v) + kDayNumberOffset);
}
DateTime FromDayNumber(int dayNumber)
{
    return double(dayNumber - kDayNumberOffset);
}

DateTime FromQDate(const QDate& d)
{
    return EncodeDate(d.year(), d.month(), d.day());
}

DateTime FromQDateTime(const QDateTime& dt)
{
    const QTime t = dt.time();
    return EncodeDateTime({dt.date().year(), dt.date().month(), dt.date().day()},
                          {t.hour(), t.minute(), t.second(), t.msec()});
}

QDate ToQDate(DateTime v)
{
    const YMD d = DecodeDate(v);
    return QDate(d.year, d.month, d.day);
}

QDateTime ToQDateTime(DateTime v)
{
    const HMS t = DecodeTime(v);
    return QDateTime(ToQDate(v), QTime(t.hour, t.minute, t.second, t.msec));
}

qint64 SpanMSecs(DateTime a, DateTime b)
{
    return qint64(std::llround(std::fabs(a - b) * kMSecsPerDay));
}

} // namespace vn
