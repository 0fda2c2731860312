#include "restorepages.h"

#include "foundation/apperror.h"
#include "foundation/datetime.h"
#include "foundation/datetimeformat.h"

namespace vn {

double GenerationStamp(const QString& name)
{
    const auto number = [&](int from, int count, bool* ok) {
        const QStringView digits = QStringView(name).mid(from, count);
        bool good = digits.size() == count;
        for (QChar c : digits)
            good = good && c >= u'0' && c <= u'9';
        *ok = *ok && good;
        return good ? digits.toInt() : 0;
    };
    bool ok = name.size() >= 15;
    const int y = number(0, 4, &ok), mo = number(4, 2, &ok), d = number(6, 2, &ok);
    const int h = number(9, 2, &ok), mi = number(11, 2, &ok), s = number(13, 2, &ok);
    DateTime date = 0;
    if (!ok || !TryEncodeDate(y, mo, d, &date) || h > 23 || mi > 59 || s > 59)
        throw AppError(QStringLiteral("'%1' は正しい日付時刻ではありません").arg(name));
    return date + EncodeTime(h, mi, s);
}

QString GenerationAgeText(const QString& name, double now)
{
    const DateTime stamp = GenerationStamp(name);
    const qint64 days = SpanMSecs(now, stamp) / 86400000;
    return (days == 0 ? QStringLiteral("24時間以内")
                      : QString::number(days) + QStringLiteral("日前")) +
           QStringLiteral("のBackUp [") +
           RenderDateTime(QStringLiteral("yyyy/mm/dd(aaa) hh:nn:ss"), stamp) + u']';
}

} // namespace vn
