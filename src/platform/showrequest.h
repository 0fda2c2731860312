#pragma once
// A second start brings the running program's window up: the running one
// listens on a local socket next to its instance lock, and the second one,
// finding the lock held, knocks there and ends.
#include <QString>
#include <functional>

class QObject;

namespace vn {

// The socket beside the lock file ("….lock" becomes "….show").
QString ShowRequestSocketPath(const QString& lockPath);

// Asks the program listening at path to show its window. False when nobody
// listens there.
bool RequestShow(const QString& path);

// Listens at path (a socket left there by an ended process is replaced;
// the caller holds the instance lock) and calls onShow for every request,
// as long as parent lives. False when it cannot listen.
bool ListenForShowRequests(QObject* parent, const QString& path, std::function<void()> onShow);

} // namespace vn
