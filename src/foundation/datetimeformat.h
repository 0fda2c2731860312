#pragma once
// The date/time pattern language (yyyy/mm/dd(aaa) hh:nn:ss and friends).
#include "datetime.h"

#include <QString>

namespace vn {

QString RenderDateTime(const QString& pattern, DateTime value);

struct Era {
    QString name; // "令和"
    YMD first;    // first day of the era
};
// The era of a date and the year within it; before the first era the name
// is empty and the year is the Gregorian year.
struct EraYear {
    QString name;
    int year;
};
EraYear EraOf(DateTime value);

} // namespace vn
