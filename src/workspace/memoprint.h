#pragma once
// Printing of the current memo page, or of its selected text, through the
// print preview of the print module.
#include "pageaccess.h"
#include "printservice.h"

class QWidget;

namespace vn {

// What the report of the current page holds: the tab name as title, the
// page's font face for the body, and the whole text, or only the selected
// text when there is a selection and the user answers Yes to
// "選択文字列のみの印刷ですか？".
MemoReportContent ReportContentFor(const PageAccess& pages);

// The toolbar's print preview: loads the print module at its first use,
// builds the report, shows the preview window and returns when the user has
// closed it. Throws AppError when the module cannot be had, before anything
// is asked.
void PrintPreview(const PageAccess& pages, QWidget* parent = nullptr);

} // namespace vn
