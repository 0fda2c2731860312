#include "memoprint.h"

#include "widgets/uiprompts.h"
#include "workspacesettings.h"

namespace vn {

MemoReportContent ReportContentFor(const PageAccess& pages)
{
    const int page = pages.currentPage();
    MemoReportContent content;
    content.title = pages.tabName(page);
    content.fontName = pages.pageFontName(page);
    bool selectionOnly = false;
    if (pages.selectionLength() > 0)
        selectionOnly = Ask(BoxKind::Warning, QStringLiteral("選択文字列のみの印刷ですか？"),
                            BoxButtons::YesNo) == BoxAnswer::Yes;
    content.body = selectionOnly ? pages.selectedText() : pages.pageText(page);
    return content;
}

void PrintPreview(const PageAccess& pages, QWidget* parent)
{
    PrintService& printing = Printing();
    printing.preview(ReportContentFor(pages), Workspace().dateTimeFormat, parent);
}

} // namespace vn
