// SPDX-License-Identifier: MIT
#include "platform/ParentConsole.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include "platform/WindowsApi.h"
#include <cstdio>

namespace {

// A GUI program started without redirection has no standard handles.
bool LeadsNowhere(DWORD which) {
    const HANDLE handle = ::GetStdHandle(which);
    return handle == nullptr || handle == INVALID_HANDLE_VALUE;
}

} // namespace
#endif

void AttachToParentConsole() {
#ifdef Q_OS_WIN
    if (::GetConsoleWindow() != nullptr)
        return;
    // Looked at before attaching, which may give the process the console's handles.
    const bool output = LeadsNowhere(STD_OUTPUT_HANDLE);
    const bool error = LeadsNowhere(STD_ERROR_HANDLE);
    if ((!output && !error) || !::AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (output)
        static_cast<void>(std::freopen("CONOUT$", "w", stdout));
    if (error)
        static_cast<void>(std::freopen("CONOUT$", "w", stderr));
#endif
}
