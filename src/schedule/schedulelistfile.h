#pragma once
// Schedule.dat as the schedule list reads and rewrites it: one row per
// readable line. Comment lines and unreadable lines are not rows; they are
// kept with their bytes and written back in their places among the rows, so
// a rewrite loses nothing.
#include "loadreport.h"
#include "scheduleline.h"

#include "foundation/recordfile.h"

#include <QStringList>

#include <vector>

namespace vn {

struct ScheduleRows {
    std::vector<ScheduleFields> rows;
    RecordFile file; // the lines read, with the kept ones marked
    LoadReport report;

    QStringList keptLines() const { return file.keptLines(); }
};

// A missing file gives no rows.
ScheduleRows ReadScheduleRows(const QString& path);
// Composes one line per row, in the rows' order, and replaces the file with
// them and the kept lines of source, as RecordFile::write does: not when the
// rows are those read, and through a link out of the data folder only when
// confirm says yes.
void WriteScheduleRows(const QString& path, const RecordFile& source,
                       const std::vector<ScheduleFields>& rows,
                       const RecordFile::ConfirmLink& confirm = {});

} // namespace vn
