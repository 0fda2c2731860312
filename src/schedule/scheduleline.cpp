#include "scheduleline.h"

#include "foundation/datetime.h"
#include "foundation/splitfields.h"

#include <cstdio>
#include <limits>

namespace vn {

namespace {

// A decimal integer: an optional sign and ASCII digits, nothing else.
bool parseDecimal(QStringView s, int* out)
{
    if (s.isEmpty())
        return false;
    qsizetype i = 0;
    bool negative = false;
    if (s[0] == u'-' || s[0] == u'+') {
        negative = s[0] == u'-';
        i = 1;
    }
    if (i == s.size())
        return false;
    qint64 v = 0;
    for (; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        v = v * 10 + (c - u'0');
        if (v > qint64(std::numeric_limits<int>::max()) + 1)
            return false;
    }
    if (negative)
        v = -v;
    if (v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min())
        return false;
    *out = int(v);
    return true;
}

bool digitsOnly(QStringView s)
{
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// "yyyymmdd" of a date that exists.
bool parseDay(QStringView s, int* y, int* m, int* d)
{
    if (s.size() != 8 || !digitsOnly(s))
        return false;
    *y = s.mid(0, 4).toInt();
    *m = s.mid(4, 2).toInt();
    *d = s.mid(6, 2).toInt();
    return IsValidDate(*y, *m, *d);
}

} // namespace

QString ScheduleFields::startDayText() const
{
    return DateKey(year, month, day);
}

LineRead ReadScheduleLine(const QString& line, ScheduleFields* out)
{
    if (line.startsWith(u'/'))
        return LineRead::Comment;
    const QStringView v(line);
    QString field[6];
    qsizetype pos = 0;
    for (QString& f : field) {
        const qsizetype comma = v.indexOf(u',', pos);
        if (comma < 0)
            return LineRead::Unreadable;
        f = TrimControl(v.mid(pos, comma - pos));
        pos = comma + 1;
    }
    const QString rest = TrimControl(v.mid(pos));

    ScheduleFields r;
    const QStringView start(field[0]);
    if (start.size() != 12 || !digitsOnly(start) ||
        !parseDay(start.left(8), &r.year, &r.month, &r.day))
        return LineRead::Unreadable;
    r.hour = start.mid(8, 2).toInt();
    r.minute = start.mid(10, 2).toInt();
    if (r.hour > 23 || r.minute > 59)
        return LineRead::Unreadable;

    int urlFlag = 0, repeat = 0, kind = 0;
    if (!parseDecimal(field[1], &r.alarm) || !parseDecimal(field[2], &urlFlag) ||
        !parseDecimal(field[3], &repeat) || !parseDecimal(field[4], &kind))
        return LineRead::Unreadable;
    r.urlFlag = urlFlag == 1 ? 1 : 0;
    r.repeat = repeat == 1 ? 1 : 0;
    r.allDay = kind < 0;
    r.kind = kind < 0 ? -(kind + 1) : kind;
    if (!parseDay(field[5], &r.lastYear, &r.lastMonth, &r.lastDay))
        return LineRead::Unreadable;

    // The URL is kept whole here; the occurrence records cut it.
    const qsizetype http = rest.indexOf(QLatin1String(",http"));
    if (http >= 0) {
        r.text = rest.left(http);
        r.url = rest.mid(http + 1);
    } else {
        r.text = rest;
    }
    *out = std::move(r);
    return LineRead::Schedule;
}

QString ComposeScheduleLine(const ScheduleFields& f)
{
    const int storedKind = f.allDay ? -f.kind - 1 : f.kind;
    // The C formatter: QString::asprintf costs ten times as much, which a
    // list of 200,000 rows feels at every close.
    char head[160];
    const int n =
        std::snprintf(head, sizeof head, "%.4d%.2d%.2d%.2d%.2d,%.2d,%s,%s,%d,%.4d%.2d%.2d,", f.year,
                      f.month, f.day, f.hour, f.minute, f.alarm, f.urlFlag == 1 ? "1" : "0",
                      f.repeat == 1 ? "1" : "0", storedKind, f.lastYear, f.lastMonth, f.lastDay);
    QString line;
    line.reserve(n + f.text.size() + 1 + f.url.size());
    line += QLatin1String(head, qMin(n, int(sizeof head) - 1));
    line += f.text;
    if (!f.url.isEmpty()) {
        line += u',';
        line += f.url;
    }
    return line;
}

bool IsKnownKind(int kind)
{
    if (kind >= 0 && kind <= kKindYearly)
        return true;
    return kind >= kKindDaySpanUnit && kind <= kKindDaySpanMax && kind % kKindDaySpanUnit == 0;
}

bool IsMonthEndKind(int kind)
{
    return kind == kKindMonthEnd || kind == kKindMonthEndFriday || kind == kKindMonthEndSaturday;
}

QString KindLabel(int kind)
{
    switch (kind) {
    case kKindDaily: return QStringLiteral("毎日");
    case kKindWeekly: return QStringLiteral("毎週");
    case kKindMonthly: return QStringLiteral("毎月");
    case kKindMonthEnd: return QStringLiteral("月末");
    case kKindMonthEndFriday: return QStringLiteral("月末：金");
    case kKindMonthEndSaturday: return QStringLiteral("月末：土");
    case kKindFortnightly: return QStringLiteral("隔週");
    case kKindYearly: return QStringLiteral("毎年");
    default: return IsKnownKind(kind) ? QStringLiteral("日間隔") : QString();
    }
}

} // namespace vn
