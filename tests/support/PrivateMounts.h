#pragma once

#if !defined(_WIN32)
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace zelvano::test {

// Puts this test process in a mount namespace of its own, shared with nobody, so that what it
// mounts from now on goes with it: a test killed midway (as planted faults often kill them) leaves
// nothing mounted. Root only, and only while the process has one thread; false when it cannot be had.
inline bool PrivateMounts() {
    static const bool made = ::geteuid() == 0 && ::unshare(CLONE_NEWNS) == 0 &&
                             ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return made;
}

} // namespace zelvano::test
#endif
