#include "icalcommon.h"

#include <cstdlib>

namespace vn::ical {

QString TakeString(char* text)
{
    if (!text)
        return {};
    QString s = QString::fromUtf8(text);
    std::free(text);
    return s;
}

void PrepareLibical()
{
    static const bool done = [] {
        icalerror_set_errors_are_fatal(0);
        return true;
    }();
    (void)done;
}

LocalZone LocalZone::Resolve(const QByteArray& requested)
{
    PrepareLibical();
    LocalZone z;
    z.id = requested.isEmpty() ? QTimeZone::systemTimeZoneId() : requested;
    z.qzone = QTimeZone(z.id);
    if (!z.qzone.isValid())
        z.qzone = QTimeZone::systemTimeZone();
    if (z.id == "UTC" || z.id == "Etc/UTC" || z.id == "Etc/Universal" || z.id == "Universal" ||
        z.id == "Zulu" || z.id == "Etc/Zulu") {
        z.id = "UTC";
        z.zone = icaltimezone_get_utc_timezone();
        z.isUtc = true;
        return z;
    }
    z.zone = z.id.isEmpty() ? nullptr : icaltimezone_get_builtin_timezone(z.id.constData());
    if (!z.zone)
        z.id.clear();
    return z;
}

icaltimetype WallTime(int year, int month, int day, int hour, int minute, int second)
{
    icaltimetype t = icaltime_null_time();
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    return t;
}

icaltimetype DateValue(int year, int month, int day)
{
    icaltimetype t = icaltime_null_date();
    t.year = year;
    t.month = month;
    t.day = day;
    return t;
}

qint64 EpochSeconds(icaltimetype t, const LocalZone& local)
{
    if (t.zone || icaltime_is_utc(t))
        return qint64(
            icaltime_as_timet_with_zone(t, t.zone ? t.zone : icaltimezone_get_utc_timezone()));
    const QDateTime wall(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second),
                         local.qzone);
    return wall.toSecsSinceEpoch();
}

} // namespace vn::ical
