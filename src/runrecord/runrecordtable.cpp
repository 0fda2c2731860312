#include "runrecordtable.h"

#include "foundation/datetimeformat.h"
#include "foundation/inifile.h"

namespace vn {

std::vector<RecordedDay> ReadRunRecord(const QString& path)
{
    const IniFile ini(path);
    std::vector<RecordedDay> days;
    QList<QPair<QString, QString>> keys;
    for (const QString& section : ini.sectionNames()) {
        bool ok = false;
        const int day = section.trimmed().toInt(&ok, 10);
        if (!ok || day < 1)
            continue;
        days.push_back({day, {}});
        keys << qMakePair(section, QStringLiteral("S")) << qMakePair(section, QStringLiteral("E"))
             << qMakePair(section, QStringLiteral("M"));
    }
    // One more reading of the file for all the values.
    const QList<std::optional<QString>> values = ini.readValues(keys);
    const QString none = QString::fromUtf16(kNoRunTime);
    for (size_t i = 0; i < days.size(); ++i) {
        RunDay& d = days[i].values;
        d.start = values[qsizetype(i * 3)].value_or(none);
        d.end = values[qsizetype(i * 3 + 1)].value_or(none);
        d.memo = values[qsizetype(i * 3 + 2)].value_or(QString());
    }
    return days;
}

RunPeriod RecordedPeriod(const std::vector<RecordedDay>& record)
{
    if (record.empty())
        return {};
    RunPeriod p{record.front().day, record.front().day};
    for (const RecordedDay& d : record) {
        p.first = std::min(p.first, d.day);
        p.last = std::max(p.last, d.day);
    }
    return p;
}

void FillRecordedColumns(QVariantList& row, const RunDay& values)
{
    const RunDayTexts t = DeriveRunTexts(values.start, values.end);
    row[kRunMemo] = values.memo;
    row[kRunStart] = t.start;
    row[kRunEnd] = t.end;
    row[kRunDuration] = t.duration;
}

std::vector<QVariantList> BuildRunRecordRows(const RunPeriod& period,
                                             const std::vector<RecordedDay>& record,
                                             const RunDayInfo& info, const QString& datePattern)
{
    std::vector<QVariantList> rows;
    if (!period.isSet() || period.last < period.first)
        return rows;
    rows.reserve(size_t(period.length()));
    for (int k = 0; k < period.length(); ++k) {
        const int day = period.first + k;
        const DateTime date = FromDayNumber(day);
        const QString holiday = info.holidayName ? info.holidayName(date) : QString();
        QString schedules = info.schedules ? info.schedules(date) : QString();
        if (schedules.endsWith(QLatin1String("\r\n")))
            schedules.chop(2);
        const int weekday = DayOfWeek(date);
        const bool dayOff = weekday == 0 || weekday == 6 ||
                            (info.isHoliday ? info.isHoliday(date) : !holiday.isEmpty());
        rows.push_back({qint64(k + 1), RenderDateTime(datePattern, date),
                        info.rokuyou ? info.rokuyou(date) : QString(), holiday, schedules,
                        QString(), QString(), QString(), QString(), qint64(dayOff ? 1 : 0),
                        qint64(day)});
    }
    for (const RecordedDay& d : record) {
        if (d.day >= period.first && d.day <= period.last)
            FillRecordedColumns(rows[size_t(d.day - period.first)], d.values);
    }
    return rows;
}

} // namespace vn
