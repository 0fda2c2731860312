#pragma once
// The Japanese lunisolar calendar (the Tenpō rules as used by Japanese
// almanacs since 1873): months begin on the day of the new moon in Japan
// Standard Time, the month holding the winter solstice is the 11th, and in a
// span of thirteen months between two such months the first month without a
// principal solar term is a leap month repeating the previous month's number.
#include "foundation/datetime.h"

namespace vn::cal {

struct LunarDate {
    bool valid = false; // false outside the calendar's range
    int year = 0;       // lunar year (the Gregorian year in which its 1st month begins)
    int month = 0;      // 1..12
    bool leap = false;
    int day = 0; // 1..30
};

// First and last day covered: 1873-01-01 .. 2100-12-31.
DateTime LunisolarFirstDay();
DateTime LunisolarLastDay();

// The lunar date of a day (the time of day is ignored).
LunarDate ToLunarDate(DateTime d);

// Builds the months of the whole range now (otherwise each year's months
// are built at the first lookup in it).
void PrepareLunisolarCalendar();

} // namespace vn::cal
