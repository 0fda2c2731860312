#include "schedulestore.h"

#include "foundation/textcodec.h"
#include "foundation/textfile.h"

#include <algorithm>

namespace vn {

namespace {

bool keyLess(const IndexPair& a, const IndexPair& b)
{
    return a.key < b.key;
}

// Sorts a batch so that equal keys keep the later addition first, then puts
// it in front of the pairs already there with the same keys.
void mergeBatch(std::vector<IndexPair>& index, std::vector<IndexPair>& batch)
{
    std::reverse(batch.begin(), batch.end());
    std::stable_sort(batch.begin(), batch.end(), keyLess);
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
    Batch batch;
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        ScheduleFields f;
        switch (ReadScheduleLine(lines_[i], &f)) {
        case LineRead::Schedule:
            if (!expandInto(batch, f))
                report.cutLines.append(int(i + 1));
            break;
        case LineRead::Unreadable: report.unreadableLines.append(int(i + 1)); break;
        case LineRead::Comment: break;
        }
    }
    records_.shrink_to_fit();
    commit(batch);
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
    Batch batch;
    const bool complete = expandInto(batch, f);
    commit(batch);
    return complete;
}

bool ScheduleStore::expandInto(Batch& batch, const ScheduleFields& f)
{
    ScheduleOccurrence rec;
    rec.minutesOfDay = f.hour * 60 + f.minute;
    rec.allDay = f.allDay;
    rec.alarm = f.alarm;
    rec.text = SjisLeft(f.text, kOccurrenceTextBytes);
    rec.urlFlag = f.urlFlag;
    rec.url = SjisLeft(f.url, kOccurrenceTextBytes);
    const quint32 id = quint32(records_.size());
    const bool withAlarm = !f.allDay && f.alarm != 0;
    const int startMinutes = rec.minutesOfDay;
    records_.push_back(std::move(rec));

    bool complete = true;
    WalkOccurrences(f, holiday_, [&](const YMD& d) {
        if (qsizetype(day_.size() + batch.day.size()) >= kMaxOccurrences) {
            complete = false;
            return false;
        }
        const qint64 dayKey = DateKeyValue(d.year, d.month, d.day);
        batch.day.push_back({dayKey, id});
        batch.start.push_back({dayKey * 10000 + f.hour * 100 + f.minute, id});
        if (withAlarm) {
            const qint64 at =
                qint64(EncodeDate(d.year, d.month, d.day)) * 1440 + startMinutes - qint64(f.alarm);
            batch.alarm.push_back({minuteKeyOf(at), id});
        }
        return true;
    });
    return complete;
}

void ScheduleStore::commit(Batch& batch)
{
    mergeBatch(day_, batch.day);
    mergeBatch(start_, batch.start);
    mergeBatch(alarm_, batch.alarm);
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
    const IndexPair* p = firstWithKey(alarm_, minuteKey);
    if (!p)
        return {};
    const ScheduleOccurrence& o = records_[p->occurrence];
    return {o.text, o.alarm,
            QString::asprintf("%.2d:%.2d", o.minutesOfDay / 60, o.minutesOfDay % 60)};
}

qint64 ScheduleStore::memoryBytes() const
{
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
