#include "settingpatterns.h"

namespace vn {

QStringList InsertDatePatterns()
{
    // There is no "yyyy/m/d(aaaa)".
    return {QStringLiteral("yy/m/d"),
            QStringLiteral("yy/m/d(aaa)"),
            QStringLiteral("yy/m/d(aaaa)"),
            QStringLiteral("yy/mm/dd"),
            QStringLiteral("yy/mm/dd(aaa)"),
            QStringLiteral("yy/mm/dd(aaaa)"),
            QStringLiteral("yyyy/m/d"),
            QStringLiteral("yyyy/m/d(aaa)"),
            QStringLiteral("yyyy/mm/dd"),
            QStringLiteral("yyyy/mm/dd(aaa)"),
            QStringLiteral("yyyy/mm/dd(aaaa)"),
            QStringLiteral("yyyy年m月d日"),
            QStringLiteral("yyyy年m月d日(aaa)"),
            QStringLiteral("yyyy年m月d日(aaaa)"),
            QStringLiteral("yyyy年mm月dd日"),
            QStringLiteral("yyyy年mm月dd日(aaa)"),
            QStringLiteral("yyyy年mm月dd日(aaaa)"),
            QStringLiteral("e/m/d"),
            QStringLiteral("e/m/d(aaa)"),
            QStringLiteral("e/m/d(aaaa)"),
            QStringLiteral("ee/mm/dd"),
            QStringLiteral("ee/mm/dd(aaa)"),
            QStringLiteral("ee/mm/dd(aaaa)"),
            QStringLiteral("ge/m/d"),
            QStringLiteral("ge/m/d(aaa)"),
            QStringLiteral("ge/m/d(aaaa)"),
            QStringLiteral("gee/mm/dd"),
            QStringLiteral("gee/mm/dd(aaa)"),
            QStringLiteral("gee/mm/dd(aaaa)"),
            QStringLiteral("gge年m月d日"),
            QStringLiteral("gge年m月d日(aaa)"),
            QStringLiteral("gge年m月d日(aaaa)"),
            QStringLiteral("ggee年mm月dd日"),
            QStringLiteral("ggee年mm月dd日(aaa)"),
            QStringLiteral("ggee年mm月dd日(aaaa)"),
            QStringLiteral("yyyymmdd")};
}

QStringList InsertDateTimePatterns()
{
    static const char16_t* const stems[] = {
        u"yy/m/d", u"yy/mm/dd", u"yyyy/m/d", u"yyyy/mm/dd", u"yyyy年m月d日", u"yyyy年mm月dd日",
        u"e/m/d",  u"ee/mm/dd", u"ge/m/d",   u"gee/mm/dd",  u"gge年m月d日",  u"ggee年mm月dd日",
    };
    QStringList out;
    for (const bool seconds : {false, true}) {
        for (const char16_t* s : stems) {
            const QString stem = QString::fromUtf16(s);
            // The time is written as the date is: "/" stems with colons, 年月日
            // stems with 時分秒; two-digit months with two-digit times.
            const bool kanji = stem.contains(u'年');
            const bool twoDigits = stem.contains(QStringLiteral("mm"));
            QString time;
            if (kanji)
                time = twoDigits ? QStringLiteral(" hh時nn分") : QStringLiteral(" h時n分");
            else
                time = twoDigits ? QStringLiteral(" hh:nn") : QStringLiteral(" h:n");
            if (seconds)
                time += kanji ? (twoDigits ? QStringLiteral("ss秒") : QStringLiteral("s秒"))
                              : (twoDigits ? QStringLiteral(":ss") : QStringLiteral(":s"));
            for (const char* weekday : {"", "(aaa)", "(aaaa)"})
                out.append(stem + QLatin1String(weekday) + time);
        }
    }
    out.append(QStringLiteral("yyyymmdd hhnnss"));
    out.append(QStringLiteral("yyyymmddhhnnss"));
    return out;
}

QStringList BalloonTimePatterns()
{
    const QStringList base = {QStringLiteral("hh:nn"), QStringLiteral("h:n"),
                              QStringLiteral("hh時nn分"), QStringLiteral("h時n分")};
    QStringList out = base;
    for (const char* prefix : {"AM/PM ", "AMPM ", "am/pm ", "Am/Pm "})
        for (const QString& p : base)
            out.append(QLatin1String(prefix) + p);
    return out;
}

QStringList MonthTitlePatterns()
{
    return {QStringLiteral("yy/m"),      QStringLiteral("yy/mm"),      QStringLiteral("yyyy/m"),
            QStringLiteral("yyyy/mm"),   QStringLiteral("yy年m月"),    QStringLiteral("yy年mm月"),
            QStringLiteral("yyyy年m月"), QStringLiteral("yyyy年mm月"), QStringLiteral("e/m"),
            QStringLiteral("ee/mm"),     QStringLiteral("e年m月"),     QStringLiteral("ee年mm月"),
            QStringLiteral("ge/m"),      QStringLiteral("gee/mm"),     QStringLiteral("gge年m月"),
            QStringLiteral("ggee年mm月")};
}

} // namespace vn
