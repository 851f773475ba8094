// SPDX-License-Identifier: MIT
#include "platform/SocketShutdown.h"

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

bool ShutdownSending(qintptr socket) {
#ifdef Q_OS_WIN
    return ::shutdown(static_cast<SOCKET>(socket), SD_SEND) == 0;
#else
    return ::shutdown(static_cast<int>(socket), SHUT_WR) == 0;
#endif
}
