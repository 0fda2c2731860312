#include "runperiod.h"

#include "foundation/settings.h"

namespace vn {

RunPeriod ReadRunPeriod()
{
    return {ReadSettingInt(REG_PCTimeStartDate), ReadSettingInt(REG_PCTimeEndDate)};
}

void WriteRunPeriod(const RunPeriod& period)
{
    WriteSettingInt(REG_PCTimeEndDate, period.last);
    WriteSettingInt(REG_PCTimeStartDate, period.first);
}

QString GroupedNumber(qint64 n)
{
    QString digits = QString::number(n < 0 ? -n : n);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, u',');
    return n < 0 ? u'-' + digits : digits;
}

QString PeriodStatusText(const RunPeriod& period)
{
    return QStringLiteral("表示期間は、") + GroupedNumber(period.length()) +
           QStringLiteral("日間です");
}

QString ShownDaysText(int days)
{
    return QStringLiteral("表示日数=") + GroupedNumber(days) + QStringLiteral("日間");
}

QString PeriodError(const RunPeriod& period, int today)
{
    if (period.last < period.first)
        return QStringLiteral("期間が逆転しています。\r\n正しく設定してください。");
    if (period.last < today)
        return QStringLiteral("表示終了日付に本日より前の日付は指定出来ません");
    return {};
}

} // namespace vn
