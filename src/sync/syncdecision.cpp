#include "syncdecision.h"

#include <algorithm>

namespace vn::sync {

namespace {

bool same(const std::optional<QStringList>& a, const std::optional<QStringList>& b)
{
    if (a.has_value() != b.has_value())
        return false;
    if (!a)
        return true;
    if (*a == *b)
        return true;
    QStringList x = *a, y = *b;
    std::sort(x.begin(), x.end());
    std::sort(y.begin(), y.end());
    return x == y;
}

} // namespace

SyncAction Decide(const std::optional<QStringList>& base, const std::optional<QStringList>& local,
                  const std::optional<QStringList>& remote)
{
    const bool localChanged = !same(local, base);
    const bool remoteChanged = !same(remote, base);
    if (!localChanged && !remoteChanged)
        return SyncAction::None;
    if (same(local, remote))
        return local ? SyncAction::Adopt : SyncAction::Forget;
    if (!remoteChanged) // changed or deleted here only
        return local ? (base ? SyncAction::PushChanged : SyncAction::PushNew)
                     : SyncAction::DeleteRemote;
    if (!localChanged) // changed or deleted there only
        return remote ? (base ? SyncAction::PullChanged : SyncAction::PullNew)
                      : SyncAction::DeleteLocal;
    // Both sides moved, to different ends.
    if (!remote)
        return SyncAction::PushNew; // changed here, deleted there
    if (!local)
        return SyncAction::PullNew; // deleted here, changed there
    return SyncAction::Conflict;
}

const char* ActionName(SyncAction action)
{
    switch (action) {
    case SyncAction::None: return "None";
    case SyncAction::Adopt: return "Adopt";
    case SyncAction::PushNew: return "PushNew";
    case SyncAction::PushChanged: return "PushChanged";
    case SyncAction::PullNew: return "PullNew";
    case SyncAction::PullChanged: return "PullChanged";
    case SyncAction::DeleteRemote: return "DeleteRemote";
    case SyncAction::DeleteLocal: return "DeleteLocal";
    case SyncAction::Forget: return "Forget";
    case SyncAction::Conflict: return "Conflict";
    }
    return "?";
}

} // namespace vn::sync
