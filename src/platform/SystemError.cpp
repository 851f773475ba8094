// SPDX-License-Identifier: MIT
#include "platform/SystemError.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include "platform/WindowsApi.h"
#else
#include <cerrno>
#endif

QString lastSystemError() {
#ifdef Q_OS_WIN
    // qt_error_string() would read a Windows code as an errno value.
    const DWORD code = ::GetLastError();
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                              FORMAT_MESSAGE_IGNORE_INSERTS,
                                          nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString message = length ? QString::fromWCharArray(text, static_cast<qsizetype>(length)).trimmed()
                             : QStringLiteral("error %1").arg(code);
    ::LocalFree(text);
    while (message.endsWith(QLatin1Char('.')))
        message.chop(1);
    return message;
#else
    return qt_error_string(errno);
#endif
}
