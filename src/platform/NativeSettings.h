// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Where QSettings keeps a program's settings in its native form, as the encoder's usage text says
// it: the registry on Windows, an INI file under ~/.config elsewhere.
QString NativeSettingsPlace();

// Whether QSettings' native form is a file, rather than the Windows registry or a macOS preferences
// file: an INI file on Linux and the other Unix systems.
bool NativeSettingsAreAFile();
