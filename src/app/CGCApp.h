#pragma once

#include <QApplication>
#include <QLockFile>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "store/QSettingsStore.h"

class EncoderSheet;

// What the command line asks for. Only the splash switches reach the sheet; the rest print and end.
struct StartOptions {
    bool ShowSplash = true;
    bool PrintHelp = false;
    bool PrintVersion = false;
    bool PrintHelpPath = false;
};

// The encoder's whole life: the single-instance rule, the splash, the settings, the modal sheet.
class CGCApp {
  public:
    // Exit statuses of the encoder.
    enum ExitStatus : int { ExitOk = 0, ExitFailure = 1 }; // failure: a refused second copy, no help file

    // Reads the arguments (without the program name). "Embedding" and "Automation" after "/" or "-",
    // in any letter case, suppress the splash; --help, --version and --print-help-path print and end;
    // everything else is ignored.
    static StartOptions ParseCommandLine(const QStringList& arguments);
    static QString UsageText();

    // Where the instance locks live: a folder only the user can write (the login's runtime folder,
    // else one in the user's cache, made when missing); empty when there is no such folder.
    static QString InstanceLockDirectory();
    // The lock of one executable file: named after a hash of its canonical path, so a copy under
    // another name or in another folder has a lock of its own.
    static QString InstanceLockPath(const QString& executablePath, const QString& directory);
    // Takes the lock, or returns null when a running copy holds it (error: LockFailedError) or it
    // cannot be made. A lock left by a copy whose process is gone is taken over.
    static std::unique_ptr<QLockFile> AcquireInstanceLock(const QString& executablePath,
                                                          const QString& directory,
                                                          QLockFile::LockError* error = nullptr);

    // Gives the sheet its help, thanks and splash; help is looked for from programDirectory.
    static void PrepareSheet(EncoderSheet& sheet, const QString& programDirectory);

    // Loads the answers, runs the sheet modally and saves every answer on OK, nothing otherwise.
    // When they cannot be saved, the sheet stays open and the user is asked whether to try again,
    // close without saving or go back to the answers. Returns whether the answers were saved.
    static bool RunSheet(QSettingsStore& store, const QString& programDirectory);

    using StoreFactory = std::function<std::unique_ptr<QSettingsStore>()>;
    // The start-up after the command line: refuses a second copy (with a message, without touching
    // the settings), then runs the sheet with the store that openStore gives.
    static int InitInstance(const StartOptions& options, const QString& executablePath,
                            const QString& lockDirectory, const StoreFactory& openStore);

    // main(): the real executable, its own store, its own lock.
    static int Run(int& argc, char** argv);
};
