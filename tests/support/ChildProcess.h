// Runs part of a test in a forked child, where it may give up privileges or
// limit file sizes without touching the test program itself.
#pragma once

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

/// Runs body in a child and returns its result (0 to 255), or -1 when the child
/// did not end normally.
inline int inChildProcess(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(body());
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

/// Root ignores file permissions; tests of refused access drop to "nobody".
inline bool dropToUnprivilegedUser() {
    if (::geteuid() != 0)
        return true;
    constexpr uid_t kNobody = 65534;
    return ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

/// Makes every write past maxBytes fail as a full disk would (EFBIG), for root too.
inline bool limitFileSize(rlim_t maxBytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{maxBytes, maxBytes};
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

}  // namespace testsupport
