#pragma once
// One instance per user session: an exclusive lock on a file in the user's
// runtime folder. The kernel drops the lock when the process ends, however
// it ends, so a crash never blocks the next start.
#include "desktop.h"

namespace vn {

// "$XDG_RUNTIME_DIR/EX_Vnote.lock", or "/tmp/EX_Vnote-<uid>.lock" where the
// session has no runtime folder.
QString DefaultInstanceLockPath();

class FlockInstanceLock final : public InstanceLock {
public:
    explicit FlockInstanceLock(QString path = DefaultInstanceLockPath());
    ~FlockInstanceLock() override;
    FlockInstanceLock(const FlockInstanceLock&) = delete;
    FlockInstanceLock& operator=(const FlockInstanceLock&) = delete;

    // False while another process holds the lock. A lock file that cannot
    // be opened at all does not keep the program from running.
    bool acquire() override;
    bool held() const { return fd_ >= 0; }
    const QString& path() const { return path_; }

private:
    QString path_;
    int fd_ = -1;
};

} // namespace vn
