#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Where the help file may be, in the order it is looked for: beside the program (the Help folder
// next to the program's folder, then the installed data folder), and only then the Help folder
// beside the current directory.
QStringList HelpFileCandidates(const QString& programDirectory, const QString& currentDirectory);
// The first candidate that exists, or an empty text.
QString FindHelpFile(const QString& programDirectory, const QString& currentDirectory);
// Opens the help file with the desktop's application for text files, without waiting for it. A new
// request every time; no message when there is no help file.
void ShowHelp(const QString& programDirectory);

// The six contributors, each followed by a line feed.
QString ThanksText();
// The contributors box: caption "Contributors", OK only, no icon.
void ShowThanks(QWidget& owner);
