#include "vnprint01.h"

#include "printpreview.h"
#include "searchmessages.h"

namespace vn
{

MemoReportContent ReportContentFor(const PageAccess& pages, QWidget* parent)
{
    const int page = pages.currentPage();
    MemoReportContent content;
    content.title = pages.tabName(page);
    content.fontName = pages.pageFontName(page);
    bool selectionOnly = false;
    if (pages.selectionLength() > 0)
        selectionOnly = AskWarningYesNo(QStringLiteral("選択文字列のみの印刷ですか？"), parent);
    content.body = selectionOnly ? pages.selectedText() : pages.pageText(page);
    return content;
}

void PrintPreview(const PageAccess& pages, QWidget* parent)
{
    const MemoReport report(ReportContentFor(pages, parent));
    TfrmPreview preview(report, parent);
    preview.exec();
}

} // namespace vn
