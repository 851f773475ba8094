// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// What the system said about the call that has just failed, in its own words ("No space left on
// device", "Too many open files"): errno on Unix, GetLastError() on Windows. Call it at once, before
// anything else can change the code.
QString lastSystemError();
