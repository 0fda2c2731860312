#pragma once
// One line of Schedule.dat:
//   start yyyymmddhhnn, alarm, URL flag, repeat, kind, last day yyyymmdd,
//   text[, URL]
// All-day schedules store the kind as -kind-1. Lines starting with "/" are
// comments.
#include "foundation/datekeys.h"

#include <QString>

namespace vn {

// Repetition kinds; kind N*10 (N = 1..1000) repeats every N days.
enum ScheduleKind {
    kKindDaily = 0,
    kKindWeekly = 1,
    kKindMonthly = 2,
    kKindMonthEnd = 3,
    kKindMonthEndFriday = 4,
    kKindMonthEndSaturday = 5,
    kKindFortnightly = 6,
    kKindYearly = 7,
    kKindDaySpanUnit = 10,
    kKindDaySpanMax = 10000,
};

struct ScheduleFields {
    int year = 0, month = 0, day = 0; // start day
    int hour = 0, minute = 0;
    int alarm = 0;   // minutes before the start; 0 = none
    int urlFlag = 0; // 1 = offer to open the URL at the start
    int repeat = 0;  // 1 = repeats until the last day
    int kind = 0;
    bool allDay = false;
    int lastYear = 0, lastMonth = 0, lastDay = 0;
    QString text;
    QString url;

    QString startDayText() const; // "yyyymmdd"
    friend bool operator==(const ScheduleFields&, const ScheduleFields&) = default;
};

enum class LineRead { Schedule, Comment, Unreadable };

// Reads one line into *out. An unreadable line has fewer than six commas, a
// number field that is not a decimal integer, or a start, time or last day
// that does not exist.
LineRead ReadScheduleLine(const QString& line, ScheduleFields* out);
QString ComposeScheduleLine(const ScheduleFields& f);

// A kind the editor writes: 0..7 and N*10 for N = 1..1000.
bool IsKnownKind(int kind);
bool IsMonthEndKind(int kind);
// "毎日", "毎週", ..., "日間隔"; empty for a kind the editor never writes.
QString KindLabel(int kind);

} // namespace vn
