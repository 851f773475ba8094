// SPDX-License-Identifier: MIT
#pragma once

// windows.h as every Windows-only part of ours wants it: without the min and max macros that would
// break std::min and std::max, and without the parts of the API we never use.
#include <QtGlobal>

#ifdef Q_OS_WIN
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif
