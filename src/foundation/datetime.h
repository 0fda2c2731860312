#pragma once
// Date-time values: days since 1899-12-30 00:00 as a double, the fraction
// being the time of day. For values below zero the whole part is the day and
// the absolute fraction the time (-1.25 is 1899-12-29 06:00).
//
// Day numbers count days of the proleptic Gregorian calendar, 0001-01-01 being
// day 1: a date-time value's whole part + 693594.
#include <QDate>
#include <QDateTime>

namespace vn {

using DateTime = double;

struct YMD {
    int year = 0, month = 0, day = 0;
    friend bool operator==(const YMD&, const YMD&) = default;
};
struct HMS {
    int hour = 0, minute = 0, second = 0, msec = 0;
};

constexpr int kDayNumberOffset = 693594;
constexpr double kMSecsPerDay = 86400000.0;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
bool IsValidDate(int year, int month, int day);

DateTime EncodeDate(int year, int month, int day); // undefined for invalid dates
bool TryEncodeDate(int year, int month, int day, DateTime* out);
DateTime EncodeTime(int hour, int minute, int second = 0, int msec = 0);
DateTime EncodeDateTime(const YMD& d, const HMS& t);
YMD DecodeDate(DateTime v);
HMS DecodeTime(DateTime v);
int DayOfWeek(DateTime v); // 0 Sunday .. 6 Saturday
long DayOf(DateTime v);    // the whole days part
DateTime DateOnly(DateTime v);
DateTime TimeOnly(DateTime v);

int DayNumber(DateTime v);
DateTime FromDayNumber(int dayNumber);

DateTime FromQDate(const QDate& d);
DateTime FromQDateTime(const QDateTime& dt);
QDate ToQDate(DateTime v);
QDateTime ToQDateTime(DateTime v);

// Whole milliseconds between two values.
qint64 SpanMSecs(DateTime a, DateTime b);

} // namespace vn
