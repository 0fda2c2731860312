#pragma once
// The rows of the run-record window: one per day of the period, with the
// day's date, rokuyō, holiday name and schedules, and its memo, start, end
// and duration from the record.
#include "runperiod.h"
#include "runrecord.h"

#include <QVariantList>

#include <functional>
#include <vector>

namespace vn {

enum RunRecordColumn {
    kRunNo,          // "No": row + 1
    kRunDate,        // "日付"
    kRunRokuyou,     // "六曜"
    kRunHolidayName, // "休日名称"
    kRunSchedules,   // "予定"
    kRunMemo,        // "メモ"
    kRunStart,       // "起動時刻"
    kRunEnd,         // "終了時刻"
    kRunDuration,    // "所要時間"
    kRunHoliday,     // "休日" (hidden): 1 on Saturdays, Sundays and holidays
    kRunDay,         // "nDate" (hidden): the day number
    kRunColumnCount
};

// What a day shows besides the record, from the calendar's data.
struct RunDayInfo {
    std::function<QString(DateTime)> rokuyou;
    std::function<bool(DateTime)> isHoliday;
    std::function<QString(DateTime)> holidayName; // empty when none
    std::function<QString(DateTime)> schedules;   // a CR LF after every line
};

// The record's days in the file's order, each read once; sections whose
// name is not a day number are left out, a missing memo reads empty.
struct RecordedDay {
    int day = 0;
    RunDay values;
};
std::vector<RecordedDay> ReadRunRecord(const QString& path);

// From the first to the last recorded day; not set when nothing is recorded.
RunPeriod RecordedPeriod(const std::vector<RecordedDay>& record);

// The rows of the period in the order of the columns above.
std::vector<QVariantList> BuildRunRecordRows(const RunPeriod& period,
                                             const std::vector<RecordedDay>& record,
                                             const RunDayInfo& info, const QString& datePattern);

// Columns 5 to 8 of a recorded day.
void FillRecordedColumns(QVariantList& row, const RunDay& values);

} // namespace vn
