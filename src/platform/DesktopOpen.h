// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QUrl>
#include <functional>

// Opens a file or an address with the desktop's own application for it, without waiting for that
// application, and tells whether the desktop took it: on Unix by xdg-open's exit status, on Windows
// by ShellExecute's result. `done` runs once, later, on the thread of `context`; never when
// `context` has gone first. An opener that runs on for as long as the application it started (so
// never ends) never says; one that cannot start at all says so.
void OpenWithDesktop(const QUrl& url, QObject* context, std::function<void(bool opened)> done);

// Lets another program bring its window to the front. On Windows only the program the user works
// with may, so a refused second copy of the encoder passes that on before it asks the running copy
// to come forward; elsewhere the window manager decides, and this does nothing.
void LetAnotherProgramComeForward();

// Whether other users of the computer can read the command line of the browser the desktop starts:
// on Unix anyone can (ps), so the decoder's secret address goes to the browser through a private
// file; on Windows they cannot without an administrator's rights, and the address goes as it is.
bool OtherUsersSeeCommandLines();
