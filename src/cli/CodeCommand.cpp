// SPDX-License-Identifier: MIT
#include <QCommandLineParser>
#include <QFileInfo>

#include "Commands.h"
#include "code/Encode.h"
#include "settings/SettingsLayout.h"

std::unique_ptr<QSettingsStore> OpenStore(const QString& settingsFile, bool mustExist, QTextStream& err) {
    if (settingsFile.isEmpty())
        return QSettingsStore::forApplication(QStringLiteral("glomiecode"));
    const QFileInfo info(settingsFile);
    if (mustExist && (!info.exists() || !info.isFile() || !info.isReadable())) {
        err << "glomiecode-cli: cannot read settings file '" << settingsFile << "'\n";
        return nullptr;
    }
    // A store to write (the reading commands have refused these above): reading a FIFO would wait
    // for ever, a device or a folder is no settings file, and a link that leads nowhere would be
    // replaced rather than followed.
    if ((info.exists() || info.isSymLink()) && !info.isFile()) {
        err << "glomiecode-cli: cannot write the settings '" << settingsFile
            << "': not a regular file; nothing was changed\n";
        return nullptr;
    }
    auto store = QSettingsStore::forIniFile(settingsFile);
    if (!store->readable()) {
        err << "glomiecode-cli: settings file '" << settingsFile << "' is not an INI file\n";
        return nullptr;
    }
    return store;
}

AnswerSet LoadAnswers(ProfileStore& store) {
    AnswerSet answers;
    LoadSettings(store, answers);
    return answers;
}

int RunCode(CommandContext& context) {
    QCommandLineParser parser;
    const QCommandLineOption settings(QStringLiteral("settings"),
                                      QStringLiteral("Read the answers from FILE, an INI file."),
                                      QStringLiteral("FILE"));
    parser.addOption(settings);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    parser.addOption(help);
    if (!parser.parse(QStringList{QStringLiteral("code")} + context.arguments) ||
        !parser.positionalArguments().isEmpty()) {
        context.err << "glomiecode-cli: "
                    << (parser.errorText().isEmpty() ? QStringLiteral("unexpected argument")
                                                     : parser.errorText())
                    << "\nusage: glomiecode-cli code [--settings FILE]\n";
        return ExitUsage;
    }
    if (parser.isSet(help)) {
        context.out
            << "usage: glomiecode-cli code [--settings FILE]\n\n"
               "Prints the Glomie Code of the stored answers, as the encoder builds it at start-up.\n\n"
               "  --settings FILE  read the answers from FILE, an INI file with the groups SM, Fav,\n"
               "                   Dis, Exp, Op and Per; without it, the encoder's own stored answers\n"
               "  -h, --help       show this help\n";
        return ExitOk;
    }
    const auto store = OpenStore(parser.value(settings), true, context.err);
    if (!store)
        return ExitFailure;
    context.out << QString::fromStdString(EncodeGlomieCode(LoadAnswers(*store))) << '\n';
    return ExitOk;
}
