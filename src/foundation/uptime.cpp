#include "uptime.h"

#include "datetimeformat.h"
#include "readonlyfolder.h"

#include <ctime>

namespace vn {

UptimeTexts ComputeUptimeTexts(DateTime now, qint64 msecsSinceBoot)
{
    constexpr qint64 day = 86400000;
    const qint64 t = std::max<qint64>(msecsSinceBoot, 0);
    UptimeTexts u;
    u.elapsed = QString::number(t / 3600000) + QStringLiteral("時間") +
                QString::number(t % 3600000 / 60000) + QStringLiteral("分");

    const HMS hms = DecodeTime(now);
    const qint64 m = ((qint64(hms.hour) * 60 + hms.minute) * 60 + hms.second) * 1000 + hms.msec;
    const qint64 today = DayNumber(now);
    if (m < t) {
        const qint64 k = (t - m) / day;
        const qint64 r = (t - m) % day;
        const DateTime start = FromDayNumber(int(today - (k + 1))) + double(day - r) / day;
        u.started = RenderDateTime(QStringLiteral("mm月dd日(aaa) hh時nn分"), start);
    } else {
        const DateTime start = FromDayNumber(int(today)) + double(m - t) / day;
        u.started = RenderDateTime(QStringLiteral("hh時nn分"), start);
    }
    u.text = QStringLiteral("PC起動から ") + u.elapsed + QStringLiteral(" 経過  [") + u.started +
             QStringLiteral(" 起動]");
    return u;
}

QString CaptionWithUptime(const QString& uptimeText)
{
    // A folder opened read-only says so wherever the window is seen.
    const QString name =
        DataFolderReadOnly() ? QStringLiteral("Velnote [読み取り専用]") : QStringLiteral("Velnote");
    return name + QStringLiteral("   →→ ") + uptimeText;
}

qint64 SystemMSecsSinceBoot()
{
    timespec ts{};
    if (::clock_gettime(CLOCK_BOOTTIME, &ts) != 0)
        return 0;
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

} // namespace vn
