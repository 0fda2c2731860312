#pragma once
// Printing of the current memo page, or of its selected text, through the
// print preview.
#include "pageaccess.h"
#include "printreport.h"

class QWidget;

namespace vn {

// What the report of the current page holds: the tab name as title, the
// page's font face for the body, and the whole text, or only the selected
// text when there is a selection and the user answers Yes to
// "選択文字列のみの印刷ですか？".
MemoReportContent ReportContentFor(const PageAccess& pages);

// The toolbar's print preview: builds the report, shows the preview window
// and returns when the user has closed it.
void PrintPreview(const PageAccess& pages, QWidget* parent = nullptr);

} // namespace vn
