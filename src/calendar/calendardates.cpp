#include "calendardates.h"

#include <array>

namespace vn::cal {

int DateKeyNumber(DateTime d)
{
    const YMD ymd = DecodeDate(d);
    return DateKeyNumber(ymd.year, ymd.month, ymd.day);
}

int ParseDateKey(QStringView key)
{
    return int(ParseDigitKey(key, 8));
}

int MonthIndex(DateTime d)
{
    const YMD ymd = DecodeDate(d);
    return MonthIndex(ymd.year, ymd.month);
}

DateTime AnchorTime()
{
    return EncodeTime(1, 1, 1, 1);
}

DateTime AnchorDate(int year, int month, int day)
{
    return EncodeDateTime({year, month, day}, {1, 1, 1, 1});
}

DateTime AddMonthsFirst(DateTime d, int months)
{
    const int m = MonthIndex(d) - 1 + months; // months since year 0, January = 0
    const int year = m >= 0 ? m / 12 : -((11 - m) / 12);
    return AnchorDate(year, m - year * 12 + 1, 1);
}

QString WeekdayName(int i, bool shortForm, bool japanese)
{
    static const std::array<const char16_t*, 7> ja = {u"日曜", u"月曜", u"火曜", u"水曜",
                                                      u"木曜", u"金曜", u"土曜"};
    static const std::array<const char16_t*, 7> en = {
        u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};
    if (i < 0 || i > 6)
        return japanese ? QStringLiteral("----") : QStringLiteral("------");
    const QString name = QString::fromUtf16(japanese ? ja[i] : en[i]);
    if (!shortForm)
        return name;
    return name.left(japanese ? 1 : 2);
}

QString MonthAltName(int month, bool kanji)
{
    static const std::array<const char16_t*, 12> k = {u"睦月", u"如月",   u"弥生", u"卯月",
                                                      u"皐月", u"水無月", u"文月", u"葉月",
                                                      u"長月", u"神無月", u"霜月", u"師走"};
    static const std::array<const char16_t*, 12> h = {
        u"むつき", u"きさらぎ", u"やよい",   u"うつき",     u"さつき",   u"みなづき",
        u"ふつき", u"はつき",   u"ながつき", u"かんなづき", u"しもつき", u"しわす"};
    if (month < 1 || month > 12)
        return QStringLiteral("----");
    return QString::fromUtf16(kanji ? k[month - 1] : h[month - 1]);
}

} // namespace vn::cal
