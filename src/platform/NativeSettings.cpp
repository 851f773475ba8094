// SPDX-License-Identifier: MIT
#include "platform/NativeSettings.h"

QString NativeSettingsPlace() {
#ifdef Q_OS_WIN
    return QStringLiteral("the registry, under\nHKEY_CURRENT_USER\\Software\\kvrq\\<program name>,");
#else
    return QStringLiteral("~/.config/kvrq/<program name>.conf");
#endif
}

bool NativeSettingsAreAFile() {
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    return false;
#else
    return true;
#endif
}
