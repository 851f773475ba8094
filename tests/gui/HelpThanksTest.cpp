// SPDX-License-Identifier: MIT
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScrollBar>
#include <QUrl>

#include "AppTestSupport.h"
#include "GuiTestSupport.h"
#include "app/EncoderApp.h"
#include "app/HelpAndThanks.h"

namespace {

// Takes the desktop's file openings for itself.
class FileOpenings : public QObject {
    Q_OBJECT
  public:
    FileOpenings() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~FileOpenings() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> Urls;
    Q_INVOKABLE void open(const QUrl& url) { Urls << url; }
};

// A program folder "app/bin" with its possible help files, and a current directory "elsewhere/cwd".
class HelpLayout : public FolderTest {
  protected:
    void SetUp() override {
        FolderTest::SetUp();
        makeFolders({"app/bin", "elsewhere/cwd"});
    }
    QString programDir() const { return m_dir.filePath(QStringLiteral("app/bin")); }
    QString currentDir() const { return m_dir.filePath(QStringLiteral("elsewhere/cwd")); }
    QString besideProgram() const { return m_dir.filePath(QStringLiteral("app/Help/glomiecode.txt")); }
    QString installed() const {
        return m_dir.filePath(QStringLiteral("app/share/glomiecode/glomiecode.txt"));
    }
    QString besideCurrent() const { return m_dir.filePath(QStringLiteral("elsewhere/Help/glomiecode.txt")); }
};

struct LayoutCase {
    const char* Name;
    bool BesideProgram, Installed, BesideCurrent;
    const char* Found; // "program", "installed", "current" or "" for none
};

std::ostream& operator<<(std::ostream& os, const LayoutCase& c) {
    return os << c.Name;
}

class HelpFileSearch : public HelpLayout, public testing::WithParamInterface<LayoutCase> {};

TEST_P(HelpFileSearch, LooksBesideTheProgramFirst) {
    const LayoutCase& c = GetParam();
    if (c.BesideProgram)
        makeFile(besideProgram());
    if (c.Installed)
        makeFile(installed());
    if (c.BesideCurrent)
        makeFile(besideCurrent());
    const std::map<std::string, QString> expected = {{"program", besideProgram()},
                                                     {"installed", installed()},
                                                     {"current", besideCurrent()},
                                                     {"", QString()}};
    EXPECT_EQ(FindHelpFile(programDir(), currentDir()), expected.at(c.Found));
}

INSTANTIATE_TEST_SUITE_P(
    Help, HelpFileSearch,
    testing::Values(LayoutCase{"AllThree", true, true, true, "program"},
                    LayoutCase{"InstalledAndCurrent", false, true, true, "installed"},
                    LayoutCase{"OnlyBesideTheProgram", true, false, false, "program"},
                    LayoutCase{"OnlyInstalled", false, true, false, "installed"},
                    LayoutCase{"OnlyBesideTheCurrentDirectory", false, false, true, "current"},
                    LayoutCase{"None", false, false, false, ""}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.Name); });

TEST_F(HelpLayout, AFolderNamedLikeTheHelpFileIsNoHelpFile) {
    QDir().mkpath(besideProgram());
    makeFile(besideCurrent());
    EXPECT_EQ(FindHelpFile(programDir(), currentDir()), besideCurrent());
}

// The Help button on the real sheet, prepared as the program prepares it.
class HelpButton : public HelpLayout {
  protected:
    void SetUp() override {
        HelpLayout::SetUp();
        m_previousDir = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(currentDir()));
        m_sheet = std::make_unique<EncoderSheet>();
        // The desktop as Qt's URL handlers see it, or one that cannot open anything.
        EncoderApp::prepareSheet(*m_sheet, programDir(), m_handOff, m_splash,
                                 [this](const QUrl& url, QObject*, std::function<void(bool)> done) {
                                     done(!m_desktopFails && QDesktopServices::openUrl(url));
                                 });
        m_sheet->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_sheet.get()));
    }
    void TearDown() override {
        m_sheet.reset();
        QDir::setCurrent(m_previousDir);
    }
    void pressHelp() {
        QTest::mouseClick(
            m_sheet->findChild<QDialogButtonBox*>(QStringLiteral("Buttons"))->button(QDialogButtonBox::Help),
            Qt::LeftButton);
    }

    Splash m_splash{false};
    FileOpenings m_openings;
    QString m_previousDir;
    bool m_desktopFails = false;
    DecoderHandOff m_handOff;
    std::unique_ptr<EncoderSheet> m_sheet;
};

TEST_F(HelpButton, OpensTheFileBesideTheProgramFromAnotherCurrentDirectory) {
    makeFile(besideProgram());
    makeFile(besideCurrent());
    pressHelp();
    ASSERT_EQ(m_openings.Urls.size(), 1);
    EXPECT_EQ(m_openings.Urls[0], QUrl::fromLocalFile(besideProgram()));
    EXPECT_TRUE(m_sheet->isVisible());
}

TEST_F(HelpButton, OpensTheFileAgainAtEveryPress) {
    makeFile(installed());
    m_sheet->tabs().setCurrentIndex(5);
    pressHelp();
    pressHelp();
    ASSERT_EQ(m_openings.Urls.size(), 2);
    EXPECT_EQ(m_openings.Urls[0], QUrl::fromLocalFile(installed()));
    EXPECT_EQ(m_openings.Urls[1], QUrl::fromLocalFile(installed()));
}

TEST_F(HelpButton, FallsBackToTheHelpFolderBesideTheCurrentDirectory) {
    makeFile(besideCurrent());
    pressHelp();
    ASSERT_EQ(m_openings.Urls.size(), 1);
    EXPECT_EQ(m_openings.Urls[0], QUrl::fromLocalFile(besideCurrent()));
}

// Help never fails in silence: without a help file, or with a desktop that cannot open it, the help
// text comes in the encoder's own window, with Find, beside the sheet.
struct HelpWindowCase {
    const char* Name;
    bool File, DesktopFails;
    const char* Shows;
};

std::ostream& operator<<(std::ostream& os, const HelpWindowCase& c) {
    return os << c.Name;
}

class HelpWithoutTheDesktop : public HelpButton, public testing::WithParamInterface<HelpWindowCase> {};

TEST_P(HelpWithoutTheDesktop, ShowsTheHelpTextInAWindowOfItsOwn) {
    const HelpWindowCase& c = GetParam();
    if (c.File)
        makeFile(besideProgram());
    m_desktopFails = c.DesktopFails;
    BoxCatcher boxes;
    pressHelp();
    auto* window = m_sheet->findChild<QDialog*>(QStringLiteral("HelpWindow"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return (window = m_sheet->findChild<QDialog*>(QStringLiteral("HelpWindow"))) &&
                   window->isVisible();
        },
        2000));
    EXPECT_EQ(window->windowTitle(), "Glomie Code Encoder Help");
    auto* text = window->findChild<QPlainTextEdit*>(QStringLiteral("HelpText"));
    ASSERT_TRUE(text);
    // Its lines wrap to the window: nothing to scroll sideways.
    EXPECT_EQ(text->horizontalScrollBar()->maximum(), 0);
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_TRUE(text->toPlainText().startsWith(QLatin1String(c.Shows)))
        << text->toPlainText().left(40).toStdString();
    EXPECT_TRUE(m_openings.Urls.isEmpty());
    EXPECT_TRUE(boxes.boxes().empty());

    // Find: Ctrl+F, a word, Return; a word that is not there says so.
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(text, Qt::Key_F, Qt::ControlModifier);
    auto* find = window->findChild<QLineEdit*>(QStringLiteral("Find"));
    ASSERT_TRUE(find && find->isVisible() && find->hasFocus());
    QTest::keyClicks(find, QStringLiteral("test"));
    QTest::keyClick(find, Qt::Key_Return);
    EXPECT_EQ(text->textCursor().selectedText(), c.File ? "test" : "");
    EXPECT_TRUE(window->isVisible()) << "Return in Find closed Help";
    find->clear();
    QTest::keyClicks(find, QStringLiteral("no such words anywhere"));
    QTest::keyClick(find, Qt::Key_Return);
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("NotFound"))->text(), "Not found");

    pressHelp(); // the window that is open comes to the front; no second one
    EXPECT_EQ(m_sheet->findChildren<QDialog*>(QStringLiteral("HelpWindow")).size(), 1);
    if (c.File)
        QTest::mouseClick(window->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close),
                          Qt::LeftButton);
    else
        QTest::keyClick(text, Qt::Key_Escape);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return !m_sheet->findChild<QDialog*>(QStringLiteral("HelpWindow")); }, 2000));
    EXPECT_TRUE(m_sheet->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Help, HelpWithoutTheDesktop,
    testing::Values(HelpWindowCase{"NoHelpFile", false, false, "GLOMIE CODE ENCODER"},
                    HelpWindowCase{"TheDesktopCannotOpenIt", true, true, "made by a test"}),
    [](const testing::TestParamInfo<HelpWindowCase>& info) { return std::string(info.param.Name); });

TEST_F(HelpButton, F1OnAnyPageAsksForHelp) {
    makeFile(besideProgram());
    BoxCatcher boxes;
    for (int i = 0; i < kPageCount; ++i) {
        m_sheet->tabs().setCurrentIndex(i);
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : m_sheet.get(), Qt::Key_F1);
    }
    QTest::qWait(50);
    EXPECT_EQ(m_openings.Urls.size(), kPageCount);
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_TRUE(m_sheet->isVisible());
}

// ---------------------------------------------------------------------------------------------
// The thanks box and the about lines of the SM page

using Thanks = SheetTest;

TEST_F(Thanks, ShowsSixNamesOneALineUnderContributorsWithOkOnlyAndNoIcon) {
    EncoderSheet& sheet = openSheet();
    DecoderHandOff handOff;
    Splash splash(false);
    EncoderApp::prepareSheet(sheet, m_dir.path(), handOff, splash);
    BoxCatcher boxes;
    QTest::mouseClick(&find<QPushButton>(sheet.page(0), "Thanks"), Qt::LeftButton);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    const ShownBox& box = boxes.boxes().front();
    EXPECT_EQ(box.Caption, "Contributors");
    EXPECT_EQ(box.Icon, QMessageBox::NoIcon);
    EXPECT_EQ(box.Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(box.Parent, &sheet.page(0));
    EXPECT_EQ(box.Text, ThanksText());
    EXPECT_TRUE(box.Text.endsWith(QLatin1Char('\n')));
    const QStringList names = box.Text.split(QLatin1Char('\n'));
    ASSERT_EQ(names.size(), 7); // six lines and the empty rest after the last line feed
    EXPECT_TRUE(names.last().isEmpty());
    for (int i = 0; i < 6; ++i) {
        EXPECT_FALSE(names[i].trimmed().isEmpty());
        EXPECT_EQ(names.count(names[i]), 1) << names[i].toStdString();
    }
    // Nothing is rebuilt or stored by it.
    EXPECT_EQ(codeBoxText(sheet.page(0)), "GlomieCode(1.12.05) SM:5m-");
}

class AboutLines : public SheetTest {
  protected:
    void SetUp() override {
        SheetTest::SetUp();
        m_savedHost = qgetenv("GLOMIECODE_DECODER_HOST");
    }
    void TearDown() override {
        if (m_savedHost.isNull())
            qunsetenv("GLOMIECODE_DECODER_HOST");
        else
            qputenv("GLOMIECODE_DECODER_HOST", m_savedHost);
    }
    QStringList aboutLines() {
        return find<QLabel>(openSheet().page(0), "About").text().split(QLatin1Char('\n'));
    }
    QByteArray m_savedHost;
};

TEST_F(AboutLines, NameTheProgramItsAuthorAndTheLocalDecoder) {
    qunsetenv("GLOMIECODE_DECODER_HOST");
    const QStringList lines = aboutLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].contains("Glomie Code Encoder"));
    EXPECT_TRUE(lines[0].contains("1.12.05"));
    EXPECT_TRUE(lines[1].contains("Written by"));
    // The page a user will see, not the server's path.
    EXPECT_TRUE(lines[2].contains("\"Glomie Code decoder\" page"));
    EXPECT_FALSE(lines[2].contains("/cgi-usr/qpx/gcp.pl"));
}

TEST_F(AboutLines, NameAConfiguredDecoderHost) {
    qputenv("GLOMIECODE_DECODER_HOST", "decoder.example.org:8080");
    const QStringList lines = aboutLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[2].contains("\"Glomie Code decoder\" page at http://decoder.example.org:8080"));
    EXPECT_FALSE(lines[2].contains("/cgi-usr/qpx/gcp.pl"));
}

// ---------------------------------------------------------------------------------------------
// The built program finds the help file beside it, wherever it is started from

#ifdef GLOMIECODE_EXE

TEST(HelpOfTheProgram, IsFoundBesideTheBuiltProgramFromAnotherDirectory) {
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    QProcess program;
    program.setWorkingDirectory(elsewhere.path());
    program.start(QStringLiteral(GLOMIECODE_EXE), {QStringLiteral("--print-help-path")});
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitCode(), 0);
    const QString path = QString::fromLocal8Bit(program.readAllStandardOutput()).trimmed();
    EXPECT_EQ(path, QDir::cleanPath(QFileInfo(QStringLiteral(GLOMIECODE_EXE)).absolutePath() +
                                    QStringLiteral("/../Help/glomiecode.txt")));
    QFile help(path);
    ASSERT_TRUE(help.open(QIODevice::ReadOnly));
    EXPECT_TRUE(help.readAll().startsWith("GLOMIE CODE ENCODER"));
}

#endif

} // namespace

#include "HelpThanksTest.moc"
