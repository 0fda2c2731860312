// The sync module: the CalDAV client, the sync engine and the keyring behind
// the one entry point the program resolves at the sync's first use.
#include "backgroundsync.h"
#include "foundation/paths.h"

extern "C" Q_DECL_EXPORT vn::sync::SyncService* vnCreateSyncService(const QString& dataDir)
{
    // The module has its own copy of the data folder's whereabouts.
    vn::SetAppLocation(dataDir, QStringLiteral("Vnote"));
    return new vn::sync::BackgroundSync(dataDir);
}
