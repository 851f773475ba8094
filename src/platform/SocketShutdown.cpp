// SPDX-License-Identifier: MIT
#include "platform/SocketShutdown.h"

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <sys/ioctl.h>
#include <sys/socket.h>
#endif

bool ShutdownSending(qintptr socket) {
#ifdef Q_OS_WIN
    return ::shutdown(static_cast<SOCKET>(socket), SD_SEND) == 0;
#else
    return ::shutdown(static_cast<int>(socket), SHUT_WR) == 0;
#endif
}

bool ResetOnClose(qintptr socket) {
    // A zero linger time: close() drops what is still queued and resets the connection.
#ifdef Q_OS_WIN
    const linger option{1, 0};
    return ::setsockopt(static_cast<SOCKET>(socket), SOL_SOCKET, SO_LINGER,
                        reinterpret_cast<const char*>(&option), sizeof option) == 0;
#else
    const linger option{1, 0};
    return ::setsockopt(static_cast<int>(socket), SOL_SOCKET, SO_LINGER, &option, sizeof option) == 0;
#endif
}

qint64 BytesWaiting(qintptr socket) {
#ifdef Q_OS_WIN
    u_long waiting = 0;
    return ::ioctlsocket(static_cast<SOCKET>(socket), FIONREAD, &waiting) == 0 ? qint64(waiting) : -1;
#else
    int waiting = 0;
    return ::ioctl(static_cast<int>(socket), FIONREAD, &waiting) == 0 ? qint64(waiting) : -1;
#endif
}
