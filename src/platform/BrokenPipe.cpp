// SPDX-License-Identifier: MIT
#include "platform/BrokenPipe.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <csignal>
#endif

void IgnoreBrokenPipe() {
#ifdef Q_OS_UNIX
    ::signal(SIGPIPE, SIG_IGN);
#endif
}
