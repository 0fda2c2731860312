#pragma once
// Short texts about a day relative to today, for hints, status bars and
// detail panes.
#include "foundation/datetime.h"

#include <QString>

namespace vn::cal {

// Calendar days from today to d (negative in the past); times of day ignored.
int DaysFromToday(DateTime d, DateTime now);
// "3日前", "本日", "3日後".
QString RelativeDayText(DateTime d, DateTime now);
// The date in the pattern, "は、" and the relative text: "2008/03/20は、3日後".
QString DateWithRelative(const QString& pattern, DateTime d, DateTime now);

struct DateSummary {
    QString dateText;     // the date in the pattern
    QString relativeText; // RelativeDayText
    int dayDifference = 0;
};
DateSummary SummarizeDate(const QString& pattern, DateTime d, DateTime now);

// The hover hint of a day, lines joined with CR LF: the date with its
// relative text; "六曜=" and the rokuyō when shown; "休日=" and the holiday
// name when there is one; a rule and the schedule lines when there are any.
struct DayTextParts {
    QString dateWithRelative;
    bool showRoku = false;
    QString rokuyou;      // "----" outside the covered years
    QString holidayName;  // empty when none
    QString scheduleText; // lines each ending with CR LF; empty when none
};
QString ComposeDayText(const DayTextParts& parts);

} // namespace vn::cal
