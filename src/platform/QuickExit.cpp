// SPDX-License-Identifier: MIT
#include "platform/QuickExit.h"

#include <QtGlobal>
#include <cstdio>

#ifdef Q_OS_WIN
#include "platform/WindowsApi.h"
#endif

void QuickExit(int status) {
#ifdef Q_OS_WIN
    std::fflush(nullptr);
    ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(status));
#else
    Q_UNUSED(status);
#endif
}
