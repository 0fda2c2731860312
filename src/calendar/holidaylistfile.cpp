#include "holidaylistfile.h"

#include "foundation/splitfields.h"

namespace vn::cal {

namespace {

// ASCII digits only (at most four), as a number; -1 otherwise.
int digits(QStringView s)
{
    if (s.isEmpty() || s.size() > 4)
        return -1;
    int n = 0;
    for (QChar c : s) {
        if (c < u'0' || c > u'9')
            return -1;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n;
}

// What follows the name field, its separator first: fields the list does
// not use, written back after the name. The fields counted as SplitFields
// counts them.
QString afterName(const QString& line)
{
    const QString t = TrimControl(line);
    int fields = 0;
    for (qsizetype pos = 0;;) {
        const qsizetype sep = t.indexOf(u',', pos);
        if (sep < 0)
            return QString();
        if (sep > pos && ++fields == 4)
            return t.mid(sep);
        pos = sep + 1;
    }
}

} // namespace

bool KeptQuietly(const QString& line)
{
    if (line.startsWith(u'/') || TrimControl(line).isEmpty())
        return true;
    // The n-th Monday form: the calendar reads it, the list only keeps it.
    const QStringList f = SplitFields(line);
    return f.size() >= 4 && f[0].size() == 4 && f[0][2] == u'w' &&
           digits(QStringView(f[0]).left(2)) > 0 && digits(QStringView(f[0]).mid(3)) >= 0 &&
           digits(f[1]) >= 0 && digits(f[2]) >= 0;
}

std::optional<HolidayEntry> ReadHolidayListLine(const QString& line)
{
    if (line.startsWith(u'/'))
        return std::nullopt;
    const QStringList f = SplitFields(line);
    if (f.size() < 4 || f[0].size() != 4)
        return std::nullopt;
    HolidayEntry e;
    e.month = digits(QStringView(f[0]).left(2));
    e.day = digits(QStringView(f[0]).mid(2, 2));
    e.firstYear = digits(f[1]);
    e.lastYear = digits(f[2]);
    e.name = f[3];
    e.rest = afterName(line);
    if (e.month < 1 || e.month > 12 || e.day < 1 || e.day > 31 || e.firstYear < 0 ||
        e.lastYear < 0 || e.name.isEmpty())
        return std::nullopt;
    return e;
}

QString ComposeHolidayLine(const HolidayEntry& e)
{
    return QString::asprintf("%.2d%.2d,%.4d,%.4d,", e.month, e.day, e.firstYear, e.lastYear) +
           e.name + e.rest;
}

QString HolidayMonthDayText(int month, int day)
{
    return QString::asprintf("%.2d/%.2d", month, day);
}

HolidayRows ReadHolidayRows(const QString& path)
{
    HolidayRows out;
    out.report.path = path;
    out.file = RecordFile::Read(path);
    out.file.setRecompose([](const QString& line) {
        const std::optional<HolidayEntry> e = ReadHolidayListLine(line);
        return e ? ComposeHolidayLine(*e) : line;
    });
    const QStringList& lines = out.file.lines();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (out.file.unreadable(i)) { // kept already
            out.report.unreadableLines.append(int(i + 1));
            continue;
        }
        if (auto e = ReadHolidayListLine(lines[i])) {
            out.rows.push_back(std::move(*e));
            continue;
        }
        out.file.keep(i);
        if (!KeptQuietly(lines[i]))
            out.report.addUnreadable(i, lines[i]);
    }
    return out;
}

void WriteHolidayRows(const QString& path, const RecordFile& source,
                      const std::vector<HolidayEntry>& rows, const RecordFile::ConfirmLink& confirm)
{
    QStringList lines;
    lines.reserve(qsizetype(rows.size()));
    for (const HolidayEntry& e : rows)
        lines.append(ComposeHolidayLine(e));
    source.write(path, lines, confirm);
}

} // namespace vn::cal
