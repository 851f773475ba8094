// SPDX-License-Identifier: MIT
#include "platform/FileLimit.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

std::optional<long long> OpenFileLimit() {
#ifdef Q_OS_UNIX
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        return static_cast<long long>(limit.rlim_cur);
#endif
    return std::nullopt;
}

void RaiseOpenFileLimit() {
#ifdef Q_OS_UNIX
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == limit.rlim_max)
        return;
    // An unlimited hard limit still has the kernel's ceiling: ask for a million, which it allows.
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? 1024 * 1024 : limit.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &limit);
#endif
}
