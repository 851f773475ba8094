// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>
#include <memory>
#include <optional>

#include "code/Answers.h"
#include "decoder/Decoder.h"
#include "store/SettingsStore.h"

// What every command gets: its own arguments (after the command name) and the two output streams.
struct CommandContext {
    QStringList arguments;
    QTextStream& out;
    QTextStream& err;
};

// Exit statuses shared by the commands.
enum ExitStatus : int {
    ExitOk = 0,
    ExitFailure = 1, // a file that cannot be read, a text with no code in it
    ExitUsage = 2,   // unknown options or arguments
    ExitPartly = 3,  // a code that was only partly understood
    // The command did its work (import stored the answers) but its report could not be written to
    // the standard output.
    ExitOutputLost = 4,
};

struct Command {
    const char* name;
    const char* synopsis; // shown in the usage text
    int (*run)(CommandContext&);
};

// The store a command works on: the --settings file, or the encoder's own per-user store. Null, with
// a message on err, when a named file does not exist or cannot be read.
std::unique_ptr<SettingsStore> OpenStore(const QString& settingsFile, bool mustExist, QTextStream& err);

// The answers as the encoder loads them at start-up.
AnswerSet LoadAnswers(ProfileStore& store);

int RunCode(CommandContext& context);
int RunDecode(CommandContext& context);
int RunImport(CommandContext& context);

// Shared by decode and import: the decoder on a text's bytes; its problems told on err (or that there is
// no code at all); a command's options parsed with -h/--help added, giving the exit status when the
// command is done already (a wrong option, or the help printed).
DecodeResult DecodeText(const QByteArray& text);
void PrintDecodeProblems(const DecodeResult& result, const QByteArray& text, QTextStream& err);
std::optional<int> ParseCommandLine(QCommandLineParser& parser, const char* command, CommandContext& context,
                                    const char* help);
int RunServe(CommandContext& context);

// Text the user did not write (an argument, a parser's message quoting one) as it may be shown on a
// terminal: control and direction characters and the line and paragraph separators escaped.
QString ForTerminal(const QString& text);
// Whether all that was written to the standard output through out has reached it.
bool StandardOutputWritten(QTextStream& out);
// The usage error for an option that names a file but was given an empty name (an unset variable in
// a script): an empty name never stands for the encoder's own answers. Nothing when every name of
// the options is non-empty.
std::optional<int> RefuseEmptyFileName(const QCommandLineParser& parser, const QCommandLineOption& option,
                                       CommandContext& context, const char* usage);
