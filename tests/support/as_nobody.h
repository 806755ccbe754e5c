// Root opens and writes any file, whatever its permissions: a test of what a permission forbids
// runs its attempt in a child process that first becomes the unprivileged user "nobody".
#pragma once

#include <grp.h>
#include <unistd.h>

namespace testing_support {

// Drops root to nobody (user and group 65534) for the rest of the process; any other user stays
// as it is. False when the drop failed.
inline bool DropRootToNobody() {
    if (geteuid() != 0) return true;
    return setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0;
}

}  // namespace testing_support
