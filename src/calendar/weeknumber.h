#pragma once
// Week numbers. Weeks run Sunday to Saturday.
#include "foundation/datetime.h"

namespace vn::cal {

struct WeekRule {
    int minDays = 3;       // standard rule: days of the new year needed in week 1 (1..7)
    bool extended = false; // count from startMonth/startDay instead
    int startMonth = 1;    // 1..12
    int startDay = 1;      // 1..31, cut to the month's length
};

// Standard rule for day d: week 1 is the first Sunday-to-Saturday week with
// at least minDays days in the year; earlier days take the previous year's
// count, and the count is not wrapped at the year end.
int StandardWeekNumber(DateTime d, int minDays);
// Extended rule for the week ending on saturday: the week holding the last
// (month, day) on or before that Saturday is week 1.
int ExtendedWeekNumber(DateTime saturday, int startMonth, int startDay);

} // namespace vn::cal
