#include "modulepath.h"

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

} // namespace vn
