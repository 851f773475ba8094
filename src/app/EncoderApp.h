// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "app/DesktopOpener.h"
#include "platform/DesktopOpen.h"
#include "store/SettingsStore.h"

class DecoderHandOff;
class EncoderSheet;
class InstanceLock;
class Splash;
struct StartOptions;

// The encoder's life after the command line: the single-instance rule, the splash, and the run of
// the sheet (the answers loaded, the sheet run modally, every answer saved on OK).
class EncoderApp {
  public:
    // Exit statuses of the encoder.
    // failure: a refused second copy, no help file; usage: an unknown option
    enum ExitStatus : int { ExitOk = 0, ExitFailure = 1, ExitUsage = 2 };

    // Gives the sheet its help, thanks, decoder hand-off and splash; help is looked for from
    // programDirectory and opened with open.
    static void prepareSheet(EncoderSheet& sheet, const QString& programDirectory, DecoderHandOff& handOff,
                             Splash& splash, const DesktopOpener& open = &OpenWithDesktop);

    // What OK saves: every answer and where the sheet is. False when the store could not be written
    // (its commitError() says why); the values stay pending, to be tried again.
    static bool saveSheet(SettingsStore& store, const EncoderSheet& sheet);

    // Loads the answers, runs the sheet modally and saves every answer on OK, nothing otherwise.
    // When they cannot be saved, the sheet stays open and the user is asked whether to try again,
    // close without saving or go back to the answers. Returns whether the answers were saved.
    // The splash comes with the sheet when showSplash. A later copy's request to come forward
    // reaches the sheet through lock, when given.
    static bool runSheet(SettingsStore& store, const QString& programDirectory, bool showSplash,
                         InstanceLock* lock = nullptr);

    using StoreFactory = std::function<std::unique_ptr<SettingsStore>()>;
    // The start-up after the command line: refuses a second copy (with a message, without touching
    // the settings), then runs the sheet with the store that openStore gives. The lock is taken in
    // lockFolder; with none, the sheet runs without it.
    static int initInstance(const StartOptions& options, const QString& executablePath,
                            const QString& lockFolder, const StoreFactory& openStore);

    // main(): the real executable, its own store, its own lock.
    static int run(int& argc, char** argv);
};
