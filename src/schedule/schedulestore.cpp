#include "schedulestore.h"

#include "foundation/textcodec.h"
#include "foundation/textfile.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

namespace vn {

namespace {

bool keyLess(const IndexPair& a, const IndexPair& b)
{
    return a.key < b.key;
}

// Sorts by key, stable. Least significant digit first, 11 bits a pass: the
// keys are dates and minutes (under 2^40), so three or four passes over the
// pairs replace a comparison sort.
void stableSortByKey(std::vector<IndexPair>& pairs, std::vector<IndexPair>& out)
{
    qint64 maxKey = 0;
    for (const IndexPair& p : pairs) {
        if (p.key < 0) {
            std::stable_sort(pairs.begin(), pairs.end(), keyLess);
            return;
        }
        maxKey = std::max(maxKey, p.key);
    }
    if (pairs.size() < 256) {
        std::stable_sort(pairs.begin(), pairs.end(), keyLess);
        return;
    }
    constexpr int kBits = 11;
    constexpr qint64 kMask = (1 << kBits) - 1;
    out.resize(pairs.size());
    for (int shift = 0; shift < 64 && (maxKey >> shift) != 0; shift += kBits) {
        std::array<size_t, kMask + 1> start{};
        for (const IndexPair& p : pairs)
            ++start[size_t((p.key >> shift) & kMask)];
        size_t sum = 0;
        for (size_t& n : start)
            sum += std::exchange(n, sum);
        for (const IndexPair& p : pairs)
            out[start[size_t((p.key >> shift) & kMask)]++] = p;
        pairs.swap(out);
    }
}

// Sorts pairs given in the order they were added so that equal keys have
// the one added last first.
void sortNewestFirst(std::vector<IndexPair>& pairs)
{
    std::reverse(pairs.begin(), pairs.end());
    std::vector<IndexPair> spare;
    stableSortByKey(pairs, spare);
}

std::pair<std::vector<IndexPair>::const_iterator, std::vector<IndexPair>::const_iterator>
equalKeys(const std::vector<IndexPair>& index, qint64 key)
{
    return std::equal_range(index.begin(), index.end(), IndexPair{key, 0}, keyLess);
}

const IndexPair* firstWithKey(const std::vector<IndexPair>& index, qint64 key)
{
    auto it = std::lower_bound(index.begin(), index.end(), IndexPair{key, 0}, keyLess);
    return it != index.end() && it->key == key ? &*it : nullptr;
}

// A key's year: its digits before mmdd or mmddhhnn.
constexpr qint64 kDayKeysAYear = 10'000;
constexpr qint64 kMinuteKeysAYear = 100'000'000;

qint64 floorDiv(qint64 a, qint64 b)
{
    const qint64 q = a / b;
    return q * b > a ? q - 1 : q;
}

bool caseInsensitiveLess(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

} // namespace

void ScheduleStore::clear()
{
    records_.clear();
    records_.shrink_to_fit();
    expanded_.clear();
    expanded_.shrink_to_fit();
    occurrenceCount_ = 0;
    forgetIndexes();
}

void ScheduleStore::forgetIndexes()
{
    years_.clear();
    full_ = {};
}

LoadReport ScheduleStore::LoadSchedules(const QString& path)
{
    clear();
    LoadReport report;
    report.path = path;
    if (!FileExists(path))
        return report;
    filePath_ = path;
    FileLines read = ReadFileLines(path);
    lines_ = std::move(read.lines);
    // At most a record and a line for each line of the file, each taken as
    // it is read: memory touched at the start costs more than it holds.
    records_.reserve(size_t(lines_.size()));
    expanded_.reserve(size_t(lines_.size()));
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        // A line with NUL or undecodable bytes is not taken for a schedule.
        if (read.isUnreadable(i)) {
            report.unreadableLines.append(int(i + 1));
            continue;
        }
        ScheduleFields f;
        switch (ReadScheduleLine(lines_[i], &f)) {
        case LineRead::Schedule: {
            const quint32 id = addRecord(f);
            if (!addLine(std::move(f), id))
                report.addCut(i, lines_[i]);
            break;
        }
        case LineRead::Unreadable: report.addUnreadable(i, lines_[i]); break;
        case LineRead::Comment: break;
        }
    }
    return report;
}

LoadReport ScheduleStore::AppendSchedule(const ScheduleFields& f,
                                         const RecordFile::ConfirmLink& confirm)
{
    if (filePath_.isEmpty())
        return {};
    rewrite({ComposeScheduleLine(f)}, confirm);
    return LoadSchedules(filePath_);
}

void ScheduleStore::SaveSchedules(const RecordFile::ConfirmLink& confirm)
{
    if (!filePath_.isEmpty())
        rewrite({}, confirm);
}

void ScheduleStore::rewrite(const QStringList& added, const RecordFile::ConfirmLink& confirm)
{
    // Start from the file as it is now: the lines held may be older than it
    // (another writer, or a file set without a load) and must not replace it.
    // Lines it cannot decode stay where they are with their bytes.
    const RecordFile file = RecordFile::Read(filePath_);
    QStringList lines;
    lines.reserve(file.lines().size() + added.size());
    for (qsizetype i = 0; i < file.lines().size(); ++i)
        if (!file.unreadable(i))
            lines.append(file.lines()[i]);
    lines += added;
    std::stable_sort(lines.begin(), lines.end(), caseInsensitiveLess);
    file.write(filePath_, lines, confirm);
}

bool ScheduleStore::ExpandOccurrences(const ScheduleFields& f)
{
    const bool complete = addLine(f, addRecord(f));
    forgetIndexes();
    return complete;
}

quint32 ScheduleStore::addRecord(const ScheduleFields& f)
{
    ScheduleOccurrence rec;
    rec.minutesOfDay = f.hour * 60 + f.minute;
    rec.allDay = f.allDay;
    rec.alarm = f.alarm;
    rec.text = SjisLeft(f.text, kOccurrenceTextBytes);
    rec.urlFlag = f.urlFlag;
    rec.url = SjisLeft(f.url, kOccurrenceTextBytes);
    records_.push_back(std::move(rec));
    return quint32(records_.size() - 1);
}

bool ScheduleStore::addLine(ScheduleFields f, quint32 id)
{
    ExpandedLine line{std::move(f), id, 0, {}};
    // One more than there is room for tells whether the limit cut it.
    const qsizetype room = kMaxOccurrences - occurrenceCount_;
    OccurrenceDays days(line.fields, holiday_);
    qsizetype n = 0;
    if (IsMonthEndKind(line.fields.kind)) {
        for (qint64 d = 0; n <= room && days.next(&d); ++n)
            if (n < room)
                line.monthEnds.push_back(d);
    } else {
        n = days.skip(std::numeric_limits<qint64>::max(), room + 1);
    }
    line.count = std::min(n, room);
    occurrenceCount_ += line.count;
    if (line.count > 0)
        expanded_.push_back(std::move(line));
    return n <= room;
}

template <typename Visit>
void ScheduleStore::forEachDay(const ExpandedLine& line, qint64 firstDay, qint64 lastDay,
                               Visit&& visit)
{
    if (IsMonthEndKind(line.fields.kind)) {
        const auto& days = line.monthEnds;
        for (auto it = std::lower_bound(days.begin(), days.end(), firstDay);
             it != days.end() && *it <= lastDay; ++it)
            visit(*it);
        return;
    }
    static const HolidayTest noHolidays; // only month ends ask
    OccurrenceDays days(line.fields, noHolidays);
    qint64 d = 0;
    for (qsizetype i = days.skip(firstDay, line.count);
         i < line.count && days.next(&d) && d <= lastDay; ++i)
        visit(d);
}

struct ScheduleStore::KeyPlace {
    bool any = true;      // false: the line has no key in this index
    qint64 shift = 0;     // whole days from the occurrence's day to the key's
    qint64 timeOfDay = 0; // hhnn of the key's minute
};

ScheduleStore::KeyPlace ScheduleStore::keyPlace(Index which, const ScheduleFields& f)
{
    KeyPlace place;
    qint64 minutes = 0; // from the start of the occurrence's day
    if (which == kStart) {
        minutes = f.hour * 60 + f.minute;
    } else if (which == kAlarm) {
        place.any = !f.allDay && f.alarm != 0;
        minutes = f.hour * 60 + f.minute - qint64(f.alarm); // may be days before
    }
    place.shift = floorDiv(minutes, 1440);
    const qint64 ofDay = minutes - place.shift * 1440;
    place.timeOfDay = ofDay / 60 * 100 + ofDay % 60;
    return place;
}

std::vector<IndexPair> ScheduleStore::buildYear(Index which, int year) const
{
    // A counting sort by day: the pairs of each day counted, then every pair
    // put straight into its place, from the end of its day backwards. The
    // lines go latest time of day first, in the order added among equal
    // times, so that each day ends up sorted by time with the pair added
    // last first. Nothing is allocated beyond the index and a table of the
    // year's days.
    const qint64 firstDay = qint64(EncodeDate(year, 1, 1));
    const qint64 lastDay = qint64(EncodeDate(year, 12, 31));
    const size_t days = size_t(lastDay - firstDay + 1);
    std::vector<std::pair<const ExpandedLine*, KeyPlace>> lines;
    lines.reserve(expanded_.size());
    for (const ExpandedLine& line : expanded_)
        if (const KeyPlace place = keyPlace(which, line.fields); place.any)
            lines.emplace_back(&line, place);
    std::stable_sort(lines.begin(), lines.end(), [](const auto& a, const auto& b) {
        return a.second.timeOfDay > b.second.timeOfDay;
    });
    std::vector<quint32> end(days + 1, 0); // end[i + 1]: where day i's pairs end
    for (const auto& entry : lines) {
        const qint64 shift = entry.second.shift; // (a lambda may not capture a binding)
        forEachDay(*entry.first, firstDay - shift, lastDay - shift,
                   [&](qint64 day) { ++end[size_t(day + shift - firstDay) + 1]; });
    }
    std::vector<qint64> keys(days);
    for (size_t i = 0; i < days; ++i) {
        end[i + 1] += end[i];
        const YMD d = DecodeDate(DateTime(firstDay + qint64(i)));
        keys[i] = DateKeyValue(d.year, d.month, d.day);
    }
    std::vector<IndexPair> pairs(end[days]);
    for (const auto& entry : lines) {
        const qint64 timeOfDay = entry.second.timeOfDay;
        const qint64 shift = entry.second.shift;
        const quint32 id = entry.first->id;
        forEachDay(*entry.first, firstDay - shift, lastDay - shift, [&](qint64 day) {
            const size_t at = size_t(day + shift - firstDay);
            pairs[--end[at + 1]] = {which == kDay ? keys[at] : keys[at] * 10000 + timeOfDay, id};
        });
    }
    return pairs;
}

std::vector<IndexPair> ScheduleStore::buildWhole(Index which) const
{
    std::vector<IndexPair> pairs;
    size_t count = 0;
    for (const ExpandedLine& line : expanded_)
        if (keyPlace(which, line.fields).any)
            count += size_t(line.count);
    pairs.reserve(count);
    for (const ExpandedLine& line : expanded_) {
        const KeyPlace place = keyPlace(which, line.fields);
        if (!place.any)
            continue;
        forEachDay(
            line, std::numeric_limits<qint64>::min() / 2, std::numeric_limits<qint64>::max() / 2,
            [&](qint64 day) {
                const YMD d = DecodeDate(DateTime(day + place.shift));
                const qint64 key = DateKeyValue(d.year, d.month, d.day);
                pairs.push_back({which == kDay ? key : key * 10000 + place.timeOfDay, line.id});
            });
    }
    sortNewestFirst(pairs);
    return pairs;
}

const std::vector<IndexPair>& ScheduleStore::yearIndex(Index which, int year) const
{
    std::optional<std::vector<IndexPair>>& index = years_[year][which];
    if (!index)
        index = buildYear(which, year);
    return *index;
}

const std::vector<IndexPair>& ScheduleStore::fullIndex(Index which) const
{
    if (!full_[which])
        full_[which] = buildWhole(which);
    return *full_[which];
}

int ScheduleStore::ScheduleCountOn(int year, int month, int day) const
{
    const qint64 key = DateKeyValue(year, month, day);
    const auto [b, e] = equalKeys(yearIndex(kDay, int(floorDiv(key, kDayKeysAYear))), key);
    return int(e - b);
}

std::vector<const ScheduleOccurrence*> ScheduleStore::occurrencesOn(int year, int month,
                                                                    int day) const
{
    std::vector<const ScheduleOccurrence*> out;
    const qint64 key = DateKeyValue(year, month, day);
    const auto [b, e] = equalKeys(yearIndex(kDay, int(floorDiv(key, kDayKeysAYear))), key);
    for (auto it = b; it != e; ++it)
        out.push_back(&records_[it->occurrence]);
    return out;
}

QString ScheduleStore::ScheduleTextOn(int year, int month, int day) const
{
    QStringList allDay, timed;
    for (const ScheduleOccurrence* o : occurrencesOn(year, month, day)) {
        if (o->allDay)
            allDay.append(QStringLiteral("終日  ") + o->text);
        else
            timed.append(
                QString::asprintf("%.2d:%.2d  ", o->minutesOfDay / 60, o->minutesOfDay % 60) +
                o->text);
    }
    std::stable_sort(allDay.begin(), allDay.end(), caseInsensitiveLess);
    std::stable_sort(timed.begin(), timed.end(), caseInsensitiveLess);
    return JoinLinesCrLf(allDay + timed);
}

ScheduleHit ScheduleStore::ScheduleAt(const QString& minuteKey) const
{
    return ScheduleAt(ParseMinuteKey(minuteKey));
}

ScheduleHit ScheduleStore::ScheduleAt(qint64 minuteKey) const
{
    const IndexPair* p =
        firstWithKey(yearIndex(kStart, int(floorDiv(minuteKey, kMinuteKeysAYear))), minuteKey);
    if (!p)
        return {};
    const ScheduleOccurrence& o = records_[p->occurrence];
    return {o.text, o.urlFlag, o.url};
}

AlarmHit ScheduleStore::AlarmAt(const QString& minuteKey) const
{
    return AlarmAt(ParseMinuteKey(minuteKey));
}

AlarmHit ScheduleStore::AlarmAt(qint64 minuteKey) const
{
    const IndexPair* p =
        firstWithKey(yearIndex(kAlarm, int(floorDiv(minuteKey, kMinuteKeysAYear))), minuteKey);
    if (!p)
        return {};
    const ScheduleOccurrence& o = records_[p->occurrence];
    return {o.text, o.alarm,
            QString::asprintf("%.2d:%.2d", o.minutesOfDay / 60, o.minutesOfDay % 60)};
}

qint64 ScheduleStore::memoryBytes() const
{
    const auto indexBytes = [](const Indexes& indexes) {
        qint64 bytes = 0;
        for (const auto& index : indexes)
            if (index)
                bytes += qint64(index->capacity() * sizeof(IndexPair));
        return bytes;
    };
    qint64 bytes = indexBytes(full_);
    for (const auto& [year, indexes] : years_)
        bytes += indexBytes(indexes) + 64;
    bytes += qint64(records_.capacity()) * qint64(sizeof(ScheduleOccurrence));
    for (const ScheduleOccurrence& o : records_)
        bytes += (o.text.capacity() + o.url.capacity()) * qint64(sizeof(QChar)) + 32;
    bytes += qint64(expanded_.capacity()) * qint64(sizeof(ExpandedLine));
    for (const ExpandedLine& line : expanded_)
        bytes += qint64(line.monthEnds.capacity() * sizeof(qint64));
    for (const QString& l : lines_)
        bytes += l.capacity() * qint64(sizeof(QChar)) + 32;
    return bytes;
}

} // namespace vn
