#include "datekeys.h"

namespace vn {

QString DateKey(int year, int month, int day)
{
    return QString::asprintf("%.4d%.2d%.2d", year, month, day);
}

QString DateKey(DateTime d)
{
    const YMD ymd = DecodeDate(d);
    return DateKey(ymd.year, ymd.month, ymd.day);
}

QString MinuteKey(int year, int month, int day, int hour, int minute)
{
    return QString::asprintf("%.4d%.2d%.2d%.2d%.2d", year, month, day, hour, minute);
}

qint64 ParseDigitKey(QStringView key, int digits)
{
    if (key.size() != digits)
        return -1;
    qint64 v = 0;
    for (QChar c : key) {
        if (c < u'0' || c > u'9')
            return -1;
        v = v * 10 + (c.unicode() - u'0');
    }
    return v;
}

} // namespace vn
