#pragma once
// The sync from the command line, without a window: set up the account
// (the password read from standard input) and sync once. Each returns the
// exit code and has said what happened on standard output or error.
#include <QStringList>

#include <functional>

namespace vn {

using PrintLine = std::function<void(const QString&)>;

// velnote --sync-setup URL USER [CALENDAR]
int SyncSetupCommand(const QStringList& args, const PrintLine& out, const PrintLine& err);
// velnote --sync
int SyncCommand(const PrintLine& out, const PrintLine& err);

} // namespace vn
