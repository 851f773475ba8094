// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Where QSettings keeps a program's settings in its native form, as the encoder's usage text says
// it: the registry on Windows, an INI file under ~/.config elsewhere.
QString NativeSettingsPlace();

// Whether QSettings' native form is a file, rather than the Windows registry or a macOS preferences
// file: an INI file on Linux and the other Unix systems.
bool NativeSettingsAreAFile();

// Whether QSettings' native form is the Windows registry.
bool NativeSettingsAreTheRegistry();

// A value of the native settings (where they are not a file) as plain text, never turned into data
// of another type: a number stored as a number in its decimal digits, a text as it is; nothing when
// there is none. Looked for where QSettings looks: the program's own key, then the organisation's
// defaults, for the user and then for the machine. Only the Windows registry is read so.
std::optional<QString> ReadNativeSettingText(const QString& organization, const QString& application,
                                             const QString& key);

// How QSettings keeps an INI file here: on Windows its keys ignore case and keep the order they have
// in the file, and its lines end in CR LF; elsewhere keys are exact and sorted, lines end in LF.
bool IniKeysIgnoreCaseAndKeepOrder();
QByteArray IniLineEnd();
