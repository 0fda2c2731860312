#pragma once
// Holiday.dat as the holiday list reads and rewrites it: one entry per line
// of the form MMDD,first year,last year,name; fields after the name go back
// after it unchanged. Comment lines and lines the list cannot take (the MMwN
// form, missing fields, letters where numbers belong) are kept with their
// bytes and written back in their places.
#include "foundation/loadreport.h"
#include "foundation/recordfile.h"

#include <optional>
#include <vector>

namespace vn::cal {

struct HolidayEntry {
    int month = 1, day = 1;
    int firstYear = 0, lastYear = 0;
    QString name;
    QString rest; // the fields after the name, from their separator on
    friend bool operator==(const HolidayEntry&, const HolidayEntry&) = default;
};

// Nothing for a comment or a line the list cannot take.
std::optional<HolidayEntry> ReadHolidayListLine(const QString& line);
// Lines the list keeps without a word: comments, blank lines and the n-th
// Monday form (which the calendar reads but the list cannot edit). Other
// lines that are not entries are reported as unreadable.
bool KeptQuietly(const QString& line);
// "%.2d%.2d,%.4d,%.4d," + name + rest
QString ComposeHolidayLine(const HolidayEntry& entry);
// "05/06": the list's first column and sort key.
QString HolidayMonthDayText(int month, int day);

struct HolidayRows {
    std::vector<HolidayEntry> rows; // in file order
    RecordFile file;
    LoadReport report;
};

// A missing file gives no rows.
HolidayRows ReadHolidayRows(const QString& path);
// Rewrites the file as RecordFile::write does (see WriteScheduleRows).
void WriteHolidayRows(const QString& path, const RecordFile& source,
                      const std::vector<HolidayEntry>& rows,
                      const RecordFile::ConfirmLink& confirm = {});

} // namespace vn::cal
