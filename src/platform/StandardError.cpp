// SPDX-License-Identifier: MIT
#include "platform/StandardError.h"

#include <QtGlobal>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <unistd.h>
#else
#include <io.h>
#endif

bool WriteAll(int descriptor, std::string_view bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
#ifdef Q_OS_UNIX
        const ssize_t n = ::write(descriptor, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
#else
        const int n =
            ::_write(descriptor, bytes.data() + written, static_cast<unsigned>(bytes.size() - written));
#endif
        if (n < 0)
            return false;
        if (n == 0) {
            errno = EIO;
            return false;
        }
        written += static_cast<size_t>(n);
    }
    return true;
}

void WriteToStandardError(std::string_view text) {
    WriteAll(2, text);
}
