#include "modulepath.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace vn {

QString ModulePath(const QString& moduleName)
{
    const QString beside = QCoreApplication::applicationDirPath() + u'/' + moduleName;
    if (QFileInfo::exists(beside + QStringLiteral(".so")))
        return beside;
    const QString installed = QStringLiteral(VN_INSTALL_MODULEDIR "/") + moduleName;
    return QFileInfo::exists(installed + QStringLiteral(".so")) ? installed : beside;
}

} // namespace vn
