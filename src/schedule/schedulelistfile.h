#pragma once
// Schedule.dat as the schedule list reads and rewrites it: one row per
// readable line. Comment lines and unreadable lines are not rows; they are
// kept and written back first, in their order, so a rewrite loses nothing.
#include "loadreport.h"
#include "scheduleline.h"

#include <QStringList>

#include <vector>

namespace vn {

struct ScheduleRows {
    std::vector<ScheduleFields> rows;
    QStringList keptLines;
    LoadReport report;
};

// A missing file gives no rows.
ScheduleRows ReadScheduleRows(const QString& path);
void WriteScheduleRows(const QString& path, const QStringList& keptLines,
                       const std::vector<ScheduleFields>& rows);

} // namespace vn
