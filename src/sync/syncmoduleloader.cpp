#include "syncservice.h"

#include "foundation/modulepath.h"

#include <QLibrary>

namespace vn::sync {

std::unique_ptr<SyncService> LoadSyncService(const QString& dataDir, QString* error)
{
    // The module stays loaded to the end: the service's code must outlive it.
    QLibrary module(ModulePath(QStringLiteral("velnote-sync")));
    auto entry = reinterpret_cast<SyncModuleEntry>(module.resolve(kSyncModuleEntry));
    if (!entry) {
        if (error)
            *error = QStringLiteral("同期の機能を読み込めません [%1]").arg(module.errorString());
        return nullptr;
    }
    return std::unique_ptr<SyncService>(entry(dataDir));
}

} // namespace vn::sync
