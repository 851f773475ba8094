// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include "app/DesktopOpener.h"

class QWidget;

// Where the help file may be, in the order it is looked for: beside the program (the Help folder
// next to the program's folder, then the installed data folder), and only then the Help folder
// beside the current directory.
QStringList HelpFileCandidates(const QString& programDirectory, const QString& currentDirectory);
// The first candidate that exists, or an empty text.
QString FindHelpFile(const QString& programDirectory, const QString& currentDirectory);
// Opens the help file with the desktop's application for text files, without waiting for it; a new
// request every time. When there is no help file, or the desktop cannot open it, the help text is
// shown in the encoder's own window instead (the one the program carries when there is no file).
void ShowHelp(QWidget& parent, const QString& programDirectory, const DesktopOpener& open);
// The help text in the encoder's own window beside parent: the one already open comes to the front.
void ShowHelpText(QWidget& parent, const QString& text);
// The help text the program carries.
QString BuiltInHelpText();

// The six contributors, each followed by a line feed.
QString ThanksText();
// The contributors box: caption "Contributors", OK only, no icon.
void ShowThanks(QWidget& owner);
