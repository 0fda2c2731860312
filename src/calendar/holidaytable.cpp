#include "holidaytable.h"

#include "calendar/builtinholidays.h"
#include "calendar/calendardates.h"
#include "foundation/splitfields.h"
#include "foundation/textcodec.h"
#include "foundation/textfile.h"

#include <algorithm>

namespace vn::cal {

namespace {

constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;

// A run of ASCII digits as a number; false for anything else or an overflow.
bool parseNumber(QStringView s, int* out)
{
    if (s.isEmpty() || s.size() > 9)
        return false;
    int n = 0;
    for (QChar c : s) {
        if (c < u'0' || c > u'9')
            return false;
        n = n * 10 + (c.unicode() - u'0');
    }
    *out = n;
    return true;
}

// Day of the N-th Monday of a month.
int nthMonday(int year, int month, int n)
{
    const int w = DayOfWeek(EncodeDate(year, month, 1)); // 0 Sunday
    const int isoW = w == 0 ? 7 : w;                     // 1 Monday .. 7 Sunday
    const int first = isoW == 7 ? 2 : (isoW == 1 ? 1 : 9 - isoW);
    return first + (n - 1) * 7;
}

} // namespace

HolidayTable::HolidayTable() = default;

std::map<int, QString>& HolidayTable::table() const
{
    if (builtInPending_)
        const_cast<HolidayTable*>(this)->Rebuild({});
    return table_;
}

void HolidayTable::insert(int year, int month, int day, const QString& name)
{
    const int key = DateKeyNumber(year, month, day);
    std::map<int, QString>& table = this->table();
    auto it = table.find(key);
    if (it == table.end()) {
        table.emplace(key, name);
        return;
    }
    if (!it->second.startsWith(u"振替"))
        return; // the first holiday entered for a day wins
    if (year > 2006) {
        // The substitute moves on to the next day.
        const QString moved = it->second;
        insert(year, month, day + 1, moved);
        it = table.find(key);
    }
    it->second = name;
}

bool HolidayTable::ProcessLine(const QString& line, bool substitution)
{
    if (line.startsWith(u'/'))
        return false;
    const QStringList f = SplitFields(line, u',');
    if (f.size() < 4 || f[0].size() != 4 || f[3].isEmpty())
        return false;
    const QStringView first = f[0];
    int month = 0, day = 0, nth = 0, y1 = 0, y2 = 0;
    if (!parseNumber(first.left(2), &month) || month < 1 || month > 12)
        return false;
    const bool weekly = first[2] == u'w';
    if (weekly) {
        if (!parseNumber(first.mid(3, 1), &nth) || nth < 1)
            return false;
    } else if (!parseNumber(first.mid(2, 2), &day) || day < 1 || day > 31) {
        return false;
    }
    if (!parseNumber(f[1], &y1) || !parseNumber(f[2], &y2))
        return false;
    const QString name = SjisLeft(f[3], kMaxNameBytes);
    // Years outside the calendar's range have no days to mark.
    y1 = std::max(y1, kFirstYear);
    y2 = std::min(y2, kLastYear);
    for (int y = y1; y <= y2; ++y) {
        if (weekly)
            day = nthMonday(y, month, nth);
        insert(y, month, day, name);
        if (substitution && y >= 1973 && IsValidDate(y, month, day) &&
            DayOfWeek(EncodeDate(y, month, day)) == 0)
            insert(y, month, day + 1, kSubstitute);
    }
    return true;
}

void HolidayTable::Rebuild(const QStringList& userLines)
{
    builtInPending_ = false;
    table_.clear();
    for (const QString& line : BuiltInHolidayLines())
        ProcessLine(line, true);
    for (const QString& line : userLines)
        ProcessLine(line, false);
}

bool HolidayTable::LoadHolidays(const QString& path)
{
    if (!FileExists(path)) {
        Rebuild({});
        return false;
    }
    // Read first: a failing read leaves the table as it was. Lines with NUL
    // or undecodable bytes mark no holiday.
    FileLines read = ReadFileLines(path);
    QStringList lines;
    lines.reserve(read.lines.size() - read.unreadable.size());
    for (qsizetype i = 0; i < read.lines.size(); ++i)
        if (!read.isUnreadable(i))
            lines.append(std::move(read.lines[i]));
    path_ = path;
    fileLines_ = std::move(lines);
    Rebuild(fileLines_);
    return true;
}

bool HolidayTable::IsHoliday(const QString& key) const
{
    const int k = ParseDateKey(key);
    return k >= 0 && table().count(k) > 0;
}

bool HolidayTable::IsHoliday(DateTime d) const
{
    return table().count(DateKeyNumber(d)) > 0;
}

bool HolidayTable::IsHoliday(int year, int month, int day) const
{
    return table().count(DateKeyNumber(year, month, day)) > 0;
}

QString HolidayTable::HolidayName(const QString& key) const
{
    const int k = ParseDateKey(key);
    if (k < 0)
        return {};
    auto it = table().find(k);
    return it == table().end() ? QString() : it->second;
}

QString HolidayTable::HolidayName(DateTime d) const
{
    auto it = table().find(DateKeyNumber(d));
    return it == table().end() ? QString() : it->second;
}

QString HolidayTable::HolidayName(int year, int month, int day) const
{
    auto it = table().find(DateKeyNumber(year, month, day));
    return it == table().end() ? QString() : it->second;
}

} // namespace vn::cal
