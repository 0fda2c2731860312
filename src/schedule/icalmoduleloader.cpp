#include "icalservice.h"

#include "foundation/moduleservice.h"

namespace vn {

namespace {

ModuleServiceSlot<IcalService>& slot()
{
    static ModuleServiceSlot<IcalService> s(QStringLiteral("velnote-ical"), kIcalModuleEntry,
                                            QStringLiteral("iCalendarの機能を読み込めません"));
    return s;
}

} // namespace

std::unique_ptr<IcalService> LoadIcalService(const QString& modulePath, QString* error)
{
    return LoadModuleService<IcalService>(modulePath, kIcalModuleEntry,
                                          QStringLiteral("iCalendarの機能を読み込めません"), error);
}

IcalService& Ical()
{
    return slot().get();
}

void SetIcalModulePath(const QString& modulePath)
{
    slot().setPath(modulePath);
}

} // namespace vn
