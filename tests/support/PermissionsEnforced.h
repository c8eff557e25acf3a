#pragma once
// File permissions counted for the calling thread even when the tests run as root: while the
// object lives, the thread's effective set lacks the capabilities that bypass them, so that a
// read-only folder or an unreadable file refuses as it refuses any user.
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace frusta::test {

class PermissionsEnforced {
public:
    PermissionsEnforced() {
        if (syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        active_ = syscall(SYS_capset, &header_, reduced) == 0;
    }
    ~PermissionsEnforced() {
        if (active_)
            syscall(SYS_capset, &header_, saved_);
    }
    PermissionsEnforced(const PermissionsEnforced&) = delete;
    PermissionsEnforced& operator=(const PermissionsEnforced&) = delete;

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2] = {};
    bool active_ = false;
};

} // namespace frusta::test
