#pragma once
// The keys of the per-day and per-minute tables: "yyyymmdd" and
// "yyyymmddhhnn" ("%.4d%.2d%.2d" ...), as texts and as numbers whose order
// is the text order.
#include "datetime.h"

#include <QString>
#include <QStringView>

namespace vn {

QString DateKey(int year, int month, int day);
QString DateKey(DateTime d);
QString MinuteKey(int year, int month, int day, int hour, int minute);

constexpr qint64 DateKeyValue(int y, int m, int d)
{
    return qint64(y) * 10000 + m * 100 + d;
}
constexpr qint64 MinuteKeyValue(int y, int m, int d, int h, int n)
{
    return DateKeyValue(y, m, d) * 10000 + h * 100 + n;
}

// The number of a key of exactly `digits` decimal digits; -1 otherwise.
qint64 ParseDigitKey(QStringView key, int digits);
inline qint64 ParseMinuteKey(const QString& key)
{
    return ParseDigitKey(key, 12);
}

} // namespace vn
