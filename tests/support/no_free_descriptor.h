// Leaves the process no file descriptor to open, as `ulimit -n` at the count already open does.
#pragma once

#include <sys/resource.h>
#include <unistd.h>

namespace testing_support {

// Lowers the soft limit of open files to the lowest free descriptor; `before` receives the limits
// in force, to be set back with setrlimit(RLIMIT_NOFILE, &before).
inline void LeaveNoFreeDescriptor(rlimit* before) {
    getrlimit(RLIMIT_NOFILE, before);
    const int next = dup(0);
    close(next);
    const rlimit none{static_cast<rlim_t>(next), before->rlim_max};
    setrlimit(RLIMIT_NOFILE, &none);
}

}  // namespace testing_support
