#pragma once
// File permissions that hold also for root: tests of unreadable and
// read-only files run as root on CI, where permissions would not stop a
// read. While a PermissionsEnforced lives, this process loses the
// capabilities that bypass file permissions (it gets them back after).
namespace vn::test {

class PermissionsEnforced {
public:
    PermissionsEnforced();
    ~PermissionsEnforced();
    PermissionsEnforced(const PermissionsEnforced&) = delete;
    PermissionsEnforced& operator=(const PermissionsEnforced&) = delete;
    // False when permissions still do not hold (a test should skip).
    bool active() const { return active_; }

private:
    bool active_ = false;
    bool changed_ = false;
};

} // namespace vn::test
