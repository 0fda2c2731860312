#pragma once
// When automatic backup generations fall due: daily, weekly on a weekday or
// monthly on a day, at a half-hour time of day.
#include "foundation/datetime.h"

#include <QString>

namespace vn {

enum BackUpInterval { kBackUpDaily = 0, kBackUpWeekly = 1, kBackUpMonthly = 2 };

// The five schedule values as the settings dialog holds them.
struct BackUpSchedule {
    int interval = kBackUpWeekly;
    int weekday = 1;                        // 0 Sunday .. 6 Saturday
    int day = 1;                            // 0..27: day 1..28 of the month
    QString time = QStringLiteral("12:00"); // the shown time "hh:nn"
    int maxGenerations = 5;                 // 5..99 automatic generations kept
};

constexpr int kBackUpMinGenerations = 5;
constexpr int kBackUpMaxGenerations = 99;

// "00:00", "00:30" .. "23:30" for 0..47.
QString BackUpTimeText(int index);

// The values of the settings, each out-of-range value replaced as the
// dialog does (interval 1, weekday 0, day 1, time 24); a maximum outside
// 5..99 is moved into it and written back.
BackUpSchedule BackUpScheduleFromSettings();

// True in the scheduled minute of a scheduled day.
bool BackUpDue(const BackUpSchedule& schedule, DateTime now);

// The moment before which the newest automatic generation counts as missed:
// daily one day back, weekly the last chosen weekday before today, monthly
// the chosen day of this month when it has passed, else one month back; all
// at the time of day of now.
DateTime BackUpThreshold(const BackUpSchedule& schedule, DateTime now);

// newestAutomatic: the greatest automatic generation name, empty for none.
bool BackUpOverdue(const BackUpSchedule& schedule, DateTime now, const QString& newestAutomatic);

} // namespace vn
