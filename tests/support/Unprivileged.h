#pragma once

#include <sys/prctl.h>
#include <unistd.h>

namespace tavorin::test {

// Permissions do not bind the superuser. A test of an unreadable file or a
// read-only folder calls this first: run as root (as CI does), the process
// goes on as the unprivileged "nobody" for good. Returns whether it now
// runs unprivileged.
inline bool DropRoot() {
    constexpr uid_t kNobody = 65534;
    if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
        return false;
    ::prctl(PR_SET_DUMPABLE, 1); // the leak checker still needs to see its threads
    return ::geteuid() != 0;
}

} // namespace tavorin::test
