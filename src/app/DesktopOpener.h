// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QUrl>
#include <functional>

// How a file or an address is handed to the desktop: OpenWithDesktop (platform/DesktopOpen.h), or a
// test's stand-in. `done` is told later whether the desktop took it.
using DesktopOpener =
    std::function<void(const QUrl& url, QObject* context, std::function<void(bool opened)> done)>;
