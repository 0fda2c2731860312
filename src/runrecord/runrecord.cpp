#include "runrecord.h"

#include "foundation/clock.h"
#include "foundation/inifile.h"
#include "foundation/paths.h"

#include <optional>

namespace vn {

namespace {

const QString kStartKey = QStringLiteral("S");
const QString kEndKey = QStringLiteral("E");
const QString kMemoKey = QStringLiteral("M");

// Milliseconds since midnight, or nothing for a value that is not one.
std::optional<qint64> msecsOf(const QString& value)
{
    bool ok = false;
    const qint64 v = value.trimmed().toLongLong(&ok, 10);
    if (!ok || v < 0 || v >= qint64(kMSecsPerDay))
        return std::nullopt;
    return v;
}

QString hhnn(qint64 ms)
{
    const qint64 minutes = ms / 60000;
    return QString::asprintf("%.2d:%.2d", int(minutes / 60 % 24), int(minutes % 60));
}

} // namespace

QString RunRecordPath()
{
    return AppPathWithExtension(QStringLiteral(".vdt"));
}

void CaptureRunTime(CaptureKind kind)
{
    CaptureRunTime(RunRecordPath(), kind);
}

RunMoment RunMomentOf(DateTime moment)
{
    const HMS t = DecodeTime(moment);
    return {DayNumber(moment), ((qint64(t.hour) * 60 + t.minute) * 60 + t.second) * 1000 + t.msec};
}

void CaptureRunTime(const QString& path, CaptureKind kind)
{
    const RunMoment now = RunMomentOf(Now());
    CaptureRunMoment(path, kind, now.day, now.msecs);
}

void CaptureRunMoment(const QString& path, CaptureKind kind, int dayNumber, qint64 msecs)
{
    const QString section = QString::number(dayNumber);
    const QString value = QString::number(msecs);

    IniFile ini(path);
    QList<QPair<QString, QString>> writes;
    const std::optional<QString> start = ini.readValue(section, kStartKey);
    const std::optional<qint64> startMs = start ? msecsOf(*start) : std::nullopt;
    if (!start) {
        writes.append({kStartKey, value});
    } else if (kind == CaptureKind::Start && startMs && msecs < *startMs) {
        // The clock was set back: this start is the earliest of the day.
        writes.append({kStartKey, value});
    }
    writes.append({kEndKey, value});
    ini.writeValues(section, writes);
}

void WriteRunMemo(int dayNumber, const QString& text)
{
    WriteRunMemo(RunRecordPath(), dayNumber, text);
}

void WriteRunMemo(const QString& path, int dayNumber, const QString& text)
{
    IniFile(path).writeValue(QString::number(dayNumber), kMemoKey, text);
}

RunDay ReadRunDay(const QString& path, int dayNumber)
{
    const IniFile ini(path);
    const QString section = QString::number(dayNumber);
    RunDay day;
    day.start = ini.readString(section, kStartKey, day.start);
    day.end = ini.readString(section, kEndKey, day.end);
    day.memo = ini.readString(section, kMemoKey, day.memo);
    return day;
}

RunDayTexts DeriveRunTexts(const QString& start, const QString& end)
{
    const std::optional<qint64> s = msecsOf(start), e = msecsOf(end);
    if (!s || !e)
        return {};
    RunDayTexts texts;
    texts.start = hhnn(*s);
    texts.end = hhnn(*e);
    if (*e < *s) {
        texts.duration = QString::fromUtf16(kNoRunTime);
    } else {
        texts.duration = hhnn(*e - *s + 60000);
        if (texts.duration == QLatin1String("00:00"))
            texts.duration = QStringLiteral("24:00");
    }
    return texts;
}

} // namespace vn
