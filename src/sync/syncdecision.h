#pragma once
// The three-way decision of a sync for one item (an event's schedule lines
// or a diary day): what it is here now, on the server now, and what both
// were as of the last sync.
#include <QStringList>

#include <optional>

namespace vn::sync {

enum class SyncAction {
    None,         // alike everywhere
    Adopt,        // alike here and there, not as last synced: remember it
    PushNew,      // only here (or changed here and deleted there): create there
    PushChanged,  // changed here
    PullNew,      // only there (or changed there and deleted here): create here
    PullChanged,  // changed there
    DeleteRemote, // deleted here, unchanged there
    DeleteLocal,  // deleted there, unchanged here
    Forget,       // deleted on both sides
    Conflict,     // changed on both sides, differently: keep both
};

// nullopt: absent (never synced, or deleted). A change wins over a delete:
// nothing is lost. Lines are compared as a set in any order.
SyncAction Decide(const std::optional<QStringList>& base, const std::optional<QStringList>& local,
                  const std::optional<QStringList>& remote);

const char* ActionName(SyncAction action);

} // namespace vn::sync
