#pragma once
// Telling the user what a load of a record file could not read, once: the
// calendar, the lists and the minute check all read the same files, so the
// same unreadable lines would otherwise be reported at every reload (at
// start-up, when a list opens, again when it closes).
#include "foundation/loadreport.h"

class QWidget;

namespace vn {

// Notes the report of a load of its file. True when it should be shown: it
// names a line (by its text, wherever it now stands) that the last report
// noted for the file did not. A clean load forgets the file, so a fault that
// comes back is told.
bool NoteLoadReport(const LoadReport& report);

// Shows the report in the error box when NoteLoadReport says so.
void ShowLoadReport(const LoadReport& report, QWidget* parent = nullptr);

} // namespace vn
