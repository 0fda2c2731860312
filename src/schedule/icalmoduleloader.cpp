#include "icalservice.h"

#include "foundation/apperror.h"

#include <QLibrary>

namespace vn {

namespace {

struct Loaded {
    QString path; // empty: the default
    std::unique_ptr<IcalService> service;
};

Loaded& loaded()
{
    static Loaded l;
    return l;
}

} // namespace

std::unique_ptr<IcalService> LoadIcalService(const QString& modulePath, QString* error)
{
    // The module stays loaded to the end: the service's code must outlive it.
    QLibrary module(modulePath);
    auto entry = reinterpret_cast<IcalModuleEntry>(module.resolve(kIcalModuleEntry));
    if (!entry) {
        if (error)
            *error =
                QStringLiteral("iCalendarの機能を読み込めません [%1]").arg(module.errorString());
        return nullptr;
    }
    return std::unique_ptr<IcalService>(entry(ThisProgramHost()));
}

IcalService& Ical()
{
    Loaded& l = loaded();
    if (!l.service) {
        QString why;
        l.service = LoadIcalService(
            l.path.isEmpty() ? ModulePath(QStringLiteral("velnote-ical")) : l.path, &why);
        if (!l.service)
            throw AppError(why);
    }
    return *l.service;
}

void SetIcalModulePath(const QString& modulePath)
{
    loaded() = {modulePath, nullptr};
}

} // namespace vn
