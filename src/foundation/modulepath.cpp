#include "modulepath.h"

#include "clock.h"
#include "paths.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace vn {

QString ModulePath(const QString& moduleName)
{
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString beside = programDir + u'/' + moduleName;
    if (QFileInfo::exists(beside + QStringLiteral(".so")))
        return beside;
    const QString installed =
        QFileInfo(programDir + QStringLiteral("/" VN_MODULE_RELDIR "/") + moduleName).absoluteFilePath();
    return QFileInfo::exists(installed + QStringLiteral(".so")) ? installed : beside;
}

namespace {

class HostClock final : public Clock {
public:
    Clock& (*host)() = nullptr;
    DateTime now() const override { return host().now(); }
    qint64 tickCount() const override { return host().tickCount(); }
};

} // namespace

ModuleHost ThisProgramHost()
{
    return {AppFolder(), AppBaseName(), &CurrentClock};
}

void AdoptHost(const ModuleHost& host)
{
    SetAppLocation(host.dataFolder, host.baseName);
    // The same clock when the module shares the program's code.
    if (!host.clock || host.clock == &CurrentClock)
        return;
    static HostClock clock;
    clock.host = host.clock;
    SetClock(&clock);
}

} // namespace vn
