#pragma once
// The calendar's schedule store: the lines of Schedule.dat and three
// occurrence indexes built from them.
//
// DayIndex is keyed by the day (yyyymmdd), StartIndex by the start minute
// (yyyymmddhhnn), AlarmIndex by the alarm minute. Each index is sorted by key;
// among equal keys the pair added last comes first, and every lookup returns
// that first pair. The data of an occurrence is the same for every occurrence
// of a line, so it is held once per line and the pairs refer to it.
//
// A load counts each line's occurrences (the store's limit cuts them in line
// order) and keeps the lines; the indexes are built a year at a time, when a
// lookup first needs that year. Painting a month needs only its days: the
// start-up pays neither for the other years nor for the minutes.
#include "loadreport.h"
#include "repetition.h"
#include "scheduleline.h"

#include "foundation/recordfile.h"

#include <QStringList>

#include <array>
#include <map>
#include <optional>
#include <vector>

namespace vn {

// What every occurrence of one schedule line carries.
struct ScheduleOccurrence {
    qint32 minutesOfDay = 0; // hour * 60 + minute of the start
    bool allDay = false;
    qint32 alarm = 0;   // minutes
    QString text;       // at most 255 Shift-JIS bytes
    qint32 urlFlag = 0; // 1 = offer to open the URL
    QString url;        // at most 255 Shift-JIS bytes
};

struct IndexPair {
    qint64 key;         // the key's digits as a number
    quint32 occurrence; // position in the store's occurrence records
};

struct ScheduleHit {
    QString text; // empty when there is none
    int urlFlag = 0;
    QString url;
};

struct AlarmHit {
    QString text; // empty when there is none
    int alarm = 0;
    QString start; // "hh:nn"
};

constexpr int kOccurrenceTextBytes = 255;
// Occurrences one store holds at most (a daily line from year 1 to 9999 has
// 3.65 million); beyond it a file could exhaust memory.
constexpr qsizetype kMaxOccurrences = 4'000'000;

class ScheduleStore {
public:
    // Month ends step back off the days this test names, as it answers
    // when the lines are loaded or added.
    void setHolidayTest(HolidayTest test) { holiday_ = std::move(test); }
    const HolidayTest& holidayTest() const { return holiday_; }

    void SetScheduleFile(const QString& path) { filePath_ = path; }
    const QString& scheduleFilePath() const { return filePath_; }
    const QStringList& scheduleFileLines() const { return lines_; }

    // Empties the indexes; when the file exists, takes its lines and expands
    // every readable one. Unreadable lines are skipped and reported.
    LoadReport LoadSchedules(const QString& path);
    // Appends the line to the file's current lines, writes them sorted and
    // loads the file again. Does nothing while no file is set. Lines that
    // hold NUL or undecodable bytes stay in their places with their bytes;
    // the file is rewritten as RecordFile::write does (through a link out of
    // the data folder only when confirm says yes).
    LoadReport AppendSchedule(const ScheduleFields& f, const RecordFile::ConfirmLink& confirm = {});
    // Writes the file's lines sorted as text without regard to case; like
    // every rewrite, not when the lines are those of the file in any order.
    void SaveSchedules(const RecordFile::ConfirmLink& confirm = {});
    void clear();

    // Adds every occurrence of one line to the three indexes; false when the
    // store's limit cut the repetition short.
    bool ExpandOccurrences(const ScheduleFields& f);

    int ScheduleCountOn(int year, int month, int day) const;
    // All-day lines first, then the timed ones, each group sorted; CR LF
    // after every line.
    QString ScheduleTextOn(int year, int month, int day) const;
    ScheduleHit ScheduleAt(const QString& minuteKey) const;
    ScheduleHit ScheduleAt(qint64 minuteKey) const;
    AlarmHit AlarmAt(const QString& minuteKey) const;
    AlarmHit AlarmAt(qint64 minuteKey) const;

    // The whole indexes, every year (built on first use).
    const std::vector<IndexPair>& dayIndex() const { return fullIndex(kDay); }
    const std::vector<IndexPair>& startIndex() const { return fullIndex(kStart); }
    const std::vector<IndexPair>& alarmIndex() const { return fullIndex(kAlarm); }
    const ScheduleOccurrence& occurrence(quint32 i) const { return records_[i]; }
    // The occurrences of one key, in index order (the one added last first).
    std::vector<const ScheduleOccurrence*> occurrencesOn(int year, int month, int day) const;

    // Heap bytes held by the lines, the records and the indexes built so far
    // (for measurements).
    qint64 memoryBytes() const;

private:
    // The file's readable lines and the added ones, sorted, written back.
    void rewrite(const QStringList& added, const RecordFile::ConfirmLink& confirm);
    enum Index { kDay, kStart, kAlarm, kIndexCount };
    struct ExpandedLine {
        ScheduleFields fields;
        quint32 id;
        qsizetype count; // its occurrences in the indexes: the first ones
        // Month ends step off the holidays of the time of the load: their
        // days are kept from then.
        std::vector<qint64> monthEnds;
    };
    using Indexes = std::array<std::optional<std::vector<IndexPair>>, kIndexCount>;

    // What a line's occurrences carry, once; its number.
    quint32 addRecord(const ScheduleFields& f);
    // Counts the line's occurrences up to the store's limit and keeps the
    // line; false when the limit cut it short.
    bool addLine(ScheduleFields f, quint32 id);
    // Calls visit with each of the line's days from firstDay to lastDay.
    template <typename Visit>
    static void forEachDay(const ExpandedLine& line, qint64 firstDay, qint64 lastDay,
                           Visit&& visit);
    struct KeyPlace;
    static KeyPlace keyPlace(Index which, const ScheduleFields& f);
    // The pairs of one index whose keys fall in the year, sorted; all of
    // them.
    std::vector<IndexPair> buildYear(Index which, int year) const;
    std::vector<IndexPair> buildWhole(Index which) const;
    const std::vector<IndexPair>& yearIndex(Index which, int year) const;
    const std::vector<IndexPair>& fullIndex(Index which) const;
    void forgetIndexes();

    HolidayTest holiday_;
    QString filePath_;
    QStringList lines_;
    std::vector<ScheduleOccurrence> records_;
    std::vector<ExpandedLine> expanded_; // the lines with occurrences, in the order added
    qsizetype occurrenceCount_ = 0;
    // Built when first asked for; forgotten when a line is added.
    mutable std::map<int, Indexes> years_;
    mutable Indexes full_;
};

} // namespace vn
