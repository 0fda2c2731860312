#include "datetimeformat.h"

#include <array>

namespace vn {

namespace {

// The modern eras with their first days.
const std::array<Era, 5>& eras()
{
    static const std::array<Era, 5> table = {{
        {QStringLiteral("明治"), {1868, 9, 8}},
        {QStringLiteral("大正"), {1912, 7, 30}},
        {QStringLiteral("昭和"), {1926, 12, 25}},
        {QStringLiteral("平成"), {1989, 1, 8}},
        {QStringLiteral("令和"), {2019, 5, 1}},
    }};
    return table;
}

const char16_t* const kShortDays[] = {u"日", u"月", u"火", u"水", u"木", u"金", u"土"};
const char16_t* const kLongDays[] = {u"日曜日", u"月曜日", u"火曜日", u"水曜日",
                                     u"木曜日", u"金曜日", u"土曜日"};

// Japanese locale formats used by the locale tokens:
//   mmm, mmmm   "1月" .. "12月"
//   ddddd       short date  yyyy/mm/dd
//   dddddd      long date   yyyy年m月d日
//   t           short time  h:nn   (24-hour)
//   tt          long time   h:nn:ss
//   AMPM        午前 / 午後
const QString kShortDateFormat = QStringLiteral("yyyy/mm/dd");
const QString kLongDateFormat = QStringLiteral("yyyy\"年\"m\"月\"d\"日\"");
const QString kShortTimeFormat = QStringLiteral("h:nn");
const QString kLongTimeFormat = QStringLiteral("h:nn:ss");

bool startsWithCI(QStringView s, qsizetype pos, QLatin1StringView what)
{
    if (pos + what.size() > s.size())
        return false;
    return s.mid(pos, what.size()).compare(what, Qt::CaseInsensitive) == 0;
}

char16_t upper(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') ? char16_t(u - 32) : u;
}

class Renderer {
public:
    explicit Renderer(DateTime v) : value_(v), date_(DecodeDate(v)), time_(DecodeTime(v)) {}

    void append(QStringView fmt, int level)
    {
        if (level >= 2)
            return;
        const bool twelve = uses12Hour(fmt);
        char16_t lastToken = u' ';
        qsizetype i = 0;
        const qsizetype n = fmt.size();
        while (i < n) {
            const QChar starter = fmt[i];
            char16_t token = upper(starter);
            if (token >= u'A' && token <= u'Z') {
                if (token == u'M' && lastToken == u'H')
                    token = u'N';
                lastToken = token;
            }
            const qsizetype count = runLength(fmt, i);
            switch (token) {
            case u'Y':
                i += count;
                if (count <= 2)
                    number(date_.year % 100, 2);
                else
                    number(date_.year, 4);
                break;
            case u'G': {
                i += count;
                const QString name = EraOf(value_).name;
                out_ += count == 1 ? name.left(1) : name;
                break;
            }
            case u'E':
                i += count;
                number(EraOf(value_).year, count == 1 ? 1 : 2);
                break;
            case u'M':
                i += count;
                if (count <= 2)
                    number(date_.month, int(count));
                else
                    out_ += QString::number(date_.month) + u'月';
                break;
            case u'D':
                i += count;
                if (count <= 2)
                    number(date_.day, int(count));
                else if (count == 3)
                    out_ += QStringView(kShortDays[DayOfWeek(value_)]);
                else if (count == 4)
                    out_ += QStringView(kLongDays[DayOfWeek(value_)]);
                else if (count == 5)
                    append(kShortDateFormat, level + 1);
                else
                    append(kLongDateFormat, level + 1);
                break;
            case u'H': {
                i += count;
                int h = time_.hour;
                if (twelve) {
                    if (h == 0)
                        h = 12;
                    else if (h > 12)
                        h -= 12;
                }
                number(h, count > 2 ? 2 : int(count));
                break;
            }
            case u'N':
                i += count;
                number(time_.minute, count > 2 ? 2 : int(count));
                break;
            case u'S':
                i += count;
                number(time_.second, count > 2 ? 2 : int(count));
                break;
            case u'T':
                i += count;
                append(count == 1 ? kShortTimeFormat : kLongTimeFormat, level + 1);
                break;
            case u'Z':
                i += count;
                number(time_.msec, count > 3 ? 3 : int(count));
                break;
            case u'A': i = ampm(fmt, i); break;
            case u'C':
                i += count;
                append(kShortDateFormat, level + 1);
                if (time_.hour || time_.minute || time_.second || time_.msec) {
                    out_ += u' ';
                    append(kLongTimeFormat, level + 1);
                }
                break;
            case u'/':
                ++i;
                out_ += u'/';
                break;
            case u':':
                ++i;
                out_ += u':';
                break;
            case u'"':
            case u'\'': {
                const qsizetype close = fmt.indexOf(starter, i + 1);
                const qsizetype end = close < 0 ? n : close;
                out_ += fmt.mid(i + 1, end - i - 1);
                i = close < 0 ? n : close + 1;
                break;
            }
            default:
                out_ += starter;
                ++i;
                break;
            }
        }
    }

    QString result() const { return out_; }

private:
    static qsizetype runLength(QStringView fmt, qsizetype i)
    {
        const char16_t c = upper(fmt[i]);
        qsizetype j = i + 1;
        while (j < fmt.size() && upper(fmt[j]) == c)
            ++j;
        return j - i;
    }

    // An AM/PM, A/P or AMPM token anywhere outside quotes.
    static bool uses12Hour(QStringView fmt)
    {
        QChar quote;
        for (qsizetype i = 0; i < fmt.size(); ++i) {
            const QChar c = fmt[i];
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
                continue;
            }
            if (c == u'"' || c == u'\'') {
                quote = c;
                continue;
            }
            if (upper(c) == u'A' && (startsWithCI(fmt, i, QLatin1StringView("AM/PM")) ||
                                     startsWithCI(fmt, i, QLatin1StringView("A/P")) ||
                                     startsWithCI(fmt, i, QLatin1StringView("AMPM"))))
                return true;
        }
        return false;
    }

    qsizetype ampm(QStringView fmt, qsizetype i)
    {
        const bool pm = time_.hour >= 12;
        if (startsWithCI(fmt, i, QLatin1StringView("AM/PM"))) {
            out_ += fmt.mid(pm ? i + 3 : i, 2);
            return i + 5;
        }
        if (startsWithCI(fmt, i, QLatin1StringView("A/P"))) {
            out_ += fmt.mid(pm ? i + 2 : i, 1);
            return i + 3;
        }
        if (startsWithCI(fmt, i, QLatin1StringView("AMPM"))) {
            out_ += pm ? QStringLiteral("午後") : QStringLiteral("午前");
            return i + 4;
        }
        if (startsWithCI(fmt, i, QLatin1StringView("AAAA"))) {
            out_ += QStringView(kLongDays[DayOfWeek(value_)]);
            return i + 4;
        }
        if (startsWithCI(fmt, i, QLatin1StringView("AAA"))) {
            out_ += QStringView(kShortDays[DayOfWeek(value_)]);
            return i + 3;
        }
        out_ += fmt[i];
        return i + 1;
    }

    void number(int v, int digits)
    {
        QString s = QString::number(v < 0 ? -v : v);
        if (s.size() < digits)
            s = QString(digits - s.size(), u'0') + s;
        if (v < 0)
            s.prepend(u'-');
        out_ += s;
    }

    DateTime value_;
    YMD date_;
    HMS time_;
    QString out_;
};

bool before(const YMD& a, const YMD& b)
{
    if (a.year != b.year)
        return a.year < b.year;
    if (a.month != b.month)
        return a.month < b.month;
    return a.day < b.day;
}

} // namespace

EraYear EraOf(DateTime value)
{
    const YMD d = DecodeDate(value);
    const auto& table = eras();
    for (auto it = table.rbegin(); it != table.rend(); ++it)
        if (!before(d, it->first))
            return {it->name, d.year - it->first.year + 1};
    return {QString(), d.year};
}

QString RenderDateTime(const QString& pattern, DateTime value)
{
    Renderer r(value);
    r.append(pattern, 0);
    return r.result();
}

} // namespace vn
