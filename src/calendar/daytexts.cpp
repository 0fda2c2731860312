#include "daytexts.h"

#include "foundation/datetimeformat.h"

namespace vn::cal {

int DaysFromToday(DateTime d, DateTime now)
{
    return int(DayOf(d) - DayOf(now));
}

QString RelativeDayText(DateTime d, DateTime now)
{
    const int n = DaysFromToday(d, now);
    if (n == 0)
        return QStringLiteral("本日");
    if (n < 0)
        return QString::number(-n) + QStringLiteral("日前");
    return QString::number(n) + QStringLiteral("日後");
}

QString DateWithRelative(const QString& pattern, DateTime d, DateTime now)
{
    return RenderDateTime(pattern, d) + QStringLiteral("は、") + RelativeDayText(d, now);
}

DateSummary SummarizeDate(const QString& pattern, DateTime d, DateTime now)
{
    return {RenderDateTime(pattern, d), RelativeDayText(d, now), DaysFromToday(d, now)};
}

QString ComposeDayText(const DayTextParts& parts)
{
    const QString crlf = QStringLiteral("\r\n");
    QString text = parts.dateWithRelative;
    if (parts.showRoku)
        text += crlf + QStringLiteral("六曜=") + parts.rokuyou;
    if (!parts.holidayName.isEmpty())
        text += crlf + QStringLiteral("休日=") + parts.holidayName;
    if (!parts.scheduleText.isEmpty()) {
        QString schedules = parts.scheduleText;
        if (schedules.endsWith(crlf))
            schedules.chop(2);
        text += crlf + QStringLiteral("─────────────") + crlf + schedules;
    }
    return text;
}

} // namespace vn::cal
