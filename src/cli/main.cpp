// SPDX-License-Identifier: MIT
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <iterator>

#include "Commands.h"
#include "Version.h"
#include "text/EscapeControls.h"

namespace {

const Command kCommands[] = {
    {"code", "code [--settings FILE...]   print the code of the stored answers", RunCode},
    {"serve",
     "serve [--port N] [--bind ADDRESS] [--web DIR] [--per-client N]  serve the decoder page over HTTP",
     RunServe},
    {"decode", "decode [--json] [--each-line] [CODE]  say what a code means (CODE or standard input)",
     RunDecode},
    {"import", "import [--settings FILE] CODE  store the answers of a code", RunImport},
};

void PrintUsage(QTextStream& stream) {
    stream << "usage: glomiecode-cli COMMAND [OPTIONS]\n\n"
              "The Glomie Code from the command line. Without --settings, commands use the\n"
              "encoder's own stored answers.\n\ncommands:\n";
    for (const Command& command : kCommands)
        stream << "  " << command.synopsis << '\n';
    stream << "\noptions:\n  -h, --help     show this help\n  -v, --version  show the version\n";
}

// Runs the command the arguments name.
int RunCommandLine(QStringList arguments, QTextStream& out, QTextStream& err) {
    if (arguments.isEmpty()) {
        PrintUsage(err);
        return ExitUsage;
    }
    const QString first = arguments.takeFirst();
    if (first == QLatin1String("--help") || first == QLatin1String("-h") || first == QLatin1String("help")) {
        PrintUsage(out);
        return ExitOk;
    }
    if (first == QLatin1String("--version") || first == QLatin1String("-v")) {
        out << "glomiecode-cli " << kProgramVersion << '\n';
        return ExitOk;
    }
    for (const Command& command : kCommands) {
        if (first == QLatin1String(command.name)) {
            CommandContext context{arguments, out, err};
            return command.run(context);
        }
    }
    err << "glomiecode-cli: unknown command '" << ForTerminal(first) << "'\n";
    PrintUsage(err);
    return ExitUsage;
}

} // namespace

bool StandardOutputWritten(QTextStream& out) {
    out.flush();
    return out.status() == QTextStream::Ok && std::fflush(stdout) == 0 && !std::ferror(stdout);
}

QString ForTerminal(const QString& text) {
    QString shown = QString::fromStdString(EscapeControls(text.toStdString()));
    shown.replace(QChar(0x2028), QStringLiteral("\\u2028")).replace(QChar(0x2029), QStringLiteral("\\u2029"));
    return shown;
}

std::optional<int> RefuseEmptyFileName(const QCommandLineParser& parser, const QCommandLineOption& option,
                                       CommandContext& context, const char* usage) {
    for (const QString& name : parser.values(option)) {
        if (name.isEmpty()) {
            context.err << "glomiecode-cli: --" << option.names().constLast()
                        << " needs a file name, and was given an empty one\n"
                        << usage;
            return ExitUsage;
        }
    }
    return std::nullopt;
}

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("glomiecode-cli"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kProgramVersion));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status = RunCommandLine(QCoreApplication::arguments().mid(1), out, err);
    // Output that never arrived (a full disk, a closed pipe) is a failure, not a result.
    out.flush();
    if (StandardOutputWritten(out))
        return status;
    err << "glomiecode-cli: cannot write to the standard output\n";
    // import has stored the answers all the same: that has a status of its own.
    return status == ExitOutputLost ? ExitOutputLost : ExitFailure;
}
