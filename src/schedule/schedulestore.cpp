#include "schedulestore.h"

#include "foundation/textcodec.h"
#include "foundation/textfile.h"

#include <algorithm>
#include <array>
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

// Sorts a batch so that equal keys keep the later addition first, then puts
// it in front of the pairs already there with the same keys.
// spare: a buffer for the sort, handed on from batch to batch.
void mergeBatch(std::vector<IndexPair>& index, std::vector<IndexPair>& batch,
                std::vector<IndexPair>& spare)
{
    std::reverse(batch.begin(), batch.end());
    stableSortByKey(batch, spare);
    if (index.empty()) {
        index.swap(batch);
        index.shrink_to_fit();
        return;
    }
    std::vector<IndexPair> merged;
    merged.reserve(index.size() + batch.size());
    std::merge(batch.begin(), batch.end(), index.begin(), index.end(), std::back_inserter(merged),
               keyLess);
    index.swap(merged);
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

// The minute key of a minute count (minutes since 1899-12-30 00:00).
qint64 minuteKeyOf(qint64 minutes)
{
    qint64 days = minutes / 1440;
    qint64 rest = minutes % 1440;
    if (rest < 0) {
        rest += 1440;
        --days;
    }
    const YMD d = DecodeDate(DateTime(days));
    return MinuteKeyValue(d.year, d.month, d.day, int(rest / 60), int(rest % 60));
}

bool caseInsensitiveLess(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

} // namespace

void ScheduleStore::clear()
{
    pending_.clear();
    records_.clear();
    day_.clear();
    start_.clear();
    alarm_.clear();
    records_.shrink_to_fit();
    day_.shrink_to_fit();
    start_.shrink_to_fit();
    alarm_.shrink_to_fit();
}

LoadReport ScheduleStore::LoadSchedules(const QString& path)
{
    clear();
    LoadReport report;
    report.path = path;
    if (!FileExists(path))
        return report;
    filePath_ = path;
    lines_ = ReadLines(path);
    std::vector<std::pair<int, ScheduleFields>> readable; // line number, fields
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        ScheduleFields f;
        switch (ReadScheduleLine(lines_[i], &f)) {
        case LineRead::Schedule: readable.emplace_back(int(i + 1), std::move(f)); break;
        case LineRead::Unreadable: report.unreadableLines.append(int(i + 1)); break;
        case LineRead::Comment: break;
        }
    }
    // Counted first, the index is allocated once at its size: growing it
    // step by step would touch several times the memory it ends up in.
    qsizetype total = 0;
    for (const auto& [line, f] : readable) {
        qsizetype n = 0;
        WalkOccurrences(f, holiday_, [&](const YMD&) { return ++n + total < kMaxOccurrences; });
        total += n;
    }
    std::vector<IndexPair> days;
    days.reserve(size_t(total));
    records_.reserve(readable.size());
    pending_.reserve(readable.size());
    for (auto& [line, f] : readable) {
        bool complete = true;
        const quint32 id = addRecord(f);
        const qsizetype n = expandDays(days, f, id, &complete);
        if (!complete)
            report.cutLines.append(line);
        if (n > 0)
            pending_.push_back({std::move(f), id, n});
    }
    records_.shrink_to_fit();
    std::vector<IndexPair> spare;
    mergeBatch(day_, days, spare);
    return report;
}

LoadReport ScheduleStore::AppendSchedule(const ScheduleFields& f)
{
    if (filePath_.isEmpty())
        return {};
    // Start from the file as it is now: the lines held may be older than it
    // (another writer, or a file set without a load) and must not replace it.
    if (FileExists(filePath_))
        lines_ = ReadLines(filePath_);
    lines_.append(ComposeScheduleLine(f));
    SaveSchedules();
    return LoadSchedules(filePath_);
}

void ScheduleStore::SaveSchedules()
{
    if (filePath_.isEmpty())
        return;
    std::stable_sort(lines_.begin(), lines_.end(), caseInsensitiveLess);
    WriteLines(filePath_, lines_);
}

bool ScheduleStore::ExpandOccurrences(const ScheduleFields& f)
{
    ensureTimeIndexes();
    Batch batch;
    bool complete = true;
    const quint32 id = addRecord(f);
    const qsizetype n = expandDays(batch.day, f, id, &complete);
    expandTimes(batch, f, id, n);
    commit(batch);
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

qsizetype ScheduleStore::expandDays(std::vector<IndexPair>& days, const ScheduleFields& f,
                                    quint32 id, bool* complete) const
{
    const size_t first = days.size();
    WalkOccurrences(f, holiday_, [&](const YMD& d) {
        if (qsizetype(day_.size() + days.size()) >= kMaxOccurrences) {
            *complete = false;
            return false;
        }
        days.push_back({DateKeyValue(d.year, d.month, d.day), id});
        return true;
    });
    return qsizetype(days.size() - first);
}

void ScheduleStore::expandTimes(Batch& batch, const ScheduleFields& f, quint32 id,
                                qsizetype count) const
{
    const bool withAlarm = !f.allDay && f.alarm != 0;
    const int startMinutes = f.hour * 60 + f.minute;
    qsizetype left = count;
    WalkOccurrences(f, holiday_, [&](const YMD& d) {
        if (left-- <= 0)
            return false;
        const qint64 dayKey = DateKeyValue(d.year, d.month, d.day);
        batch.start.push_back({dayKey * 10000 + f.hour * 100 + f.minute, id});
        if (withAlarm) {
            const qint64 minute = startMinutes - qint64(f.alarm);
            if (minute >= 0 && minute < 1440) { // the alarm rings on the day itself
                batch.alarm.push_back({dayKey * 10000 + minute / 60 * 100 + minute % 60, id});
            } else {
                const qint64 at = qint64(EncodeDate(d.year, d.month, d.day)) * 1440 + minute;
                batch.alarm.push_back({minuteKeyOf(at), id});
            }
        }
        return true;
    });
}

void ScheduleStore::ensureTimeIndexes() const
{
    if (pending_.empty())
        return;
    qsizetype total = 0, withAlarm = 0;
    for (const PendingLine& p : pending_) {
        total += p.count;
        if (!p.fields.allDay && p.fields.alarm != 0)
            withAlarm += p.count;
    }
    Batch batch;
    batch.start.reserve(size_t(total));
    batch.alarm.reserve(size_t(withAlarm));
    for (const PendingLine& p : pending_)
        expandTimes(batch, p.fields, p.id, p.count);
    pending_.clear();
    pending_.shrink_to_fit();
    std::vector<IndexPair> spare;
    mergeBatch(start_, batch.start, spare);
    mergeBatch(alarm_, batch.alarm, spare);
}

void ScheduleStore::commit(Batch& batch)
{
    std::vector<IndexPair> spare; // fresh memory costs: one buffer for all three
    mergeBatch(day_, batch.day, spare);
    mergeBatch(start_, batch.start, spare);
    mergeBatch(alarm_, batch.alarm, spare);
}

int ScheduleStore::ScheduleCountOn(int year, int month, int day) const
{
    const auto [b, e] = equalKeys(day_, DateKeyValue(year, month, day));
    return int(e - b);
}

std::vector<const ScheduleOccurrence*> ScheduleStore::occurrencesOn(int year, int month,
                                                                    int day) const
{
    std::vector<const ScheduleOccurrence*> out;
    const auto [b, e] = equalKeys(day_, DateKeyValue(year, month, day));
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
    ensureTimeIndexes();
    const IndexPair* p = firstWithKey(start_, minuteKey);
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
    ensureTimeIndexes();
    const IndexPair* p = firstWithKey(alarm_, minuteKey);
    if (!p)
        return {};
    const ScheduleOccurrence& o = records_[p->occurrence];
    return {o.text, o.alarm,
            QString::asprintf("%.2d:%.2d", o.minutesOfDay / 60, o.minutesOfDay % 60)};
}

qint64 ScheduleStore::memoryBytes() const
{
    ensureTimeIndexes();
    qint64 bytes =
        qint64(day_.capacity() + start_.capacity() + alarm_.capacity()) * qint64(sizeof(IndexPair));
    bytes += qint64(records_.capacity()) * qint64(sizeof(ScheduleOccurrence));
    for (const ScheduleOccurrence& o : records_)
        bytes += (o.text.capacity() + o.url.capacity()) * qint64(sizeof(QChar)) + 32;
    for (const QString& l : lines_)
        bytes += l.capacity() * qint64(sizeof(QChar)) + 32;
    return bytes;
}

} // namespace vn
