// SPDX-License-Identifier: MIT
#include "platform/StandardError.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#else
#include <io.h>
#endif

void WriteToStandardError(std::string_view text) {
    size_t written = 0;
    while (written < text.size()) {
#ifdef Q_OS_UNIX
        const ssize_t n = ::write(STDERR_FILENO, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
#else
        const int n = ::_write(2, text.data() + written, static_cast<unsigned>(text.size() - written));
#endif
        if (n <= 0)
            return;
        written += static_cast<size_t>(n);
    }
}
