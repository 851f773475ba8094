// SPDX-License-Identifier: MIT
#include "app/StartOptions.h"

#include "platform/NativeSettings.h"

namespace {

bool IsSwitch(const QString& argument, QLatin1String name) {
    if (!argument.startsWith(QLatin1Char('-')) && !argument.startsWith(QLatin1Char('/')))
        return false;
    return argument.mid(1).compare(name, Qt::CaseInsensitive) == 0;
}

} // namespace

StartOptions StartOptions::parse(const QStringList& arguments) {
    StartOptions options;
    for (const QString& argument : arguments) {
        if (IsSwitch(argument, QLatin1String("Embedding")) || IsSwitch(argument, QLatin1String("Automation")))
            options.ShowSplash = false;
        else if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            options.PrintHelp = true;
        else if (argument == QLatin1String("--version"))
            options.PrintVersion = true;
        else if (argument == QLatin1String("--print-help-path"))
            options.PrintHelpPath = true;
        else if (argument == QLatin1String("--print-module-path"))
            options.PrintModulePath = true;
        // A mistyped option is told, not taken for no option at all; the switches of other
        // programs (-platform, /p) are still passed over.
        else if (argument.startsWith(QLatin1String("--")))
            options.UnknownOptions << argument;
    }
    return options;
}

QString StartOptions::usageText() {
    return QStringLiteral(
               "usage: glomiecode [-Embedding | -Automation] [--help] [--version] [--print-help-path]\n"
               "                  [--print-module-path]\n"
               "\n"
               "The Glomie Code Encoder: answer the questions on ten pages and get your Glomie Code.\n"
               "The answers are kept in %1 and saved when you press OK.\n"
               "Only one copy of the encoder runs at a time.\n"
               "\n"
               "options:\n"
               "  -Embedding, -Automation  start without the splash picture (also written with \"/\",\n"
               "                           in any letter case)\n"
               "  -h, --help               show this help and end\n"
               "  --version                show the version and end\n"
               "  --print-help-path        show where the help file was found and end (nothing, and\n"
               "                           exit status 1, when there is none)\n"
               "  --print-module-path      show where the module for the decoder page and for a later\n"
               "                           copy's call was loaded from and end (nothing, and exit\n"
               "                           status 1, when it cannot be loaded)\n"
               "\n"
               "Another option beginning with \"--\" is refused (exit status 2); anything else on the\n"
               "command line is ignored.\n")
        .arg(NativeSettingsPlace());
}
