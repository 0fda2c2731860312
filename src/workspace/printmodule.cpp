// The print module: the memo report and its preview window over Qt
// PrintSupport, behind the one entry point the program resolves at the first
// print preview.
#include "printpreview.h"
#include "printservice.h"
#include "workspacesettings.h"

namespace {

class PreviewService final : public vn::PrintService {
public:
    void preview(const vn::MemoReportContent& content, const QString& dateTimeFormat,
                 QWidget* parent) override
    {
        // The module's own copy of the settings the report reads.
        vn::Workspace().dateTimeFormat = dateTimeFormat;
        const vn::MemoReport report(content);
        vn::PrintPreviewWindow window(report, parent);
        window.exec();
    }
};

} // namespace

extern "C" Q_DECL_EXPORT vn::PrintService* vnCreatePrintService(const vn::ModuleHost& host)
{
    vn::AdoptHost(host);
    return new PreviewService;
}
