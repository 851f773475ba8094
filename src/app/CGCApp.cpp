#include "app/CGCApp.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTextStream>

#include "app/SplashWindow.h"
#include "app/HelpAndThanks.h"
#include "pages/EncoderSheet.h"
#include "platform/NativeSettings.h"
#include "platform/PrivateFolder.h"
#include "platform/StopSignals.h"
#include "settings/SettingsLayout.h"

namespace {

const char* const Version = "1.12.05";

bool IsSwitch(const QString& argument, QLatin1String name) {
    if (!argument.startsWith(QLatin1Char('-')) && !argument.startsWith(QLatin1Char('/')))
        return false;
    return argument.mid(1).compare(name, Qt::CaseInsensitive) == 0;
}

enum class AfterFailedSave { Retry, CloseWithoutSaving, BackToTheAnswers };

// Says that the answers could not be saved, where and why, and asks what now. The sheet and its
// code stay on the screen behind the message, and after it unless the user closes without saving.
AfterFailedSave AskAfterFailedSave(QWidget& sheet, const QSettingsStore& store) {
    QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(),
                    QCoreApplication::translate("CGCApp", "The answers could not be saved to %1: %2.")
                        .arg(QDir::toNativeSeparators(store.FileName()), store.CommitError()),
                    QMessageBox::NoButton, &sheet);
    box.setInformativeText(QCoreApplication::translate(
        "CGCApp", "Try again once that is mended, or close without saving. Cancel goes back to the "
                  "answers, where the code can still be copied."));
    box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
    box.addButton(QCoreApplication::translate("CGCApp", "Close &Without Saving"),
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

QString OnlyOneCopyMessage() {
    return QCoreApplication::translate("CGCApp",
                                       "Only one copy of the Glomie Code Encoder can be running at a time");
}

} // namespace

StartOptions CGCApp::ParseCommandLine(const QStringList& arguments) {
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
    }
    return options;
}

QString CGCApp::UsageText() {
    return QStringLiteral(
        "usage: glomiecode [-Embedding | -Automation] [--help] [--version] [--print-help-path]\n"
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
        "\n"
        "Anything else on the command line is ignored.\n")
        .arg(NativeSettingsPlace());
}

QString CGCApp::InstanceLockDirectory() {
    // The login's runtime folder when it has one that is truly its own; else a folder of the
    // user's in the per-user cache. Never the shared temporary folder, where another user could
    // take the lock's name first.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && IsPrivateFolder(runtime))
        return runtime;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    const QString own = cache + QStringLiteral("/kvrq");
    // Made private from the start: the default mode may let the user's group write it.
    if (!cache.isEmpty() && !QFileInfo::exists(own) && QDir().mkpath(cache))
        QDir().mkdir(own, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return !cache.isEmpty() && IsPrivateFolder(own) ? own : QString();
}

QString CGCApp::InstanceLockPath(const QString& executablePath, const QString& directory) {
    const QFileInfo executable(executablePath);
    QString canonical = executable.canonicalFilePath();
    if (canonical.isEmpty())
        canonical = QDir::cleanPath(executable.absoluteFilePath());
    const QByteArray hash = QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha256).toHex();
    // The user id keeps two users' copies apart in a shared temporary folder.
    return QDir(directory).filePath(QStringLiteral("glomiecode-%1-%2.lock")
                                        .arg(UserIdForFileNames())
                                        .arg(QString::fromLatin1(hash.left(32))));
}

std::unique_ptr<QLockFile> CGCApp::AcquireInstanceLock(const QString& executablePath,
                                                       const QString& directory,
                                                       QLockFile::LockError* error) {
    auto lock = std::make_unique<QLockFile>(InstanceLockPath(executablePath, directory));
    // A copy that runs for hours keeps its lock; only one whose process is gone loses it.
    lock->setStaleLockTime(0);
    const bool locked = lock->tryLock(0);
    if (error)
        *error = lock->error();
    if (!locked)
        return nullptr;
    return lock;
}

void CGCApp::PrepareSheet(EncoderSheet& sheet, const QString& programDirectory) {
    sheet.SetHelpHandler([programDirectory] { ShowHelp(programDirectory); });
    sheet.m_SMPage.SetThanksHandler(&ShowThanks);
    sheet.SetShownHandler([&sheet] { SplashWindow::ShowSplash(&sheet); });
}

bool CGCApp::RunSheet(QSettingsStore& store, const QString& programDirectory) {
    EncoderSheet sheet;
    PrepareSheet(sheet, programDirectory);
    LoadSettings(store, sheet.Answers());
    sheet.RebuildCode(RebuildAll);
    bool saved = false;
    // OK saves before the sheet closes, so answers that cannot be saved are not lost with it. The
    // store replaces its file in one step: a crash or a failure leaves the previous answers whole.
    sheet.SetAcceptHandler([&] {
        for (;;) {
            SaveSettings(store, sheet.Answers());
            if (store.Commit()) {
                saved = true;
                return true;
            }
            QTextStream(stderr) << QCoreApplication::applicationName() << ": could not save the answers to "
                                << QDir::toNativeSeparators(store.FileName()) << ": " << store.CommitError()
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

int CGCApp::InitInstance(const StartOptions& options, const QString& executablePath,
                         const QString& lockDirectory, const StoreFactory& openStore) {
    const QString name = QFileInfo(executablePath).completeBaseName();
    QCoreApplication::setApplicationName(name);
    QLockFile::LockError lockError = QLockFile::UnknownError;
    std::unique_ptr<QLockFile> lock;
    if (!lockDirectory.isEmpty())
        lock = AcquireInstanceLock(executablePath, lockDirectory, &lockError);
    if (!lock && lockError == QLockFile::LockFailedError) {
        QTextStream(stderr) << name << ": " << OnlyOneCopyMessage() << '\n';
        QMessageBox::warning(nullptr, name, OnlyOneCopyMessage());
        return ExitFailure;
    }
    // No running copy holds it, but it cannot be made: the user is not kept from their answers.
    if (!lock)
        QTextStream(stderr) << name << ": the single-instance lock cannot be made in '"
                            << QDir::toNativeSeparators(lockDirectory) << "'; starting without it\n";
    SplashWindow::SetSplashEnabled(options.ShowSplash);
    const auto store = openStore();
    RunSheet(*store, QFileInfo(executablePath).absolutePath());
    return ExitOk;
}

int CGCApp::Run(int& argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const StartOptions options = ParseCommandLine(arguments);

    if (options.PrintHelp || options.PrintVersion || options.PrintHelpPath) {
        const QCoreApplication application(argc, argv);
        QTextStream out(stdout);
        if (options.PrintHelp)
            out << UsageText();
        if (options.PrintVersion)
            out << "glomiecode " << Version << '\n';
        if (options.PrintHelpPath) {
            const QString help = FindHelpFile(QCoreApplication::applicationDirPath(), QDir::currentPath());
            if (help.isEmpty())
                return ExitFailure;
            out << QDir::toNativeSeparators(help) << '\n';
        }
        return ExitOk;
    }

    // Qt's own options (-style, -reverse, -platform, ...) are ignored like every other argument: Qt
    // is given the program name only.
    int programNameOnly = 1;
    const QApplication application(programNameOnly, argv);
    QCoreApplication::setApplicationVersion(QString::fromLatin1(Version));
    // A stop asked for by the desktop or the user ends the sheet like Cancel: nothing is saved.
    const StopSignals stopSignals;
    const QString executable = QCoreApplication::applicationFilePath();
    return InitInstance(options, executable, InstanceLockDirectory(), [&executable] {
        return QSettingsStore::ForApplication(QFileInfo(executable).completeBaseName());
    });
}
