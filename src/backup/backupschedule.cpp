#include "backupschedule.h"

#include "foundation/datetimeformat.h"
#include "foundation/settings.h"

#include <algorithm>

namespace vn {

namespace {

BackUpSchedule corrected(BackUpSchedule s)
{
    if (s.interval < kBackUpDaily || s.interval > kBackUpMonthly)
        s.interval = kBackUpWeekly;
    if (s.weekday < 0 || s.weekday > 6)
        s.weekday = 0;
    if (s.day < 0 || s.day > 27)
        s.day = 1;
    return s;
}

} // namespace

QString BackUpTimeText(int index)
{
    return QString::asprintf("%.2d:%.2d", index / 2, index % 2 * 30);
}

BackUpSchedule BackUpScheduleFromSettings()
{
    BackUpSchedule s;
    s.interval = ReadSettingInt(REG_BackUpOffset);
    s.weekday = ReadSettingInt(REG_BackUpWeek);
    s.day = ReadSettingInt(REG_BackUpDay);
    int time = ReadSettingInt(REG_BackUpTime);
    if (time < 0 || time > 47)
        time = 24;
    s.time = BackUpTimeText(time);
    s = corrected(s);
    const int max = ReadSettingInt(REG_BackUpMax);
    s.maxGenerations = std::clamp(max, kBackUpMinGenerations, kBackUpMaxGenerations);
    if (s.maxGenerations != max)
        WriteSettingInt(REG_BackUpMax, s.maxGenerations);
    return s;
}

bool BackUpDue(const BackUpSchedule& schedule, DateTime now)
{
    const BackUpSchedule s = corrected(schedule);
    if (RenderDateTime(QStringLiteral("HH:NN"), now) != s.time)
        return false;
    switch (s.interval) {
    case kBackUpDaily: return true;
    case kBackUpWeekly: return DayOfWeek(now) == s.weekday;
    default: return DecodeDate(now).day == s.day + 1;
    }
}

DateTime BackUpThreshold(const BackUpSchedule& schedule, DateTime now)
{
    const BackUpSchedule s = corrected(schedule);
    switch (s.interval) {
    case kBackUpDaily: return now - 1;
    case kBackUpWeekly: {
        const int d = DayOfWeek(now) + 1; // 1 Sunday .. 7 Saturday
        const int w = s.weekday + 1;
        return now + (d > w ? w - d : w - d - 7);
    }
    default: {
        const YMD today = DecodeDate(now);
        const int chosen = s.day + 1;
        const DateTime time = TimeOnly(now);
        if (chosen < today.day)
            return EncodeDate(today.year, today.month, chosen) + time;
        // Here today.day <= 28, so the same day exists in the month before.
        const int year = today.month == 1 ? today.year - 1 : today.year;
        const int month = today.month == 1 ? 12 : today.month - 1;
        return EncodeDate(year, month, today.day) + time;
    }
    }
}

bool BackUpOverdue(const BackUpSchedule& schedule, DateTime now, const QString& newestAutomatic)
{
    if (newestAutomatic.isEmpty())
        return true;
    const QString threshold =
        RenderDateTime(QStringLiteral("yyyymmdd_hhnnss"), BackUpThreshold(schedule, now));
    return threshold >= newestAutomatic;
}

} // namespace vn
