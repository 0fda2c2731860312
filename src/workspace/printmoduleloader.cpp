#include "printservice.h"

#include "foundation/moduleservice.h"

namespace vn {

namespace {

ModuleServiceSlot<PrintService>& slot()
{
    static ModuleServiceSlot<PrintService> s(QStringLiteral("velnote-print"), kPrintModuleEntry,
                                             QStringLiteral("印刷の機能を読み込めません"));
    return s;
}

} // namespace

std::unique_ptr<PrintService> LoadPrintService(const QString& modulePath, QString* error)
{
    return LoadModuleService<PrintService>(modulePath, kPrintModuleEntry,
                                           QStringLiteral("印刷の機能を読み込めません"), error);
}

PrintService& Printing()
{
    return slot().get();
}

void SetPrintModulePath(const QString& modulePath)
{
    slot().setPath(modulePath);
}

} // namespace vn
