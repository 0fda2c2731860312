#include "printservice.h"

#include "foundation/apperror.h"

#include <QLibrary>

namespace vn {

namespace {

struct Loaded {
    QString path; // empty: the default
    std::unique_ptr<PrintService> service;
};

Loaded& loaded()
{
    static Loaded l;
    return l;
}

} // namespace

std::unique_ptr<PrintService> LoadPrintService(const QString& modulePath, QString* error)
{
    // The module stays loaded to the end: the service's code must outlive it.
    QLibrary module(modulePath);
    auto entry = reinterpret_cast<PrintModuleEntry>(module.resolve(kPrintModuleEntry));
    if (!entry) {
        if (error)
            *error = QStringLiteral("印刷の機能を読み込めません [%1]").arg(module.errorString());
        return nullptr;
    }
    return std::unique_ptr<PrintService>(entry(ThisProgramHost()));
}

PrintService& Printing()
{
    Loaded& l = loaded();
    if (!l.service) {
        QString why;
        l.service = LoadPrintService(
            l.path.isEmpty() ? ModulePath(QStringLiteral("velnote-print")) : l.path, &why);
        if (!l.service)
            throw AppError(why);
    }
    return *l.service;
}

void SetPrintModulePath(const QString& modulePath)
{
    loaded() = {modulePath, nullptr};
}

} // namespace vn
