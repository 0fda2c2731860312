#include "filepermissions.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace vn::test {

namespace {

constexpr unsigned kOverrides[] = {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER};

bool setEffective(bool on)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    for (unsigned cap : kOverrides) {
        const unsigned bit = 1u << (cap % 32);
        if (on)
            data[cap / 32].effective |= data[cap / 32].permitted & bit;
        else
            data[cap / 32].effective &= ~bit;
    }
    return ::syscall(SYS_capset, &header, data) == 0;
}

} // namespace

PermissionsEnforced::PermissionsEnforced()
{
    if (::geteuid() != 0) {
        active_ = true;
        return;
    }
    changed_ = setEffective(false);
    active_ = changed_;
}

PermissionsEnforced::~PermissionsEnforced()
{
    if (changed_)
        setEffective(true);
}

} // namespace vn::test
