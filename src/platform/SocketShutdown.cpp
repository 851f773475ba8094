// SPDX-License-Identifier: MIT
#include "platform/SocketShutdown.h"

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <cerrno>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/uio.h>
#endif

#include <algorithm>
#include <climits>

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

qint64 SendAvailable(qintptr socket, QByteArrayView first, QByteArrayView second) {
#ifdef Q_OS_WIN
    WSABUF buffers[2] = {
        {ULONG(std::min<qsizetype>(first.size(), INT_MAX)), const_cast<char*>(first.data())},
        {ULONG(std::min<qsizetype>(second.size(), INT_MAX)), const_cast<char*>(second.data())}};
    DWORD sent = 0;
    if (::WSASend(static_cast<SOCKET>(socket), buffers, second.isEmpty() ? 1 : 2, &sent, 0, nullptr,
                  nullptr) == 0)
        return qint64(sent);
    return ::WSAGetLastError() == WSAEWOULDBLOCK ? 0 : -1;
#else
    iovec buffers[2] = {{const_cast<char*>(first.data()), size_t(first.size())},
                        {const_cast<char*>(second.data()), size_t(second.size())}};
    msghdr message{};
    message.msg_iov = buffers;
    message.msg_iovlen = second.isEmpty() ? 1 : 2;
    for (;;) {
        // No SIGPIPE for a client that has gone: the error says so.
#ifdef MSG_NOSIGNAL
        const ssize_t sent = ::sendmsg(static_cast<int>(socket), &message, MSG_NOSIGNAL);
#else
        const ssize_t sent = ::sendmsg(static_cast<int>(socket), &message, 0);
#endif
        if (sent >= 0)
            return qint64(sent);
        if (errno != EINTR)
            return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
    }
#endif
}
