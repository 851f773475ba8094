// SPDX-License-Identifier: MIT
#include "app/EncoderApp.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTextStream>
#include <array>
#include <climits>
#include <optional>
#include <string_view>

#include "Version.h"
#include "app/BackgroundValue.h"
#include "app/DecoderHandOff.h"
#include "app/HelpAndThanks.h"
#include "app/InstanceLock.h"
#include "app/LocalNetworkLoader.h"
#include "app/SplashWindow.h"
#include "app/StartOptions.h"
#include "pages/EncoderSheet.h"
#include "pages/MessageBoxes.h"
#include "pages/ProgramIcon.h"
#include "platform/DesktopOpen.h"
#include "platform/FileLimit.h"
#include "platform/ParentConsole.h"
#include "platform/StopSignals.h"
#include "settings/SettingsLayout.h"

namespace {

enum class AfterFailedSave { Retry, CloseWithoutSaving, BackToTheAnswers };

// Says that the answers could not be saved, where and why, and asks what now. The sheet and its
// code stay on the screen behind the message, and after it unless the user closes without saving.
AfterFailedSave AskAfterFailedSave(QWidget& sheet, const SettingsStore& store) {
    QMessageBox box(QMessageBox::Warning, ProgramTitle(),
                    QCoreApplication::translate("EncoderApp", "The answers could not be saved to %1: %2.")
                        .arg(QDir::toNativeSeparators(store.fileName()), store.commitError()),
                    QMessageBox::NoButton, &sheet);
    PrepareDialog(box);
    box.setInformativeText(QCoreApplication::translate(
        "EncoderApp", "Try again once that is mended, or close without saving. Cancel goes back to the "
                      "answers, where the code can still be copied."));
    box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
    box.addButton(QCoreApplication::translate("EncoderApp", "Close &Without Saving"),
                  QMessageBox::DestructiveRole);
    box.setDefaultButton(QMessageBox::Retry);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    if (box.standardButton(box.clickedButton()) == QMessageBox::Retry)
        return AfterFailedSave::Retry;
    return box.clickedButton() && box.buttonRole(box.clickedButton()) == QMessageBox::DestructiveRole
               ? AfterFailedSave::CloseWithoutSaving
               : AfterFailedSave::BackToTheAnswers;
}

// Where the sheet was left, kept beside the answers in a group of its own: the place and size of its
// inside, without the window manager's frame (which the frame's place would not bring back on X11,
// where the frame is not known before the window is shown). Nothing when it has never been kept.
constexpr std::string_view kPlaceGroup = "Window";
constexpr std::array<std::string_view, 4> kPlaceValues = {"X", "Y", "Width", "Height"};

QRect LoadPlace(ProfileStore& store) {
    std::array<int32_t, 4> place{};
    for (size_t i = 0; i < place.size(); ++i) {
        place[i] = store.getProfileInt(kPlaceGroup, kPlaceValues[i], INT32_MIN);
        if (place[i] == INT32_MIN)
            return {};
    }
    return {place[0], place[1], place[2], place[3]};
}

void SavePlace(ProfileStore& store, const QWidget& sheet) {
    const QRect shown = sheet.geometry();
    const std::array<int32_t, 4> place = {shown.x(), shown.y(), shown.width(), shown.height()};
    for (size_t i = 0; i < place.size(); ++i)
        store.writeProfileInt(kPlaceGroup, kPlaceValues[i], place[i]);
}

// The sheet, or the message or dialog in front of it, comes to the front and takes the focus.
void BringToFront(QWidget& sheet) {
    if (sheet.isMinimized())
        sheet.showNormal();
    QWidget* front = QApplication::activeModalWidget();
    if (!front || !(front == &sheet || sheet.isAncestorOf(front)))
        front = &sheet;
    front->raise();
    front->activateWindow();
}

QString OnlyOneCopyMessage() {
    return QCoreApplication::translate("EncoderApp",
                                       "Only one copy of the Glomie Code Encoder can be running at a time");
}

} // namespace

void EncoderApp::prepareSheet(EncoderSheet& sheet, const QString& programDirectory, DecoderHandOff& handOff,
                              Splash& splash, const DesktopOpener& open) {
    sheet.setHelpHandler([&sheet, programDirectory, open] { ShowHelp(sheet, programDirectory, open); });
    sheet.setThanksHandler(&ShowThanks);
    sheet.setDecodeHandler([&handOff](QWidget& page, const QString& code) { handOff.handOff(page, code); });
    sheet.addShownHandler([&sheet, &splash] { splash.show(&sheet); });
}

bool EncoderApp::saveSheet(SettingsStore& store, const EncoderSheet& sheet) {
    SaveSettings(store, sheet.answers());
    SavePlace(store, sheet);
    return store.commit();
}

bool EncoderApp::runSheet(SettingsStore& store, const QString& programDirectory, bool showSplash,
                          InstanceLock* lock) {
    DecoderHandOff handOff;
    // The pictures of the window's icon are read on a thread of their own while the sheet is being
    // built; the splash's only once the sheet is on the screen.
    BackgroundValue<std::vector<QImage>> iconPictures(&ReadProgramIconPictures);
    Splash splash(showSplash);
    EncoderSheet sheet(nullptr, [&iconPictures] { return ProgramIcon(iconPictures.value()); });
    prepareSheet(sheet, programDirectory, handOff, splash);
    // Heard from once the sheet is on the screen and settled: a later copy asks only after its user
    // has read its message.
    if (lock)
        sheet.addSettledHandler(
            [&sheet, lock] { lock->listenForLaterCopies([&sheet] { BringToFront(sheet); }); });
    AnswerSet answers;
    LoadSettings(store, answers);
    sheet.setAnswers(answers);
    sheet.setPlace(LoadPlace(store));
    bool saved = false;
    // OK saves before the sheet closes, so answers that cannot be saved are not lost with it. The
    // store replaces its file in one step: a crash or a failure leaves the previous answers whole.
    sheet.setAcceptHandler([&] {
        for (;;) {
            if (saveSheet(store, sheet)) {
                saved = true;
                return true;
            }
            QTextStream(stderr) << QCoreApplication::applicationName() << ": could not save the answers to "
                                << QDir::toNativeSeparators(store.fileName()) << ": " << store.commitError()
                                << '\n';
            switch (AskAfterFailedSave(sheet, store)) {
            case AfterFailedSave::Retry:
                continue;
            case AfterFailedSave::CloseWithoutSaving:
                return true;
            case AfterFailedSave::BackToTheAnswers:
                return false;
            }
        }
    });
    sheet.exec();
    return saved;
}

int EncoderApp::initInstance(const StartOptions& options, const QString& executablePath,
                             const QString& lockFolder, const StoreFactory& openStore) {
    const QString name = QFileInfo(executablePath).completeBaseName();
    QCoreApplication::setApplicationName(name);
    std::optional<InstanceLock> lock;
    if (!lockFolder.isEmpty())
        lock.emplace(executablePath, lockFolder);
    const bool locked = lock && lock->acquire();
    if (!locked && lock && lock->error() == QLockFile::LockFailedError) {
        QTextStream(stderr) << name << ": " << OnlyOneCopyMessage() << '\n';
        ShowMessage(nullptr, QMessageBox::Warning, OnlyOneCopyMessage());
        // Then the copy that runs comes to the front, above whatever covered it.
        LetAnotherProgramComeForward();
        lock->askHolderToComeForward();
        return ExitFailure;
    }
    // No running copy holds it, but it cannot be made: the user is not kept from their answers.
    if (!locked)
        QTextStream(stderr) << name << ": the single-instance lock cannot be made in '"
                            << QDir::toNativeSeparators(lockFolder) << "'; starting without it\n";
    const auto store = openStore();
    runSheet(*store, QFileInfo(executablePath).absolutePath(), options.ShowSplash, locked ? &*lock : nullptr);
    return ExitOk;
}

int EncoderApp::run(int& argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const StartOptions options = StartOptions::parse(arguments);

    if (!options.UnknownOptions.isEmpty()) {
        AttachToParentConsole();
        const QCoreApplication application(argc, argv);
        QTextStream err(stderr);
        err << "glomiecode: unknown option '" << options.UnknownOptions.first() << "'\n"
            << StartOptions::usageText();
        return ExitUsage;
    }
    if (options.PrintHelp || options.PrintVersion || options.PrintHelpPath || options.PrintModulePath) {
        // On Windows the encoder is a GUI program, started without a console: what it prints goes
        // to the console it was started from, if any.
        AttachToParentConsole();
        const QCoreApplication application(argc, argv);
        QTextStream out(stdout);
        if (options.PrintHelp)
            out << StartOptions::usageText();
        if (options.PrintVersion)
            out << "glomiecode " << kProgramVersion << '\n';
        // A file's path, or failure when there is none.
        const auto printPath = [&out](const QString& path) {
            if (!path.isEmpty())
                out << QDir::toNativeSeparators(path) << '\n';
            return !path.isEmpty();
        };
        if (options.PrintHelpPath &&
            !printPath(FindHelpFile(QCoreApplication::applicationDirPath(), QDir::currentPath())))
            return ExitFailure;
        if (options.PrintModulePath && !printPath(LocalNetworkModulePath()))
            return ExitFailure;
        return ExitOk;
    }

    // Files enough for the program's own work whatever happens on its decoder page's port.
    RaiseOpenFileLimit();
    // Qt's own options (-style, -reverse, -platform, ...) are ignored like every other argument: Qt
    // is given the program name only.
    int programNameOnly = 1;
    const QApplication application(programNameOnly, argv);
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kProgramVersion));
    // A stop asked for by the desktop or the user ends the sheet like Cancel: nothing is saved.
    const StopSignals stopSignals;
    const QString executable = QCoreApplication::applicationFilePath();
    return initInstance(options, executable, InstanceLock::defaultFolder(), [&executable] {
        return SettingsStore::forApplication(QFileInfo(executable).completeBaseName());
    });
}
