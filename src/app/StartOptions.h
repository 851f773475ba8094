// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for. Only the splash switches reach the sheet; the rest print and end.
struct StartOptions {
    bool ShowSplash = true;
    bool PrintHelp = false;
    bool PrintVersion = false;
    bool PrintHelpPath = false;
    bool PrintModulePath = false;
    // Arguments written as long options ("--hlep") that are none of the program's: refused.
    QStringList UnknownOptions;

    // Reads the arguments (without the program name). "Embedding" and "Automation" after "/" or "-",
    // in any letter case, suppress the splash; --help, --version and the --print-...-path options print and
    // end; another "--" option is unknown; everything else is ignored.
    static StartOptions parse(const QStringList& arguments);
    // What --help prints.
    static QString usageText();
};
