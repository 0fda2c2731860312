#pragma once
// Small date helpers of the calendar: per-day keys, month numbers, the time
// of day of computed dates, and weekday and month names.
#include "foundation/datekeys.h"
#include "foundation/datetime.h"

#include <QString>

namespace vn::cal {

// The key of every per-day table is DateKey (foundation/datekeys.h); the
// same key as a number (yyyy * 10000 + mm * 100 + dd):
constexpr int DateKeyNumber(int year, int month, int day)
{
    return year * 10000 + month * 100 + day;
}
int DateKeyNumber(DateTime d);
// Number of an eight-digit key, -1 when the text is not eight digits.
int ParseDateKey(QStringView key);

// Month number year * 12 + month, used to compare months.
int MonthIndex(DateTime d);
inline int MonthIndex(int year, int month)
{
    return year * 12 + month;
}

// Dates built from a year, month and day carry the time of day 01:01:01.001.
DateTime AnchorTime();
DateTime AnchorDate(int year, int month, int day);
// The 1st of the month that is `months` months after d's month (negative: before).
DateTime AddMonthsFirst(DateTime d, int months);

// i = 0 (Sunday) .. 6 (Saturday). Japanese: "日曜".. (short "日"), English:
// "Sunday".. (short "Su"); outside 0..6 "----" / "------".
QString WeekdayName(int i, bool shortForm, bool japanese);
// Alternative month names ("睦月" / "むつき"); outside 1..12 "----".
QString MonthAltName(int month, bool kanji);

} // namespace vn::cal
