// SPDX-License-Identifier: MIT
#include <QCommandLineParser>
#include <QFileInfo>

#include "Commands.h"
#include "code/Encode.h"
#include "settings/SettingsLayout.h"

std::unique_ptr<SettingsStore> OpenStore(const QString& settingsFile, bool mustExist, QTextStream& err) {
    if (settingsFile.isEmpty())
        return SettingsStore::forApplication(QStringLiteral("glomiecode"));
    const QFileInfo info(settingsFile);
    if (mustExist && (!info.exists() || !info.isFile() || !info.isReadable())) {
        err << "glomiecode-cli: cannot read settings file '" << ForTerminal(settingsFile) << "'\n";
        return nullptr;
    }
    // A store to write (the reading commands have refused these above): reading a FIFO would wait
    // for ever, a device or a folder is no settings file, and a link that leads nowhere would be
    // replaced rather than followed.
    if ((info.exists() || info.isSymLink()) && !info.isFile()) {
        err << "glomiecode-cli: cannot write the settings '" << ForTerminal(settingsFile)
            << "': not a regular file; nothing was changed\n";
        return nullptr;
    }
    auto store = SettingsStore::forIniFile(settingsFile);
    if (!store->readable()) {
        err << "glomiecode-cli: settings file '" << ForTerminal(settingsFile) << "' is not an INI file\n";
        return nullptr;
    }
    return store;
}

AnswerSet LoadAnswers(ProfileStore& store) {
    AnswerSet answers;
    LoadSettings(store, answers);
    return answers;
}

namespace {

const char kCodeUsage[] = "usage: glomiecode-cli code [--settings FILE [FILE...]] [--with-filename]\n";

} // namespace

int RunCode(CommandContext& context) {
    QCommandLineParser parser;
    const QCommandLineOption settings(QStringLiteral("settings"),
                                      QStringLiteral("Read the answers from FILE, an INI file."),
                                      QStringLiteral("FILE"));
    const QCommandLineOption withName({QStringLiteral("H"), QStringLiteral("with-filename")},
                                      QStringLiteral("Print each file's name before its code."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    parser.addOptions({settings, withName, help});
    // Files after the first are named as arguments: `code --settings *.ini`.
    const bool parsed = parser.parse(QStringList{QStringLiteral("code")} + context.arguments);
    if (!parsed || (!parser.positionalArguments().isEmpty() && !parser.isSet(settings))) {
        context.err << "glomiecode-cli: "
                    << (parser.errorText().isEmpty() ? QStringLiteral("unexpected argument")
                                                     : ForTerminal(parser.errorText()))
                    << '\n'
                    << kCodeUsage;
        return ExitUsage;
    }
    if (parser.isSet(help)) {
        context.out
            << kCodeUsage
            << "\nPrints the Glomie Code of the stored answers, as the encoder builds it at start-up.\n\n"
               "  --settings FILE...   read the answers from FILE, an INI file with the groups SM,\n"
               "                       Fav, Dis, Exp, Op and Per; without it, the encoder's own\n"
               "                       stored answers. With several files, one code a line, in\n"
               "                       their order; a file that cannot be read gives an empty line\n"
               "                       and its reason on the error output, and the others go on\n"
               "  -H, --with-filename  print each file's name and a tab before its code\n"
               "  -h, --help           show this help\n\n"
               "exit status: 0 when every code was printed; 1 when a file could not be read;\n"
               "2 for a wrong option.\n";
        return ExitOk;
    }
    if (const auto refused = RefuseEmptyFileName(parser, settings, context, kCodeUsage))
        return *refused;
    const QStringList files = parser.values(settings) + parser.positionalArguments();
    for (const QString& file : files) {
        if (file.isEmpty()) {
            context.err << "glomiecode-cli: a settings file name is empty\n" << kCodeUsage;
            return ExitUsage;
        }
    }
    if (files.isEmpty()) {
        const auto store = OpenStore(QString(), true, context.err);
        context.out << QString::fromStdString(EncodeGlomieCode(LoadAnswers(*store))) << '\n';
        return ExitOk;
    }
    int status = ExitOk;
    for (const QString& file : files) {
        const auto store = OpenStore(file, true, context.err);
        if (!store)
            status = ExitFailure;
        if (!store && files.size() == 1)
            break;
        if (parser.isSet(withName))
            context.out << file << '\t';
        if (store)
            context.out << QString::fromStdString(EncodeGlomieCode(LoadAnswers(*store)));
        context.out << '\n';
    }
    return status;
}
