// UserPermissions  File permissions that bind this thread as they bind an ordinary user, for as
// long as the object lives: root's overrides of them (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH)
// leave the thread's effective capabilities, and come back when the object goes. For any other
// user nothing changes, as permissions bind already. Children started meanwhile are not
// affected.
#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

class UserPermissions {
  public:
    UserPermissions() {
        valid = syscall(SYS_capget, &header, saved) == 0;
        if (!valid) return;
        __user_cap_data_struct bound[2] = {saved[0], saved[1]};
        bound[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        valid = syscall(SYS_capset, &header, bound) == 0;
    }
    ~UserPermissions() {
        if (valid) syscall(SYS_capset, &header, saved);
    }
    UserPermissions(const UserPermissions&) = delete;
    UserPermissions& operator=(const UserPermissions&) = delete;

    bool isValid() const { return valid; }

  private:
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved[2]{};
    bool valid = false;
};
