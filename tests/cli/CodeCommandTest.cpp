// SPDX-License-Identifier: MIT
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The command line ends its lines as its platform does (CRLF on Windows): read as text, each ends in '\n'.
const QIODevice::OpenMode kTextMode = QIODevice::ReadWrite | QIODevice::Text;

struct Result {
    int exitCode;
    QString out;
    QString err;
};

class CodeCommand : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    // Runs glomiecode-cli with a home of its own, so the user's real settings are never read.
    Result run(const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), m_dir.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(GLOMIECODE_CLI), arguments, kTextMode);
        EXPECT_TRUE(process.waitForFinished(30000));
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    QString writeSettings(const QString& text) {
        const QString path = m_dir.filePath(QStringLiteral("answers.ini"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
        return path;
    }

    QTemporaryDir m_dir;
};

TEST_F(CodeCommand, AnEmptySettingsFileGivesTheDefaultCode) {
    const Result result = run({"code", "--settings", writeSettings(QString())});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "GlomieCode(1.12.05) SM:5m-\n");
    EXPECT_EQ(result.err, "");
}

TEST_F(CodeCommand, NoSettingsAtAllGivesTheDefaultCode) {
    const Result result = run({"code"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "GlomieCode(1.12.05) SM:5m-\n");
}

TEST_F(CodeCommand, WorkedExampleAnswers) {
    const QString path =
        writeSettings(QStringLiteral("[SM]\nPri=14\nChkSec=1\nSec=22\nGlomiePref=2\n"
                                     "[Fav]\nSenshi0=1\nTrendSenshi0=2\nIntensitySenshi0=3\n"
                                     "Senshi1=4\nIntensitySenshi1=1\nBoostSenshi1=2\n"
                                     "Assist0=1\nIntensityAssist0=2\nPart0=5\nTrendPart0=0\n"
                                     "IntensityPart0=1\nBoostPart0=1\n"
                                     "[Dis]\nVillian1=14\nTrendVillian1=2\nIntensityVillian1=3\n"
                                     "[Exp]\nYears=7\n"
                                     "[Op]\nOmitHentai=0\n"
                                     "[Per]\nOmitAge=0\nSpecifyExactAge=1\nExactAge=23\n"
                                     "OmitRelationship=0\nPreference=1\nStatus=1\n"));
    const Result result = run({"code", "--settings", path});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "GlomieCode(1.12.05) SM:5-[7+]m+ F:sMo>+++Me+[++]:aLu++:pS<+[+] D:vBe>--- X:***[*] "
                          "O:h P:a23:r|\n");
}

TEST_F(CodeCommand, ValuesThatAreNotNumbersReadAsTheirDefaults) {
    // ChkSec holds the whole number 1 as the settings library stores data of any type, Sec 22 as it
    // stores a text with a NUL.
    const QString path =
        writeSettings(QStringLiteral("[SM]\nPri=lots\nGlomiePref=2147483648\n"
                                     "ChkSec=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x1)\nSec=@String(22)\n"
                                     "[Fav]\nSenshi0=1, 2\nSenshi1= 3 \nBoostSenshi1=65535\n"
                                     "[Dis]\nSenshi0=@ByteArray(3)\nSenshi1=@Size(3 3)\n"));
    const Result result = run({"code", "--settings", path});
    EXPECT_EQ(result.exitCode, 0);
    // Pri and GlomiePref fall back to 15 and 1; the list is no number; " 3 " is; 65535 is −1 in 16 bits;
    // every "@...(...)" is plain text, no number: none is turned into data.
    EXPECT_EQ(result.out, "GlomieCode(1.12.05) SM:5m- F:sCh[]\n");
}

TEST_F(CodeCommand, DamagedValuesStillGiveOneLine) {
    const QString path = writeSettings(QStringLiteral("[SM]\nPri=2147483647\nChkSec=1\nSec=-2147483648\n"
                                                      "[Exp]\nYears=-1\nRaw=-1\nMangaSub=2147483647\n"
                                                      "IntensityRaw=-2147483648\n"));
    const Result result = run({"code", "--settings", path});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out.count(QLatin1Char('\n')), 1);
    // A run asked for by a damaged value stops at 100 symbols; counts print as the signed numbers stored.
    EXPECT_EQ(result.out, QStringLiteral("GlomieCode(1.12.05) SM:!+[!]m- X:[*]:a-1r") +
                              QString(100, QLatin1Char('+')) + QStringLiteral(":m2147483647s\n"));
}

TEST_F(CodeCommand, AMissingSettingsFileIsAnError) {
    const QString missing = m_dir.filePath(QStringLiteral("nowhere.ini"));
    const Result result = run({"code", "--settings", missing});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(result.err.contains(missing));
    EXPECT_EQ(result.err.count(QLatin1Char('\n')), 1);
}

TEST_F(CodeCommand, AFolderIsNotASettingsFile) {
    const Result result = run({"code", "--settings", m_dir.path()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
}

// An empty file name (an unset variable in a script) never stands for the encoder's own answers; what
// the user typed is shown with its control characters escaped.
TEST_F(CodeCommand, UnknownOptionsAndCommandsGiveUsage) {
    for (const QStringList& arguments :
         {QStringList{"code", "--colour"}, QStringList{"code", "extra"}, QStringList{"encode"}, QStringList{},
          QStringList{"code", "--settings", ""}, QStringList{"code", "--settings", writeSettings({}), ""},
          QStringList{"import", "--settings", "", "GlomieCode(1.12.05) SM:5"},
          QStringList{"serve", "--web", ""}, QStringList{"encode\x1b]0;x\x07\u2028"},
          QStringList{"serve", "--port", "1\x1b[2J\u2029"}, QStringList{"code", "--colour\x1b[2J"}}) {
        const Result result = run(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(result.err.contains(QStringLiteral("usage:"))) << result.err.toStdString();
        for (const QChar c : result.err)
            EXPECT_TRUE(c == u'\n' || (c >= u' ' && c != u'\x7f' && c != QChar(0x2028) && c != QChar(0x2029)))
                << "control character " << int(c.unicode()) << " in " << result.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(m_dir.filePath(QStringLiteral("config/kvrq/glomiecode.conf"))));
}

// Several files: one code a line in their order, a file that cannot be read an empty line, and the
// status says so.
TEST_F(CodeCommand, SeveralFilesGiveOneCodeALine) {
    const QString first = writeSettings(QStringLiteral("[SM]\nPri=5\n"));
    const QString second = m_dir.filePath(QStringLiteral("second.ini"));
    ASSERT_TRUE(QFile::copy(first, second));
    QSettings(second, QSettings::IniFormat).setValue(QStringLiteral("SM/Pri"), 9);
    const QString missing = m_dir.filePath(QStringLiteral("missing.ini"));
    const Result result = run({"code", "-H", "--settings", first, missing, second});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, first + "\t" + run({"code", "--settings", first}).out + missing + "\t\n" + second +
                              "\t" + run({"code", "--settings", second}).out);
    EXPECT_NE(run({"code", "--settings", first}).out, run({"code", "--settings", second}).out);
    EXPECT_TRUE(result.err.contains(missing)) << result.err.toStdString();
}

TEST_F(CodeCommand, HelpAndVersion) {
    const Result help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("--settings FILE")));
    const Result codeHelp = run({"code", "--help"});
    EXPECT_EQ(codeHelp.exitCode, 0);
    EXPECT_TRUE(codeHelp.out.contains(QStringLiteral("--settings FILE")));
    const Result version = run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "glomiecode-cli 1.12.05\n");
}

#ifdef Q_OS_LINUX
// A full disk: every write to /dev/full fails. Nothing printed is no result.
// import has stored the answers all the same, and says so by a status of its own.
TEST_F(CodeCommand, OutputThatCannotBeWrittenFailsLoudly) {
    const QString stored = m_dir.filePath(QStringLiteral("stored.ini"));
    for (const auto& [arguments, status] : std::initializer_list<std::pair<QStringList, int>>{
             {QStringList{"code"}, 1},
             {QStringList{"decode", "GlomieCode(1.12.05) SM:5m- O:h"}, 1},
             {QStringList{"decode", "--json", "GlomieCode(1.12.05) SM:5m-"}, 1},
             {QStringList{"--help"}, 1},
             {QStringList{"import", "--settings", stored, "GlomieCode(1.12.05) SM:5m-"}, 4}}) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), m_dir.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
        process.setProcessEnvironment(environment);
        process.setStandardOutputFile(QStringLiteral("/dev/full"));
        process.start(QStringLiteral(GLOMIECODE_CLI), arguments, kTextMode);
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), status) << arguments.join(' ').toStdString();
        EXPECT_TRUE(process.readAllStandardError().contains("cannot write to the standard output"))
            << arguments.join(' ').toStdString();
    }
}
#endif

} // namespace
