#pragma once
// The memo report's print preview as the program uses it.
//
// Qt PrintSupport (and the print system's libraries it brings) is in the
// print module (velnote-print, next to the program or in its library
// folder), loaded at the first print preview, so that it costs nothing at
// start-up.
#include "foundation/modulepath.h"

#include <QString>

#include <memory>

class QWidget;

namespace vn {

struct MemoReportContent {
    QString title;    // the page's tab name
    QString body;     // CR LF line breaks
    QString fontName; // face of the body text
};

class PrintService {
public:
    virtual ~PrintService() = default;
    // Shows the preview window "プレビュー" of the report and returns when
    // the user has closed it. The header's print date is written in
    // dateTimeFormat (empty: the default).
    virtual void preview(const MemoReportContent& content, const QString& dateTimeFormat,
                         QWidget* parent) = 0;
};

// The module's entry point: a service with the program's clock.
inline constexpr char kPrintModuleEntry[] = "vnCreatePrintService";
using PrintModuleEntry = PrintService* (*)(const ModuleHost& host);

// Loads the module at modulePath (without suffix) and makes a service; null
// when it cannot be had (the reason in `error`, in Japanese with the
// loader's words in brackets).
std::unique_ptr<PrintService> LoadPrintService(const QString& modulePath, QString* error = nullptr);

// The program's service, loaded at the first call and kept to the end;
// throws AppError when the module cannot be had (and tries again next time).
PrintService& Printing();
// Where Printing() loads the module from at its next use; by default
// velnote-print found by ModulePath. Tests point it at the module they built.
void SetPrintModulePath(const QString& modulePath);

} // namespace vn
