// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QSize>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/stat.h>

#include "../SaveTrouble.h"
#endif

#include "settings/SettingsLayout.h"

namespace {

// The keys of every value the settings table stores.
const qsizetype kAllKeys = static_cast<qsizetype>(StoredValueCount());
// The command line ends its lines as its platform does (CRLF on Windows): read as text, each ends in '\n'.
const QIODevice::OpenMode kTextMode = QIODevice::ReadWrite | QIODevice::Text;

struct CliRun {
    int status = -1;
    QString out, err;
};

// Each test gets its own empty home, so no test ever sees the user's settings or another test's.
class ImportCommand : public testing::Test {
  protected:
    CliRun cli(const QStringList& arguments) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), m_home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome());
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(GLOMIECODE_CLI), arguments, kTextMode);
        process.closeWriteChannel();
        process.waitForFinished(60000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
    CliRun import(const QString& code) {
        return cli({QStringLiteral("import"), QStringLiteral("--settings"), file(), code});
    }
    QString codeOfFile() { return cli({QStringLiteral("code"), QStringLiteral("--settings"), file()}).out; }

    QString configHome() const { return m_home.path() + QStringLiteral("/config"); }
    QString file() const { return m_home.path() + QStringLiteral("/answers.ini"); }
    QByteArray fileBytes() const {
        QFile settings(file());
        return settings.open(QIODevice::ReadOnly) ? settings.readAll() : QByteArray();
    }

  private:
    QTemporaryDir m_home;
};

const QString kRich =
    QStringLiteral("GlomieCode(1.12.05) SM:5-[7+]m+ F:sMo>+++Me+[++]:v4G<:aLu++:pSS<+[+] D:vBe>---:aCh[-] "
                   "X:***[*]:aClr++|ClS[SS]s++++|[R]d+:m18r|2s O:d--:!s++:?o:a?:h-[-]:x+ "
                   "P:a23:s1011:w150:f-:eBBrL|Gg[z]:hBrD++m[b]:t--[+]:cWhAs:bAB+:*Ar:y+P:r+|-");

TEST_F(ImportCommand, ThenCodePrintsTheCodeAgain) {
    for (const QString& code :
         {kRich, QStringLiteral("GlomieCode(1.12.05) SM:5m-"), QStringLiteral("GlomieCode(1.12.05) SM:0"),
          QStringLiteral("GlomieCode(1.12.05) SM:![0]m+ X:a52s+++|12d[+] O:!d++[+]:a---[-] P:eg:c:x0%:r|"),
          QStringLiteral("GlomieCode(1.12.05) SM:9+ F:pSS D:sSt")}) {
        const CliRun run = import(code);
        EXPECT_EQ(run.status, 0) << code.toStdString() << "\n" << run.err.toStdString();
        EXPECT_EQ(codeOfFile(), code + QLatin1Char('\n'));
    }
}

// Each import writes every value, so nothing of an earlier code is left behind.
TEST_F(ImportCommand, ReplacesEveryAnswer) {
    ASSERT_EQ(import(kRich).status, 0);
    ASSERT_EQ(import(QStringLiteral("GlomieCode(1.12.05) SM:5m-")).status, 0);
    EXPECT_EQ(codeOfFile(), QStringLiteral("GlomieCode(1.12.05) SM:5m-\n"));
    QSettings ini(file(), QSettings::IniFormat);
    EXPECT_EQ(ini.allKeys().size(), kAllKeys);
}

TEST_F(ImportCommand, IntoTheEncodersOwnStore) {
    const QString code = QStringLiteral("GlomieCode(1.12.05) SM:7 O:h");
    const CliRun run = cli({QStringLiteral("import"), code});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(configHome() + QStringLiteral("/kvrq/glomiecode.conf")));
    EXPECT_EQ(cli({QStringLiteral("code")}).out, code + QLatin1Char('\n'));
}

struct Refusal {
    const char* name;
    const char* code;
    int status;
    const char* message;
};

std::ostream& operator<<(std::ostream& os, const Refusal& refusal) {
    return os << refusal.name;
}

class RefusesToImport : public ImportCommand, public testing::WithParamInterface<Refusal> {};

// A code that cannot be stored so that `code` gives it back leaves the file exactly as it was.
TEST_P(RefusesToImport, WithoutChangingTheFile) {
    ASSERT_EQ(import(kRich).status, 0);
    const QByteArray before = fileBytes();
    const QDateTime modified = QFileInfo(file()).lastModified();
    QThread::msleep(20);
    const CliRun run = import(QString::fromUtf8(GetParam().code));
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_TRUE(run.err.contains(QString::fromUtf8(GetParam().message))) << run.err.toStdString();
    EXPECT_EQ(run.out, QString());
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(QFileInfo(file()).lastModified(), modified);
    EXPECT_EQ(codeOfFile(), kRich + QLatin1Char('\n'));
}

std::string RefusalName(const testing::TestParamInfo<Refusal>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    ImportCommand, RefusesToImport,
    testing::Values(
        Refusal{"PartlyRead", "GlomieCode(1.12.05) SM:5 O:q:h", 3, "nothing was stored"},
        Refusal{"Truncated", "GlomieCode(1.12.05) SM:5 F:sMo+[", 3, "expected '+' in the tune bracket"},
        Refusal{"WeightNotTold", "GlomieCode(1.12.05) SM:5 P:w?", 3, "NoTellWeight"},
        Refusal{"BodyFatNotTold", "GlomieCode(1.12.05) SM:5 P:f?", 3, "NoTellFat"},
        Refusal{"MangaIntensity", "GlomieCode(1.12.05) SM:5 X:m3s+", 3, "IntensityMangaSub"},
        Refusal{"MangaTune", "GlomieCode(1.12.05) SM:5 X:m3r[+]", 3, "BoostMangaRaw"},
        Refusal{"TextAroundTheCode", "my code: GlomieCode(1.12.05) SM:5", 3, "more than the code"},
        Refusal{"LineBreakBetweenSections", "GlomieCode(1.12.05) SM:5\nO:h", 3,
                "which would be: GlomieCode(1.12.05) SM:5 O:h"},
        Refusal{"NoCode", "hello", 3, "no Glomie Code found"}),
    RefusalName);

TEST_F(ImportCommand, ARefusedImportMakesNoFile) {
    EXPECT_EQ(import(QStringLiteral("GlomieCode(1.12.05) SM:5 P:w?")).status, 3);
    EXPECT_FALSE(QFileInfo::exists(file()));
}

TEST_F(ImportCommand, AStoreThatCannotBeWrittenFails) {
    const CliRun run = cli({QStringLiteral("import"), QStringLiteral("--settings"), QFileInfo(file()).path(),
                            QStringLiteral("GlomieCode(1.12.05) SM:5")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("cannot write"))) << run.err.toStdString();
}

#ifdef Q_OS_UNIX
// What is at a path, without following a link or reading a FIFO.
QString Describe(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink())
        return QStringLiteral("link to ") + info.symLinkTarget();
    if (info.isFile()) {
        QFile file(path);
        return QStringLiteral("file: ") +
               QString::fromLatin1(file.open(QIODevice::ReadOnly) ? file.readAll().toHex() : "?");
    }
    return info.exists() ? QStringLiteral("something else") : QStringLiteral("nothing");
}

// What the file system of the store's folder does while the store is written.
enum class Trouble { None, NearlyFull, ReadOnly };

struct UnwritableStore {
    const char* name;
    const char* message;
    std::function<void(const QString& path)> make;
    Trouble trouble = Trouble::None;
    // Where the tests cannot mount a file system of their own (not as root), the trouble is brought
    // about otherwise, and the system says this instead.
    const char* messageUnlessRoot = nullptr;
};

// The store's folder in trouble, as a row asks, while it lives: begun before the store is made, and
// made worse once it is.
class FolderInTrouble {
  public:
    FolderInTrouble(Trouble trouble, const QString& folder) : m_trouble(trouble), m_folder(folder) {
        if (trouble != Trouble::None && RunningAsRoot())
            m_disk.emplace(folder, trouble == Trouble::NearlyFull ? 12 : 64);
    }
    ~FolderInTrouble() {
        m_limit.reset();
        if (m_trouble == Trouble::ReadOnly && !m_disk)
            QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // Why the row cannot be run here; empty when it can.
    QString unavailable() const {
        return m_disk && !m_disk->mounted() ? QStringLiteral("no tmpfs could be mounted") : QString();
    }
    // The file system nearly full (4 KiB left) or read-only.
    bool worsen() {
        switch (m_trouble) {
        case Trouble::None:
            return true;
        case Trouble::NearlyFull:
            if (m_disk)
                return LeaveFree(m_folder, QStringLiteral("filler"), 4);
            m_limit.emplace(1);
            return m_limit->set();
        case Trouble::ReadOnly:
            if (m_disk)
                return m_disk->makeReadOnly();
            return QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::ExeOwner);
        }
        return false;
    }

  private:
    Trouble m_trouble;
    QString m_folder;
    std::optional<SmallFileSystem> m_disk;
    std::optional<FileSizeLimit> m_limit;
};

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

std::ostream& operator<<(std::ostream& os, const UnwritableStore& store) {
    return os << store.name;
}

class RefusesTheStore : public ImportCommand, public testing::WithParamInterface<UnwritableStore> {};

// A store that is not a regular file is refused before it is opened (a FIFO would block for ever,
// a device node would be replaced), one that would lose lines is not rewritten, and one whose new
// content cannot be written in full is left as it was, with the reason the system gives.
TEST_P(RefusesTheStore, WithExitOneAndThePathAsItWas) {
    FolderInTrouble trouble(GetParam().trouble, QFileInfo(file()).path());
    if (const QString why = trouble.unavailable(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    GetParam().make(file());
    ASSERT_TRUE(trouble.worsen());
    const QString before = Describe(file());
    const CliRun run = import(kRich);
    const char* message =
        GetParam().messageUnlessRoot && !RunningAsRoot() ? GetParam().messageUnlessRoot : GetParam().message;
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QString::fromUtf8(message))) << run.err.toStdString();
    EXPECT_EQ(run.out, QString());
    EXPECT_EQ(Describe(file()), before);
}

INSTANTIATE_TEST_SUITE_P(
    ImportCommand, RefusesTheStore,
    testing::Values(
        UnwritableStore{"Fifo", "not a regular file",
                        [](const QString& path) { ASSERT_EQ(::mkfifo(QFile::encodeName(path), 0600), 0); }},
        UnwritableStore{"LinkToAFifo", "not a regular file",
                        [](const QString& path) {
                            ASSERT_EQ(::mkfifo(QFile::encodeName(path + ".fifo"), 0600), 0);
                            ASSERT_TRUE(QFile::link(path + ".fifo", path));
                        }},
        UnwritableStore{"LinkToNothing", "not a regular file",
                        [](const QString& path) { ASSERT_TRUE(QFile::link(path + ".missing", path)); }},
        // A lock that is no regular file is named at once, not waited for.
        UnwritableStore{"LockIsAFifo", "is not a regular file, which no program makes",
                        [](const QString& path) {
                            WriteFile(path, "[SM]\nPri=3\n");
                            ASSERT_EQ(::mkfifo(QFile::encodeName(path + ".lock"), 0600), 0);
                        }},
        UnwritableStore{"LockIsALink", "is a symbolic link, which no program makes",
                        [](const QString& path) {
                            WriteFile(path, "[SM]\nPri=3\n");
                            ASSERT_TRUE(QFile::link(path + ".elsewhere", path + ".lock"));
                        }},
        UnwritableStore{"LockIsAFolder", "is a folder, which no program makes",
                        [](const QString& path) {
                            WriteFile(path, "[SM]\nPri=3\n");
                            ASSERT_TRUE(QDir().mkpath(path + ".lock"));
                        }},
        UnwritableStore{"LineThatIsNotASetting", "lines that are not settings",
                        [](const QString& path) {
                            QFile file(path);
                            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                            file.write("# my answers\n[SM]\nPri=14\n");
                        }},
        // The new file cannot be written in full: nothing is renamed over the old one.
        UnwritableStore{"NearlyFullDisk", "No space left on device",
                        [](const QString& path) { WriteFile(path, "[SM]\nPri=3\n"); }, Trouble::NearlyFull,
                        "File too large"},
        UnwritableStore{"ReadOnlyFolder", "Read-only file system",
                        [](const QString& path) { WriteFile(path, "[SM]\nPri=3\n"); }, Trouble::ReadOnly,
                        "Permission denied"}),
    [](const testing::TestParamInfo<UnwritableStore>& info) { return std::string(info.param.name); });

// The id of a process that has ended.
qint64 EndedProcessId() {
    QProcess process;
    process.start(QStringLiteral(GLOMIECODE_CLI), {QStringLiteral("--version")}, kTextMode);
    const qint64 id = process.waitForStarted() ? process.processId() : 0;
    process.waitForFinished();
    return id;
}

// A lock file as QLockFile writes it, for a process that has ended.
QByteArray LockOfAnEndedProcess() {
    return QByteArray::number(EndedProcessId()) + "\nglomiecode-cli\n" +
           QSysInfo::machineHostName().toUtf8() + '\n';
}

struct Leftover {
    const char* name;
    // What a save killed midway leaves beside the settings file at path.
    std::function<void(const QString& path)> make;
};

std::ostream& operator<<(std::ostream& os, const Leftover& leftover) {
    return os << leftover.name;
}

class ASaveThatDidNotEnd : public ImportCommand, public testing::WithParamInterface<Leftover> {};

// Its lock is taken over at once and its scratch files go: the next save is neither kept waiting
// nor refused, and leaves nothing beside the file.
TEST_P(ASaveThatDidNotEnd, NeitherDelaysNorStopsTheNext) {
    ASSERT_EQ(import(kRich).status, 0);
    GetParam().make(file());
    QElapsedTimer took;
    took.start();
    const CliRun run = import(QStringLiteral("GlomieCode(1.12.05) SM:5m-"));
    EXPECT_LT(took.elapsed(), 1000);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(codeOfFile(), QStringLiteral("GlomieCode(1.12.05) SM:5m-\n"));
    EXPECT_EQ(QDir(QFileInfo(file()).path())
                  .entryList(QDir::Files | QDir::Hidden | QDir::System)
                  .join(QLatin1Char(' '))
                  .toStdString(),
              QFileInfo(file()).fileName().toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    ImportCommand, ASaveThatDidNotEnd,
    testing::Values(
        Leftover{"LockOfAnEndedProcess",
                 [](const QString& path) { WriteFile(path + ".lock", LockOfAnEndedProcess()); }},
        // Killed between making the lock file and writing into it.
        Leftover{"EmptyLock", [](const QString& path) { WriteFile(path + ".lock", QByteArray()); }},
        // Killed while taking over a lock with QLockFile, which would wait half a minute for its helper.
        Leftover{"EmptyLockHelper",
                 [](const QString& path) {
                     WriteFile(path + ".lock", LockOfAnEndedProcess());
                     WriteFile(path + ".lock.rmlock", QByteArray());
                     // Left a while ago: one just made may be another program's, about to be locked.
                     QFile helper(path + ".lock.rmlock");
                     ASSERT_TRUE(helper.open(QIODevice::ReadWrite));
                     ASSERT_TRUE(helper.setFileTime(QDateTime::currentDateTime().addSecs(-2),
                                                    QFileDevice::FileModificationTime));
                 }},
        Leftover{"ScratchFiles",
                 [](const QString& path) {
                     const QString scratch = QFileInfo(path).path() + "/." + QFileInfo(path).fileName();
                     WriteFile(scratch + ".Ab12Cd.new", "[SM]\nPri=");
                     // QSettings' own lock and new file beside a scratch copy.
                     WriteFile(scratch + ".Xy34Zw.new", "[SM]\nPri=3\n");
                     WriteFile(scratch + ".Xy34Zw.new.lock", LockOfAnEndedProcess());
                     WriteFile(scratch + ".Xy34Zw.new.Qq56Rr", "[SM]\n");
                 }}),
    [](const testing::TestParamInfo<Leftover>& info) { return std::string(info.param.name); });

struct KeptAsItWas {
    const char* name;
    std::function<void(const QString& path)> make;
    // Checks, after the import, that what make() set up is still there.
    std::function<void(const QString& path)> check;
};

std::ostream& operator<<(std::ostream& os, const KeptAsItWas& kept) {
    return os << kept.name;
}

class AnImportKeeps : public ImportCommand, public testing::WithParamInterface<KeptAsItWas> {};

// What the import does not own stays: the link the settings are reached by, the file's permissions,
// and the groups and keys of others.
TEST_P(AnImportKeeps, WhatItDoesNotOwn) {
    GetParam().make(file());
    const CliRun run = import(kRich);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(codeOfFile(), kRich + QLatin1Char('\n'));
    GetParam().check(file());
}

INSTANTIATE_TEST_SUITE_P(
    ImportCommand, AnImportKeeps,
    testing::Values(
        KeptAsItWas{
            "TheLinkToTheFile",
            [](const QString& path) {
                ASSERT_TRUE(QDir().mkpath(path + ".d"));
                WriteFile(path + ".d/real.ini", "[SM]\nPri=3\n");
                ASSERT_TRUE(QFile::link(path + ".d/real.ini", path));
            },
            [](const QString& path) {
                EXPECT_EQ(QFileInfo(path).symLinkTarget(), path + ".d/real.ini");
                EXPECT_EQ(QSettings(path + ".d/real.ini", QSettings::IniFormat).allKeys().size(), kAllKeys);
                EXPECT_EQ(QDir(path + ".d").entryList(QDir::Files | QDir::Hidden).join(' ').toStdString(),
                          "real.ini");
            }},
        KeptAsItWas{"ThePermissions",
                    [](const QString& path) {
                        WriteFile(path, "[SM]\nPri=3\n");
                        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
                    },
                    [](const QString& path) {
                        struct stat status {};
                        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0);
                        EXPECT_EQ(status.st_mode & 07777, 0640u);
                    }},
        KeptAsItWas{"OtherGroupsAndKeys",
                    [](const QString& path) {
                        WriteFile(path,
                                  "[SM]\nNote=mine\nPri=3\n\n[Window]\nrecent=a, b\nsize=@Size(800 600)\n");
                    },
                    [](const QString& path) {
                        QSettings settings(path, QSettings::IniFormat);
                        EXPECT_EQ(settings.value("SM/Note").toString(), "mine");
                        EXPECT_EQ(settings.value("Window/recent").toStringList(), QStringList({"a", "b"}));
                        EXPECT_EQ(settings.value("Window/size").toSize(), QSize(800, 600));
                        EXPECT_EQ(settings.allKeys().size(), 186);
                    }}),
    [](const testing::TestParamInfo<KeptAsItWas>& info) { return std::string(info.param.name); });
#endif

#ifdef Q_OS_UNIX
// Saves of one file through a link and through its target take the same lock: each waits for the
// other, none fails, and the link stays a link to the file, which holds one of the codes whole.
TEST_F(ImportCommand, SavesThroughALinkAndItsTargetExcludeEachOther) {
    const QString folder = QFileInfo(file()).path();
    ASSERT_TRUE(QDir().mkpath(folder + "/repo") && QDir().mkpath(folder + "/home"));
    WriteFile(folder + "/repo/a.ini", "[SM]\nPri=3\n");
    ASSERT_TRUE(QFile::link("../repo/a.ini", folder + "/home/a.ini"));
    const QStringList codes = {kRich, QStringLiteral("GlomieCode(1.12.05) SM:5m-")};
    std::vector<std::unique_ptr<QProcess>> imports;
    for (int i = 0; i < 16; ++i) {
        imports.push_back(std::make_unique<QProcess>());
        imports.back()->start(QStringLiteral(GLOMIECODE_CLI),
                              {QStringLiteral("import"), QStringLiteral("--settings"),
                               folder + (i % 2 ? "/home/a.ini" : "/repo/a.ini"), codes[i / 2 % 2]});
    }
    for (const auto& import : imports) {
        ASSERT_TRUE(import->waitForFinished(60000));
        EXPECT_EQ(import->exitCode(), 0) << import->readAllStandardError().toStdString();
    }
    EXPECT_EQ(QFileInfo(folder + "/home/a.ini").symLinkTarget(),
              QFileInfo(folder + "/repo/a.ini").filePath());
    const QString code =
        cli({QStringLiteral("code"), QStringLiteral("--settings"), folder + "/home/a.ini"}).out;
    EXPECT_TRUE(codes.contains(code.trimmed())) << code.toStdString();
    EXPECT_EQ(
        QDir(folder + "/repo").entryList(QDir::Files | QDir::Hidden | QDir::System).join(' ').toStdString(),
        "a.ini");
}
#endif

TEST_F(ImportCommand, HelpDescribesEveryOption) {
    const CliRun run = cli({QStringLiteral("import"), QStringLiteral("--help")});
    EXPECT_EQ(run.status, 0);
    for (const char* text : {"usage: glomiecode-cli import [--settings FILE] CODE", "--settings FILE",
                             "-h, --help", "exit status"})
        EXPECT_TRUE(run.out.contains(QLatin1String(text))) << text;
}

TEST_F(ImportCommand, NeedsACode) {
    EXPECT_EQ(cli({QStringLiteral("import")}).status, 2);
    EXPECT_EQ(cli({QStringLiteral("import"), QStringLiteral("--bogus"), kRich}).status, 2);
}

} // namespace
