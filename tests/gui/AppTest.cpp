// SPDX-License-Identifier: MIT
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <sys/stat.h>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

#include "../SaveTrouble.h"
#include "AppTestSupport.h"
#include "GuiTestSupport.h"
#include "app/EncoderApp.h"
#include "app/InstanceLock.h"
#include "app/StartOptions.h"
#include "settings/SettingsLayout.h"

namespace {

const QString OnlyOneCopy =
    QStringLiteral("Only one copy of the Glomie Code Encoder can be running at a time");

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every "section/name" key of an INI file.
// The stored answers' keys: all but the sheet's place, which is kept in a group of its own.
QStringList StoredKeys(const QString& path) {
    QStringList keys = QSettings(path, QSettings::IniFormat).allKeys();
    keys.removeIf([](const QString& key) { return key.startsWith(QLatin1String("Window/")); });
    return keys;
}

QSlider& PrimarySlider(EncoderSheet& sheet) {
    return *sheet.page(0).findChild<QSlider*>(QStringLiteral("Pri"));
}

QPushButton& SheetButton(EncoderSheet& sheet, QDialogButtonBox::StandardButton which) {
    return *sheet.findChild<QDialogButtonBox*>(QStringLiteral("Buttons"))->button(which);
}

// ---------------------------------------------------------------------------------------------
// The command line

struct SwitchCase {
    QStringList Arguments;
    bool ShowSplash;
};

std::ostream& operator<<(std::ostream& os, const SwitchCase& c) {
    return os << (c.Arguments.isEmpty() ? QStringLiteral("no arguments") : c.Arguments.join(QLatin1Char(' ')))
                     .toStdString();
}

class SplashSwitches : public testing::TestWithParam<SwitchCase> {};

TEST_P(SplashSwitches, DecideTheSplashAndNothingElse) {
    const StartOptions options = StartOptions::parse(GetParam().Arguments);
    EXPECT_EQ(options.ShowSplash, GetParam().ShowSplash);
    EXPECT_FALSE(options.PrintHelp);
    EXPECT_FALSE(options.PrintVersion);
    EXPECT_FALSE(options.PrintHelpPath);
    EXPECT_FALSE(options.PrintModulePath);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, SplashSwitches,
    testing::Values(SwitchCase{{}, true}, SwitchCase{{"-Embedding"}, false},
                    SwitchCase{{"/Embedding"}, false}, SwitchCase{{"-EMBEDDING"}, false},
                    SwitchCase{{"/embedding"}, false}, SwitchCase{{"-Automation"}, false},
                    SwitchCase{{"/AUTOMATION"}, false}, SwitchCase{{"-automation"}, false},
                    SwitchCase{{"/p", "answers.txt", "-Embedding"}, false},
                    SwitchCase{{"-Automation", "/pt", "printer"}, false}, SwitchCase{{"/p"}, true},
                    SwitchCase{{"answers.txt"}, true}, SwitchCase{{"/dde", "-Unregserver"}, true},
                    // Only "-" or "/" makes a switch, and the whole word must match.
                    SwitchCase{{"Embedding"}, true}, SwitchCase{{"--Embedding"}, true},
                    SwitchCase{{"-Embeddings"}, true}, SwitchCase{{"-Auto"}, true}));

TEST(CommandLine, HelpVersionAndHelpPathAreAskedFor) {
    EXPECT_TRUE(StartOptions::parse({"--help"}).PrintHelp);
    EXPECT_TRUE(StartOptions::parse({"-h"}).PrintHelp);
    EXPECT_TRUE(StartOptions::parse({"--version"}).PrintVersion);
    EXPECT_TRUE(StartOptions::parse({"--print-help-path"}).PrintHelpPath);
    EXPECT_TRUE(StartOptions::parse({"--print-module-path"}).PrintModulePath);
    const StartOptions both = StartOptions::parse({"-embedding", "--version"});
    EXPECT_TRUE(both.PrintVersion);
    EXPECT_FALSE(both.ShowSplash);
    // A mistyped long option is refused; the switches of other programs are passed over.
    EXPECT_EQ(StartOptions::parse({"--hlep", "-platform", "x", "/p", "--Embedding"}).UnknownOptions,
              QStringList({"--hlep", "--Embedding"}));
    EXPECT_TRUE(StartOptions::parse({"-Embedding", "/dde", "answers.txt"}).UnknownOptions.isEmpty());
}

TEST(CommandLine, TheUsageDescribesEveryOption) {
    const QString usage = StartOptions::usageText();
    for (const char* option : {"-Embedding", "-Automation", "--help", "-h,", "--version", "--print-help-path",
                               "--print-module-path"})
        EXPECT_TRUE(usage.contains(QLatin1String(option))) << option;
}

// ---------------------------------------------------------------------------------------------
// The instance lock, in one process

class SingleInstance : public FolderTest {
  protected:
    void SetUp() override {
        FolderTest::SetUp();
        makeFolders({"locks", "other"});
        m_program = makeFile(QStringLiteral("bin/glomiecode"));
    }
    QString lockDir() const { return m_dir.filePath(QStringLiteral("locks")); }
    // The program's lock, taken; null when it cannot be.
    std::unique_ptr<InstanceLock> acquire(const QString& program) {
        auto lock = std::make_unique<InstanceLock>(program, lockDir());
        return lock->acquire() ? std::move(lock) : nullptr;
    }

    QString m_program;
};

TEST_F(SingleInstance, ASecondCopyIsRefusedUntilTheFirstEnds) {
    auto first = acquire(m_program);
    ASSERT_TRUE(first);
    EXPECT_TRUE(QFileInfo::exists(InstanceLock::lockPath(m_program, lockDir())));
    EXPECT_FALSE(acquire(m_program));
    first.reset();
    EXPECT_FALSE(QFileInfo::exists(InstanceLock::lockPath(m_program, lockDir())));
    EXPECT_TRUE(acquire(m_program));
}

TEST_F(SingleInstance, CopiesUnderAnotherNameOrInAnotherFolderRunBeside) {
    const auto first = acquire(m_program);
    ASSERT_TRUE(first);
    EXPECT_TRUE(acquire(makeFile(QStringLiteral("bin/glomiecode-copy"))));
    EXPECT_TRUE(acquire(makeFile(QStringLiteral("other/glomiecode"))));
}

TEST_F(SingleInstance, TheSameFileReachedByALinkSharesTheLock) {
    const QString link = m_dir.filePath(QStringLiteral("other/link-to-glomiecode"));
    ASSERT_TRUE(QFile::link(m_program, link));
    EXPECT_EQ(InstanceLock::lockPath(link, lockDir()), InstanceLock::lockPath(m_program, lockDir()));
    const auto first = acquire(m_program);
    ASSERT_TRUE(first);
    EXPECT_FALSE(acquire(link));
}

// A copy that has run for hours keeps its lock: only a copy whose process is gone loses it (no
// age limit, and the holder's lock on the open file stops anyone removing it meanwhile).
TEST_F(SingleInstance, ALongRunningCopyKeepsItsLock) {
    const auto first = acquire(m_program);
    ASSERT_TRUE(first);
    QFile lockFile(InstanceLock::lockPath(m_program, lockDir()));
    ASSERT_TRUE(lockFile.open(QIODevice::ReadWrite));
    const QDateTime hoursAgo = QDateTime::currentDateTime().addSecs(-5 * 3600);
    ASSERT_TRUE(lockFile.setFileTime(hoursAgo, QFileDevice::FileModificationTime));
    lockFile.close();
    EXPECT_FALSE(acquire(m_program));
    EXPECT_TRUE(QFileInfo::exists(lockFile.fileName()));
}

// A lock left by an earlier run that had this process's id (Wine gives the same id after a restart)
// is no running copy's; one this process holds open is.
TEST_F(SingleInstance, ALockLeftUnderThisProcessIdIsTakenOver) {
    QFile left(InstanceLock::lockPath(m_program, lockDir()));
    ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    left.write(QStringLiteral("%1\n%2\n%3\n%4\n")
                   .arg(QCoreApplication::applicationPid())
                   .arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName(),
                        QSysInfo::machineHostName(), QString::fromLatin1(QSysInfo::machineUniqueId()))
                   .toUtf8());
    left.close();
    const auto first = acquire(m_program);
    EXPECT_TRUE(first);
    EXPECT_FALSE(acquire(m_program));
}

TEST_F(SingleInstance, LivesInTheGivenFolderWithoutThePathInItsName) {
    const QFileInfo lock(InstanceLock::lockPath(m_program, lockDir()));
    EXPECT_EQ(lock.absolutePath(), QFileInfo(lockDir()).absoluteFilePath());
    EXPECT_FALSE(lock.fileName().contains(QLatin1String("bin")));
    EXPECT_NE(lock.fileName(),
              QFileInfo(InstanceLock::lockPath(m_dir.filePath("other/glomiecode"), lockDir())).fileName());
}

// ---------------------------------------------------------------------------------------------
// The start-up and the settings, with the real sheet run modally

class StartUp : public FolderTest {
  protected:
    void SetUp() override {
        FolderTest::SetUp();
        makeFolders({"locks"});
        m_program = makeFile(QStringLiteral("bin/glomiecode"));
    }
    void TearDown() override { QCoreApplication::setApplicationName(QStringLiteral("glomiecode-tests")); }

    QString settingsPath() const { return m_dir.filePath(QStringLiteral("answers.ini")); }
    QString lockDir() const { return m_dir.filePath(QStringLiteral("locks")); }
    void store(const std::map<QString, int>& values) {
        QSettings settings(settingsPath(), QSettings::IniFormat);
        for (const auto& [key, value] : values)
            settings.setValue(key, value);
    }
    bool run() {
        auto store = SettingsStore::forIniFile(settingsPath());
        return EncoderApp::runSheet(*store, m_dir.filePath(QStringLiteral("bin")), false);
    }
    int start(const QStringList& arguments) {
        return EncoderApp::initInstance(StartOptions::parse(arguments), m_program, lockDir(), [this] {
            ++m_storesOpened;
            return SettingsStore::forIniFile(settingsPath());
        });
    }

    QString m_program;
    int m_storesOpened = 0;
};

TEST_F(StartUp, OkWritesEveryStoredValuePagesNeverShownIncluded) {
    WhenSheetRuns([](EncoderSheet& sheet) {
        PressKey(PrimarySlider(sheet), Qt::Key_Right);
        QTest::mouseClick(&SheetButton(sheet, QDialogButtonBox::Ok), Qt::LeftButton);
    });
    EXPECT_TRUE(run());
    const QStringList keys = StoredKeys(settingsPath());
    EXPECT_EQ(static_cast<size_t>(keys.size()), StoredValueCount());
    QSettings stored(settingsPath(), QSettings::IniFormat);
    EXPECT_EQ(stored.value("SM/Pri").toInt(), 16);
    // Defaults of pages that were never shown are written as loaded.
    EXPECT_EQ(stored.value("Per/OmitAge").toInt(), 1);
    EXPECT_EQ(stored.value("Exp/IntensityRaw").toInt(), 4);
    EXPECT_EQ(stored.value("Dis/TrendPart1").toInt(), 1);
    EXPECT_EQ(stored.value("Op/OmitMixx").toInt(), 1);
}

// OK keeps where the sheet was and how large, beside the answers; the next start opens it there when
// it still fits the screen, and as large as its pages otherwise.
struct PlaceCase {
    const char* Name;
    QRect Left;     // where the first run leaves the sheet (its geometry)
    bool ComesBack; // whether the second run opens it there
};

std::ostream& operator<<(std::ostream& os, const PlaceCase& c) {
    return os << c.Name;
}

class SheetPlace : public StartUp, public testing::WithParamInterface<PlaceCase> {};

TEST_P(SheetPlace, IsKeptOnOkAndTakenWhenItFits) {
    const PlaceCase& c = GetParam();
    QSize firstSize;
    WhenSheetRuns([&](EncoderSheet& sheet) {
        firstSize = sheet.size();
        sheet.setGeometry(c.Left);
        sheet.accept();
    });
    EXPECT_TRUE(run());
    QSettings stored(settingsPath(), QSettings::IniFormat);
    EXPECT_EQ(stored.value("Window/Width").toInt(), c.Left.width());
    EXPECT_EQ(stored.value("Window/Height").toInt(), c.Left.height());
    EXPECT_EQ(stored.value("Window/X").toInt(), c.Left.x());

    QRect second;
    WhenSheetRuns([&](EncoderSheet& sheet) {
        second = sheet.geometry();
        sheet.reject();
    });
    run();
    if (c.ComesBack)
        EXPECT_EQ(second, c.Left);
    else
        EXPECT_EQ(second.size(), firstSize) << "the size of a first start";
}

INSTANTIATE_TEST_SUITE_P(StartUp, SheetPlace,
                         testing::Values(PlaceCase{"Fits", QRect(20, 30, 700, 500), true},
                                         PlaceCase{"OffTheScreen", QRect(5000, 30, 700, 500), false},
                                         PlaceCase{"LargerThanTheScreen", QRect(0, 0, 3000, 2000), false}),
                         [](const testing::TestParamInfo<PlaceCase>& info) {
                             return std::string(info.param.Name);
                         });

TEST_F(StartUp, ASixteenBitTuneStoredAs65535LoadsAsMinusOneAndIsWrittenBackAsMinusOne) {
    store({{"Fav/BoostSenshi0", 65535}, {"Exp/Years", 0x1FFFF}, {"SM/Pri", 7}});
    int16_t loadedBoost = 0;
    int16_t loadedYears = 0;
    WhenSheetRuns([&](EncoderSheet& sheet) {
        loadedBoost = sheet.answers().Favorites.BoostSenshi0;
        loadedYears = sheet.answers().Experience.Years;
        sheet.accept();
    });
    EXPECT_TRUE(run());
    EXPECT_EQ(loadedBoost, -1);
    EXPECT_EQ(loadedYears, -1);
    QSettings stored(settingsPath(), QSettings::IniFormat);
    EXPECT_EQ(stored.value("Fav/BoostSenshi0").toString(), "-1");
    EXPECT_EQ(stored.value("Exp/Years").toString(), "-1");
    EXPECT_EQ(stored.value("SM/Pri").toInt(), 7);
}

// The three ways of leaving without OK.
struct CancelCase {
    const char* Name;
    std::function<void(EncoderSheet&)> Leave;
};

std::ostream& operator<<(std::ostream& os, const CancelCase& c) {
    return os << c.Name;
}

class CancelWritesNothing : public StartUp, public testing::WithParamInterface<CancelCase> {};

TEST_P(CancelWritesNothing, OnAFirstRun) {
    WhenSheetRuns([this](EncoderSheet& sheet) {
        PressKey(PrimarySlider(sheet), Qt::Key_Right, 3);
        ASSERT_EQ(sheet.answers().Obsession.Pri, 18);
        GetParam().Leave(sheet);
    });
    EXPECT_FALSE(run());
    EXPECT_FALSE(QFileInfo::exists(settingsPath()));
}

TEST_P(CancelWritesNothing, OverEarlierAnswers) {
    store({{"SM/Pri", 20}, {"Fav/Senshi0", 3}});
    const QByteArray before = ReadFile(settingsPath());
    WhenSheetRuns([this](EncoderSheet& sheet) {
        PressKey(PrimarySlider(sheet), Qt::Key_Left);
        ASSERT_EQ(sheet.answers().Obsession.Pri, 19);
        GetParam().Leave(sheet);
    });
    EXPECT_FALSE(run());
    EXPECT_EQ(ReadFile(settingsPath()), before);
}

INSTANTIATE_TEST_SUITE_P(
    StartUp, CancelWritesNothing,
    testing::Values(CancelCase{"CancelButton",
                               [](EncoderSheet& sheet) {
                                   QTest::mouseClick(&SheetButton(sheet, QDialogButtonBox::Cancel),
                                                     Qt::LeftButton);
                               }},
                    CancelCase{
                        "Escape",
                        [](EncoderSheet& sheet) { QTest::keyClick(&PrimarySlider(sheet), Qt::Key_Escape); }},
                    CancelCase{"CloseBox", [](EncoderSheet& sheet) { sheet.close(); }}),
    [](const testing::TestParamInfo<CancelCase>& info) { return std::string(info.param.Name); });

// The answers are replaced in one step (a new file renamed over the old one), so a program that dies
// while saving leaves the previous answers whole. The encoder's own store is used here.
// Points the per-user store at a folder for as long as it lives.
class UserSettingsIn {
  public:
    explicit UserSettingsIn(const QString& folder) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    }
    ~UserSettingsIn() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    }
    UserSettingsIn(const UserSettingsIn&) = delete;
    UserSettingsIn& operator=(const UserSettingsIn&) = delete;
};

TEST_F(StartUp, SavingReplacesTheSettingsFileInOneStep) {
    const QString configHome = m_dir.filePath(QStringLiteral("config"));
    const UserSettingsIn settingsFolder(configHome);
    const QString file = configHome + QStringLiteral("/kvrq/glomiecode-atomic.conf");
    {
        auto store = SettingsStore::forApplication(QStringLiteral("glomiecode-atomic"));
        ASSERT_EQ(store->fileName(), file);
        ASSERT_TRUE(store->writeProfileInt("SM", "Pri", 3));
        ASSERT_TRUE(store->commit());
    }
    const QByteArray before = ReadFile(file);
    // A second name for the old file: an in-place write would show through it.
    const QString oldFile = m_dir.filePath(QStringLiteral("old.conf"));
    ASSERT_EQ(::link(QFile::encodeName(file).constData(), QFile::encodeName(oldFile).constData()), 0);

    WhenSheetRuns([](EncoderSheet& sheet) {
        PressKey(PrimarySlider(sheet), Qt::Key_Right);
        sheet.accept();
    });
    auto store = SettingsStore::forApplication(QStringLiteral("glomiecode-atomic"));
    EXPECT_TRUE(EncoderApp::runSheet(*store, m_dir.path(), false));
    store.reset();

    struct stat newStat {};
    struct stat oldStat {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &newStat), 0);
    ASSERT_EQ(::stat(QFile::encodeName(oldFile).constData(), &oldStat), 0);
    EXPECT_NE(newStat.st_ino, oldStat.st_ino);
    EXPECT_EQ(ReadFile(oldFile), before);
    EXPECT_EQ(QSettings(file, QSettings::IniFormat).value("SM/Pri").toInt(), 4);
    EXPECT_EQ(static_cast<size_t>(StoredKeys(file).size()), StoredValueCount());
    // Nothing is left behind in the folder but the file itself.
    EXPECT_EQ(QDir(configHome + QStringLiteral("/kvrq")).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList{QStringLiteral("glomiecode-atomic.conf")});
}

// OK when the answers cannot be saved: a regular file stands where the settings folder should be,
// which no user, root included, can write through; or, over earlier answers, which stay as they were,
// the disk is full (4 KiB left; not as root, where no small disk can be mounted, a limit on the size
// of files stands in) or no file descriptor is left. The message says why; what the user answers to
// it decides.
enum class SaveObstacle { FileForFolder, FullDisk, NoDescriptors };

struct FailedSaveCase {
    const char* Name;
    QMessageBox::ButtonRole Answer; // Retry, Close Without Saving, Cancel
    bool Saved;
    bool SheetStaysOpen;
    SaveObstacle Obstacle = SaveObstacle::FileForFolder;
};

std::ostream& operator<<(std::ostream& os, const FailedSaveCase& c) {
    return os << c.Name;
}

class FailedSave : public StartUp, public testing::WithParamInterface<FailedSaveCase> {};

TEST_P(FailedSave, KeepsTheSheetAndItsCodeUntilTheUserDecides) {
#ifdef GLOMIE_SANITIZE
    // UndefinedBehaviorSanitizer checks a call or a cast it has not seen before with a pipe of its
    // own, so with no descriptor left it reports every such call as a bad one.
    if (GetParam().Obstacle == SaveObstacle::NoDescriptors)
        GTEST_SKIP() << "the sanitizers need descriptors of their own";
#endif
    const QString blocker = makeFile(QStringLiteral("blocked"));
    QString settingsPath = blocker + QStringLiteral("/answers.ini");
    const QString disk = m_dir.filePath(QStringLiteral("disk"));
    std::optional<SmallFileSystem> smallDisk;
    std::optional<FileSizeLimit> sizeLimit;
    std::optional<NoFreeDescriptors> noDescriptors;
    QByteArray before;
    QString reason;
    if (GetParam().Obstacle != SaveObstacle::FileForFolder) {
        makeFolders({"disk"});
        if (GetParam().Obstacle == SaveObstacle::FullDisk && RunningAsRoot()) {
            smallDisk.emplace(disk, 32);
            if (!smallDisk->mounted())
                GTEST_SKIP() << "no tmpfs could be mounted";
        }
        settingsPath = disk + QStringLiteral("/answers.ini");
        before = "[SM]\nPri=3\n";
        QFile file(settingsPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(before), before.size());
        file.close();
        if (GetParam().Obstacle == SaveObstacle::NoDescriptors) {
            reason = QStringLiteral("Too many open files");
        } else if (smallDisk) {
            ASSERT_TRUE(LeaveFree(disk, QStringLiteral("filler"), 4));
            reason = QStringLiteral("No space left on device");
        } else {
            sizeLimit.emplace(1);
            ASSERT_TRUE(sizeLimit->set());
            reason = QStringLiteral("File too large");
        }
    }
    QString asked, codeShown, codeWhileAsked;
    bool shownWhileAsked = false, openAfterwards = false;
    int primary = 0;
    WhenSheetRuns([&](EncoderSheet& sheet) {
        PressKey(PrimarySlider(sheet), Qt::Key_Right);
        primary = sheet.answers().Obsession.Pri;
        codeShown = CodeBox::withoutMarks(sheet.page(0).codeBox()->toPlainText());
        QTimer::singleShot(10, [&] {
            noDescriptors.reset();
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            asked = box->text();
            shownWhileAsked = sheet.isVisible();
            codeWhileAsked = CodeBox::withoutMarks(sheet.page(0).codeBox()->toPlainText());
            if (GetParam().Answer == QMessageBox::AcceptRole) { // mended before trying again
                ASSERT_TRUE(QFile::remove(blocker));
                ASSERT_TRUE(QDir().mkpath(blocker));
                if (smallDisk) {
                    ASSERT_TRUE(QFile::remove(disk + QStringLiteral("/filler")));
                }
                sizeLimit.reset();
            }
            for (QAbstractButton* button : box->buttons())
                if (box->buttonRole(button) == GetParam().Answer)
                    QTest::mouseClick(button, Qt::LeftButton);
        });
        if (GetParam().Obstacle == SaveObstacle::NoDescriptors) {
            // A large first paint starts the drawing threads, each with an event loop that needs a
            // descriptor: they start here, while there are descriptors to give.
            sheet.grab();
            noDescriptors.emplace();
            ASSERT_TRUE(noDescriptors->taken());
        }
        QTest::mouseClick(&SheetButton(sheet, QDialogButtonBox::Ok), Qt::LeftButton);
        openAfterwards = sheet.isVisible();
        if (openAfterwards)
            sheet.reject();
    });
    auto store = SettingsStore::forIniFile(settingsPath);
    EXPECT_EQ(EncoderApp::runSheet(*store, m_dir.filePath(QStringLiteral("bin")), false), GetParam().Saved);
    EXPECT_TRUE(asked.contains(QStringLiteral("could not be saved"))) << asked.toStdString();
    EXPECT_TRUE(asked.contains(QDir::toNativeSeparators(settingsPath))) << asked.toStdString();
    EXPECT_TRUE(asked.contains(reason)) << asked.toStdString();
    EXPECT_TRUE(shownWhileAsked);
    EXPECT_EQ(codeWhileAsked, codeShown);
    EXPECT_EQ(openAfterwards, GetParam().SheetStaysOpen);
    store.reset();
    sizeLimit.reset();
    if (GetParam().Saved) {
        EXPECT_EQ(QSettings(settingsPath, QSettings::IniFormat).value("SM/Pri").toInt(), primary);
        EXPECT_EQ(static_cast<size_t>(StoredKeys(settingsPath).size()), StoredValueCount());
    } else {
        EXPECT_EQ(ReadFile(settingsPath), before);
    }
    if (smallDisk) { // nothing but the settings file and the filler
        EXPECT_EQ(QDir(disk).entryList(QDir::Files | QDir::Hidden | QDir::System).size(),
                  GetParam().Saved ? 1 : 2);
    }
}

INSTANTIATE_TEST_SUITE_P(
    StartUp, FailedSave,
    testing::Values(FailedSaveCase{"TryAgain", QMessageBox::AcceptRole, true, false},
                    FailedSaveCase{"CloseWithoutSaving", QMessageBox::DestructiveRole, false, false},
                    FailedSaveCase{"BackToTheAnswers", QMessageBox::RejectRole, false, true},
                    FailedSaveCase{"FullDiskBackToTheAnswers", QMessageBox::RejectRole, false, true,
                                   SaveObstacle::FullDisk},
                    FailedSaveCase{"FullDiskTryAgainWithRoomMade", QMessageBox::AcceptRole, true, false,
                                   SaveObstacle::FullDisk},
                    FailedSaveCase{"NoDescriptorsBackToTheAnswers", QMessageBox::RejectRole, false, true,
                                   SaveObstacle::NoDescriptors}),
    [](const testing::TestParamInfo<FailedSaveCase>& info) { return std::string(info.param.Name); });

TEST_F(StartUp, ASecondCopyIsRefusedWithoutTouchingTheSettings) {
    InstanceLock running(m_program, lockDir());
    ASSERT_TRUE(running.acquire());
    BoxCatcher boxes;
    EXPECT_EQ(start({}), EncoderApp::ExitFailure);
    EXPECT_EQ(m_storesOpened, 0);
    EXPECT_FALSE(QFileInfo::exists(settingsPath()));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    const ShownBox& box = boxes.boxes().front();
    EXPECT_EQ(box.Text, OnlyOneCopy);
    EXPECT_EQ(box.Caption, "Glomie Code Encoder"); // the program's name, not its file's
    EXPECT_EQ(box.Icon, QMessageBox::Warning);
    EXPECT_EQ(box.Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

TEST_F(StartUp, TheFirstCopyRunsTheSheetWithTheStoreAndHoldsTheLockMeanwhile) {
    bool lockedMeanwhile = false;
    WhenSheetRuns([&](EncoderSheet& sheet) {
        lockedMeanwhile = !InstanceLock(m_program, lockDir()).acquire();
        sheet.accept();
    });
    EXPECT_EQ(start({}), EncoderApp::ExitOk);
    EXPECT_EQ(m_storesOpened, 1);
    EXPECT_TRUE(lockedMeanwhile);
    EXPECT_EQ(static_cast<size_t>(StoredKeys(settingsPath()).size()), StoredValueCount());
    EXPECT_EQ(QCoreApplication::applicationName(), "glomiecode");
    // The lock goes with the copy.
    EXPECT_TRUE(InstanceLock(m_program, lockDir()).acquire());
}

class SplashAtStartUp : public StartUp, public testing::WithParamInterface<SwitchCase> {};

TEST_P(SplashAtStartUp, ShowsUnlessSwitchedOff) {
    bool splashShown = false;
    WhenSheetRuns([&](EncoderSheet& sheet) {
        splashShown = SplashOnScreen() != nullptr;
        sheet.reject();
    });
    EXPECT_EQ(start(GetParam().Arguments), EncoderApp::ExitOk);
    EXPECT_EQ(splashShown, GetParam().ShowSplash);
}

INSTANTIATE_TEST_SUITE_P(StartUp, SplashAtStartUp,
                         testing::Values(SwitchCase{{}, true}, SwitchCase{{"-Embedding"}, false},
                                         SwitchCase{{"/automation"}, false},
                                         SwitchCase{{"-EMBEDDING"}, false}, SwitchCase{{"/p"}, true},
                                         SwitchCase{{"answers.txt"}, true}));

// ---------------------------------------------------------------------------------------------
// The splash window over the real sheet

class SplashOverSheet : public SheetTest {
  protected:
    EncoderSheet& openWithSplash() {
        EncoderSheet& sheet = openSheet();
        m_splash.show(&sheet);
        EXPECT_TRUE(m_splash.window());
        return sheet;
    }
    bool gone() const {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return !m_splash.window() && !SplashOnScreen();
    }

    Splash m_splash{true};
};
TEST_F(SplashOverSheet, IsAFramelessPictureCentredOverTheSheet) {
    EncoderSheet& sheet = openWithSplash();
    SplashWindow* splash = m_splash.window();
    ASSERT_TRUE(splash);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->size(), QSize(500, 572));
    EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(splash->parentWidget(), &sheet);
    const QPoint offset = splash->frameGeometry().center() - sheet.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2);
    // It shows a picture, not an empty window.
    const QImage shown = splash->grab().toImage();
    EXPECT_NE(shown.pixelColor(250, 10), shown.pixelColor(250, 300));
    // Shown once only.
    m_splash.show(&sheet);
    EXPECT_EQ(m_splash.window(), splash);
}

TEST_F(SplashOverSheet, GoesAfterTwoSeconds) {
    openWithSplash();
    auto* timer = m_splash.window()->findChild<QTimer*>(QStringLiteral("SplashTimer"));
    ASSERT_TRUE(timer);
    EXPECT_TRUE(timer->isActive());
    EXPECT_TRUE(timer->isSingleShot());
    EXPECT_EQ(timer->interval(), 2000);
    EXPECT_TRUE(m_splash.window());
    EXPECT_TRUE(QTest::qWaitFor([this] { return gone(); }, 10000));
}

TEST_F(SplashOverSheet, TheFirstKeyPressOnlyRemovesIt) {
    EncoderSheet& sheet = openWithSplash();
    QSlider& primary = PrimarySlider(sheet);
    PressKey(primary, Qt::Key_Right);
    EXPECT_TRUE(gone());
    EXPECT_EQ(sheet.answers().Obsession.Pri, 15);
    EXPECT_EQ(primary.value(), 15);
    PressKey(primary, Qt::Key_Right);
    EXPECT_EQ(sheet.answers().Obsession.Pri, 16);
}

TEST_F(SplashOverSheet, EscapeWhileItIsUpDoesNotCloseTheSheet) {
    EncoderSheet& sheet = openWithSplash();
    QTest::keyClick(&PrimarySlider(sheet), Qt::Key_Escape);
    EXPECT_TRUE(gone());
    EXPECT_TRUE(sheet.isVisible());
    QTest::keyClick(&PrimarySlider(sheet), Qt::Key_Escape);
    EXPECT_FALSE(sheet.isVisible());
}

// A key bound to a shortcut reaches the shortcut before any widget sees it; it must be taken too.
TEST_F(SplashOverSheet, AShortcutKeyWhileItIsUpDoesNothing) {
    EncoderSheet& sheet = openWithSplash();
    QApplication::setActiveWindow(&sheet);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
    int triggered = 0;
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F5), &sheet);
    QObject::connect(shortcut, &QShortcut::activated, [&triggered] { ++triggered; });
    QTest::keyClick(&PrimarySlider(sheet), Qt::Key_F5);
    EXPECT_TRUE(gone());
    EXPECT_EQ(triggered, 0);
    QTest::keyClick(&PrimarySlider(sheet), Qt::Key_F5);
    EXPECT_EQ(triggered, 1);
}

TEST_F(SplashOverSheet, TheFirstClickOnlyRemovesIt) {
    EncoderSheet& sheet = openWithSplash();
    auto& secondary = find<QCheckBox>(sheet.page(0), "ChkSec");
    QTest::mouseClick(&secondary, Qt::LeftButton);
    EXPECT_TRUE(gone());
    EXPECT_FALSE(secondary.isChecked());
    QTest::mouseClick(&secondary, Qt::LeftButton);
    EXPECT_TRUE(secondary.isChecked());
    EXPECT_EQ(sheet.answers().Obsession.ChkSec, 1);
}

TEST_F(SplashOverSheet, AClickOnThePictureRemovesIt) {
    openWithSplash();
    QTest::mouseClick(m_splash.window(), Qt::LeftButton);
    EXPECT_TRUE(gone());
}

TEST_F(SplashOverSheet, AMissingPictureShowsNothingAndSaysNothing) {
    EncoderSheet& sheet = openSheet();
    BoxCatcher boxes;
    m_splash.show(&sheet, m_dir.filePath(QStringLiteral("no-such-picture.svg")));
    QTest::qWait(50);
    EXPECT_FALSE(m_splash.window());
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(SplashOverSheet, SwitchedOffShowsNothing) {
    EncoderSheet& sheet = openSheet();
    Splash switchedOff(false);
    switchedOff.show(&sheet);
    EXPECT_FALSE(switchedOff.window());
    EXPECT_FALSE(SplashOnScreen());
}

TEST_F(SplashOverSheet, ComesWithTheFirstShowingOfThePreparedSheetOnly) {
    DecoderHandOff handOff;
    EncoderSheet sheet;
    EncoderApp::prepareSheet(sheet, m_dir.path(), handOff, m_splash);
    sheet.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
    ASSERT_TRUE(m_splash.window());
    m_splash.hide();
    sheet.hide();
    sheet.show();
    EXPECT_FALSE(m_splash.window());
}

// ---------------------------------------------------------------------------------------------
// The real program in processes of its own

#ifdef GLOMIECODE_EXE

// A private home, configuration and runtime folder for started copies, so they never meet the user's.
class RealProgram : public FolderTest {
  protected:
    void SetUp() override {
        FolderTest::SetUp();
        makeFolders({"home", "config", "runtime", "tmp"});
        QFile::setPermissions(m_dir.filePath("runtime"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void TearDown() override {
        for (auto& process : m_processes) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
    }

    QProcess& start(const QString& program = QStringLiteral(GLOMIECODE_EXE),
                    const QStringList& arguments = {"-Embedding"},
                    const std::function<void(QProcessEnvironment&)>& adjust = {}) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("HOME", m_dir.filePath("home"));
        environment.insert("XDG_CONFIG_HOME", m_dir.filePath("config"));
        environment.insert("XDG_RUNTIME_DIR", m_dir.filePath("runtime"));
        environment.insert("TMPDIR", m_dir.filePath("tmp"));
        if (adjust)
            adjust(environment);
        process->setProcessEnvironment(environment);
        process->start(program, arguments);
        EXPECT_TRUE(process->waitForStarted(10000));
        m_processes.push_back(std::move(process));
        return *m_processes.back();
    }
    QString lockOf(const QString& program = QStringLiteral(GLOMIECODE_EXE)) const {
        return InstanceLock::lockPath(program, m_dir.filePath("runtime"));
    }
    // True once the process holds the program's lock.
    bool holds(const QProcess& process, const QString& program = QStringLiteral(GLOMIECODE_EXE)) const {
        return ReadFile(lockOf(program)).split('\n').value(0) == QByteArray::number(process.processId());
    }
    QString settingsFile(const QString& name = QStringLiteral("glomiecode")) const {
        return m_dir.filePath(QStringLiteral("config/kvrq/%1.conf").arg(name));
    }
    // Ends a copy as the desktop would at logout; the program takes it as Cancel.
    static void terminate(QProcess& process) {
        process.terminate();
        EXPECT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    }

    std::vector<std::unique_ptr<QProcess>> m_processes;
};

TEST_F(RealProgram, ASecondCopyIsRefusedAndTouchesNoSettings) {
    QProcess& first = start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return holds(first); }, 10000));

    QProcess& second = start();
    QByteArray said;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (said += second.readAllStandardError()).contains(OnlyOneCopy.toUtf8()); }, 10000));
    // The message box is up and waits for the user; the first copy still holds its lock.
    EXPECT_EQ(second.state(), QProcess::Running);
    EXPECT_TRUE(holds(first));
    terminate(second);
    EXPECT_EQ(second.exitCode(), EncoderApp::ExitFailure);
    EXPECT_FALSE(QFileInfo::exists(m_dir.filePath("config/kvrq")));

    EXPECT_EQ(first.state(), QProcess::Running);
    terminate(first);
    EXPECT_EQ(first.exitCode(), EncoderApp::ExitOk);
    EXPECT_FALSE(QFileInfo::exists(settingsFile())); // ended like Cancel
    EXPECT_FALSE(QFileInfo::exists(lockOf()));

    // After the first copy has ended, a new start runs.
    QProcess& third = start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return holds(third); }, 10000));
    terminate(third);
}

TEST_F(RealProgram, ACrashedCopyDoesNotBlockTheNextStart) {
    QProcess& crashed = start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return holds(crashed); }, 10000));
    crashed.kill();
    ASSERT_TRUE(crashed.waitForFinished(10000));
    ASSERT_TRUE(QFileInfo::exists(lockOf())); // left behind

    QProcess& next = start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return holds(next); }, 10000));
    EXPECT_FALSE(next.readAllStandardError().contains(OnlyOneCopy.toUtf8()));
    terminate(next);
    EXPECT_EQ(next.exitCode(), EncoderApp::ExitOk);
}

TEST_F(RealProgram, ACopyUnderAnotherNameRunsBeside) {
    const QString copy = m_dir.filePath(QStringLiteral("home/glomiecode-copy"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(GLOMIECODE_EXE), copy));
    QProcess& first = start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return holds(first); }, 10000));
    QProcess& beside = start(copy);
    ASSERT_TRUE(QTest::qWaitFor([&] { return holds(beside, copy); }, 10000));
    EXPECT_EQ(beside.state(), QProcess::Running);
    terminate(beside);
    terminate(first);
}

TEST_F(RealProgram, IgnoresEverythingElseOnTheCommandLineQtOptionsToo) {
    QProcess& copy = start(QStringLiteral(GLOMIECODE_EXE),
                           {"/p", "answers.txt", "-platform", "no-such-platform", "-Embedding", "-reverse"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return holds(copy); }, 10000));
    terminate(copy);
    EXPECT_EQ(copy.exitCode(), EncoderApp::ExitOk);
}

#ifdef Q_OS_UNIX
// The single-instance lock lives in a folder only the user can write: the login's runtime folder
// when it is private, else one in the user's cache. Never the shared temporary folder, where
// another user could take its name first (as planted here).
struct LockFolderCase {
    const char* Name;
    const char* Runtime; // XDG_RUNTIME_DIR below the test's folder, or unset
    const char* LockFolder;
};

std::ostream& operator<<(std::ostream& os, const LockFolderCase& c) {
    return os << c.Name;
}

class LockFolder : public RealProgram, public testing::WithParamInterface<LockFolderCase> {};

TEST_P(LockFolder, OnlyTheUserCanWriteIt) {
    makeFolders({"shared"});
    ASSERT_EQ(::chmod(QFile::encodeName(m_dir.filePath("shared")).constData(), 0777), 0);
    QFile planted(InstanceLock::lockPath(QStringLiteral(GLOMIECODE_EXE), m_dir.filePath("tmp")));
    ASSERT_TRUE(planted.open(QIODevice::WriteOnly));
    planted.write("1\nglomiecode\n\n"); // held by a process that runs for ever
    planted.close();

    QProcess& copy =
        start(QStringLiteral(GLOMIECODE_EXE), {"-Embedding"}, [this](QProcessEnvironment& environment) {
            environment.insert("XDG_CACHE_HOME", m_dir.filePath("cache"));
            if (GetParam().Runtime)
                environment.insert("XDG_RUNTIME_DIR", m_dir.filePath(GetParam().Runtime));
            else
                environment.remove("XDG_RUNTIME_DIR");
        });
    const QString folder = m_dir.filePath(GetParam().LockFolder);
    const QString lock = InstanceLock::lockPath(QStringLiteral(GLOMIECODE_EXE), folder);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return ReadFile(lock).split('\n').value(0) == QByteArray::number(copy.processId()); }, 10000))
        << copy.readAllStandardError().toStdString();
    struct stat status {};
    ASSERT_EQ(::lstat(QFile::encodeName(folder).constData(), &status), 0);
    EXPECT_EQ(status.st_uid, ::getuid());
    EXPECT_EQ(status.st_mode & 077, 0u);
    terminate(copy);
    EXPECT_EQ(copy.exitCode(), EncoderApp::ExitOk);
}

INSTANTIATE_TEST_SUITE_P(
    RealProgram, LockFolder,
    testing::Values(LockFolderCase{"NoRuntimeFolder", nullptr, "cache/kvrq"},
                    LockFolderCase{"ARuntimeFolderOthersCanWrite", "shared", "cache/kvrq"},
                    LockFolderCase{"APrivateRuntimeFolder", "runtime", "runtime"}),
    [](const testing::TestParamInfo<LockFolderCase>& info) { return std::string(info.param.Name); });
#endif

TEST_F(RealProgram, HelpAndVersionPrintAndEnd) {
    QProcess& help = start(QStringLiteral(GLOMIECODE_EXE), {"--help"});
    ASSERT_TRUE(help.waitForFinished(10000));
    EXPECT_EQ(help.exitCode(), 0);
    EXPECT_EQ(QString::fromLocal8Bit(help.readAllStandardOutput()), StartOptions::usageText());
    QProcess& version = start(QStringLiteral(GLOMIECODE_EXE), {"--version"});
    ASSERT_TRUE(version.waitForFinished(10000));
    EXPECT_EQ(version.readAllStandardOutput(), "glomiecode 1.12.05\n");
    QProcess& mistyped = start(QStringLiteral(GLOMIECODE_EXE), {"--hlep"});
    ASSERT_TRUE(mistyped.waitForFinished(10000));
    EXPECT_EQ(mistyped.exitCode(), EncoderApp::ExitUsage);
    EXPECT_EQ(QString::fromLocal8Bit(mistyped.readAllStandardError()),
              "glomiecode: unknown option '--hlep'\n" + StartOptions::usageText());
    EXPECT_FALSE(QFileInfo::exists(lockOf()));
}

#endif

} // namespace
