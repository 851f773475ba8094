// SPDX-License-Identifier: MIT
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMimeData>

#include "AppTestSupport.h"
#include "GuiTestSupport.h"
#include "RandomAnswers.h"
#include "WorkedExamples.h"

namespace {

using Outcome = EncoderSheet::PasteOutcome;

// Every control of every page as the user sees it: name, enable state and what it shows.
QStringList ControlStates(EncoderSheet& sheet) {
    QStringList states;
    for (int tab = 0; tab < kPageCount; ++tab) {
        sheet.tabs().setCurrentIndex(tab);
        for (QWidget* control : sheet.page(tab).findChildren<QWidget*>()) {
            QString shows;
            if (auto* slider = qobject_cast<QAbstractSlider*>(control))
                shows = QString::number(slider->value());
            else if (auto* spin = qobject_cast<QSpinBox*>(control))
                shows = QString::number(spin->value());
            else if (auto* list = qobject_cast<QComboBox*>(control))
                shows = QString::number(list->currentIndex());
            else if (auto* box = qobject_cast<QCheckBox*>(control))
                shows = QString::number(box->checkState());
            else if (auto* line = qobject_cast<QLineEdit*>(control))
                shows = line->text();
            else if (auto* parts = qobject_cast<CodeListBox*>(control))
                shows = QString::number(parts->selectionMask());
            else if (auto* text = qobject_cast<QPlainTextEdit*>(control))
                shows = text->toPlainText();
            else if (control->objectName().isEmpty())
                continue;
            states << QStringLiteral("%1/%2 %3 %4")
                          .arg(tab)
                          .arg(control->objectName(), control->isEnabled() ? "on" : "off", shows);
        }
    }
    return states;
}

// The codes to paste: the worked examples and answers drawn as a user could give them, every other
// one without the answers the settings do not keep.
std::vector<std::string> CodesToPaste(int randomCodes) {
    std::vector<std::string> codes(std::begin(kWorkedExamples), std::end(kWorkedExamples));
    for (int seed = 1; seed <= randomCodes; ++seed) {
        SeededValues values(static_cast<uint64_t>(seed));
        AnswerSet answers = RandomAnswerSet(values);
        if (seed % 2 == 0) {
            ExperienceAnswers& experience = answers.Experience;
            experience.IntensityMangaRaw = experience.IntensityMangaSub = 0;
            experience.BoostMangaRaw = experience.BoostMangaSub = 0;
            answers.Personal.NoTellWeight = answers.Personal.NoTellFat = 0;
        }
        codes.push_back(EncodeGlomieCode(answers));
    }
    return codes;
}

bool Storable(const AnswerSet& answers) {
    for (const UnstoredAnswer& answer : UnstoredAnswers(answers))
        if (answer.Value != 0)
            return false;
    return true;
}

class PasteCode : public SheetTest {
  protected:
    void SetUp() override {
        SheetTest::SetUp();
        m_savedClipboard = QGuiApplication::clipboard()->text();
    }
    void TearDown() override { QGuiApplication::clipboard()->setText(m_savedClipboard); }

    QString m_savedClipboard;
};

// Each code comes back in the code box character for character, every page shows it, and the
// answers that OK stores give the same code again (where the settings keep all of them).
TEST_F(PasteCode, EveryCodeComesBackExactlyAndIsStoredOnOk) {
    const MessageBoxCatcher noQuestions;
    EncoderSheet& sheet = openSheet({{"SM/Pri", 3}, {"Fav/Senshi0", 2}, {"Op/OmitDub", 0}});
    int storedChecks = 0;
    for (const std::string& code : CodesToPaste(300)) {
        const QString text = QString::fromStdString(code);
        ASSERT_EQ(sheet.pasteCode(text), Outcome::Taken)
            << code << "\n"
            << (noQuestions.boxes().empty() ? std::string()
                                            : noQuestions.boxes().back().Informative.toStdString());
        ASSERT_EQ(codeBoxText(sheet.page(sheet.tabs().currentIndex())), text) << code;
        AnswerSet taken = sheet.answers();
        if (!Storable(taken))
            continue;
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("answers.ini"));
        {
            auto store = SettingsStore::forIniFile(file);
            SaveSettings(*store, sheet.answers());
            ASSERT_TRUE(store->commit());
        }
        AnswerSet stored;
        LoadSettings(*SettingsStore::forIniFile(file), stored);
        ASSERT_EQ(EncodeGlomieCode(stored), code);
        ++storedChecks;
    }
    EXPECT_GT(storedChecks, 150);
}

// Most pages are built only once the sheet is on the screen: building them after a paste changes no
// answer, and the paste can still be taken back.
TEST_F(PasteCode, PagesBuiltAfterThePasteChangeNothing) {
    const MessageBoxCatcher noQuestions;
    const std::vector<std::string> codes = CodesToPaste(3);
    for (auto code = codes.end() - 3; code != codes.end(); ++code) { // answers on every page
        EncoderSheet sheet;
        sheet.setAnswers(DefaultAnswers());
        sheet.show();
        const auto built = [&sheet] {
            int count = 0;
            for (int tab = 0; tab < kPageCount; ++tab)
                count += static_cast<AnswerPage*>(sheet.tabs().widget(tab))->isBuilt();
            return count;
        };
        ASSERT_LT(built(), kPageCount);
        ASSERT_EQ(sheet.pasteCode(QString::fromStdString(*code)), Outcome::Taken) << *code;
        ASSERT_TRUE(QTest::qWaitFor([&] { return built() == kPageCount; }, 5000));
        EXPECT_EQ(EncodeGlomieCode(sheet.answers()), *code);
        EXPECT_TRUE(sheet.canUndoPaste()) << *code;
    }
}

// A pasted code leaves every page as the same answers loaded from the settings do: the same
// controls open, the same values shown, on pages shown before the paste and on pages never shown.
TEST_F(PasteCode, LeavesThePagesAsTheSameAnswersLoadedWould) {
    const MessageBoxCatcher noQuestions;
    for (const std::string& code : CodesToPaste(40)) {
        const DecodeResult decoded = DecodeGlomieCode(code);
        AnswerSet answers = decoded.Answers;
        if (!Storable(answers))
            continue;
        EncoderSheet pasted;
        pasted.setAnswers(DefaultAnswers());
        pasted.show();
        pasted.tabs().setCurrentIndex(5); // one page set up before the paste, the rest not
        ASSERT_EQ(pasted.pasteCode(QString::fromStdString(code)), Outcome::Taken) << code;

        EncoderSheet loaded;
        SaveSettings(*SettingsStore::forIniFile(m_dir.filePath("loaded.ini")), answers);
        AnswerSet stored;
        LoadSettings(*SettingsStore::forIniFile(m_dir.filePath("loaded.ini")), stored);
        loaded.setAnswers(stored);
        loaded.show();
        EXPECT_EQ(ControlStates(pasted), ControlStates(loaded)) << code;
        QFile::remove(m_dir.filePath("loaded.ini"));
    }
}

// Answers the settings do not keep are taken too.
TEST_F(PasteCode, TakesTheAnswersTheSettingsDoNotKeep) {
    const MessageBoxCatcher noQuestions;
    EncoderSheet& sheet = openSheet();
    const QString code = "GlomieCode(1.12.05) SM:5m- X:m18s++[+] P:w?:f?";
    ASSERT_EQ(sheet.pasteCode(code), Outcome::Taken);
    EXPECT_EQ(codeBoxText(sheet.page(0)), code);
    EXPECT_EQ(sheet.answers().Experience.IntensityMangaSub, 2);
    EXPECT_EQ(sheet.answers().Experience.BoostMangaSub, 1);
    EXPECT_EQ(sheet.answers().Personal.NoTellWeight, 1);
    EXPECT_EQ(sheet.answers().Personal.NoTellFat, 1);
}

// What is not a whole code the pages can take: the user is told each problem and chooses.
struct RefusalCase {
    const char* Name;
    const char* Clipboard;
    bool Take; // the answer to the question, when there is one
    Outcome Expected;
    const char* Code;    // in the code box afterwards; null: as before the paste
    const char* Message; // a part of what the message says
};

std::ostream& operator<<(std::ostream& os, const RefusalCase& c) {
    return os << c.Name;
}

class PasteRefusal : public PasteCode, public testing::WithParamInterface<RefusalCase> {};

TEST_P(PasteRefusal, TellsTheUserAndChangesOnlyWhatTheyTake) {
    const RefusalCase& c = GetParam();
    EncoderSheet& sheet =
        openSheet({{"SM/Pri", 3}, {"Fav/Senshi0", 2}, {"Fav/IntensitySenshi0", 3}, {"Fav/BoostSenshi0", 3}});
    showTab(1);
    const QString before = codeBoxText(sheet.page(1));
    const std::vector<int32_t> answersBefore = AllAnswers(sheet.answers());
    QGuiApplication::clipboard()->setText(QString::fromUtf8(c.Clipboard));

    QStringList shown, behind;
    QTimer answerer;
    answerer.setInterval(10);
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        shown << box->text() + "\n" + box->informativeText();
        behind << codeBoxText(sheet.page(1));
        const QString wanted = c.Take ? "&Take What Was Read" : "&Leave My Answers";
        for (QAbstractButton* button : box->buttons())
            if (button->text() == wanted || box->buttons().size() == 1)
                return button->click();
    });
    answerer.start();
    EXPECT_EQ(sheet.pasteCodeFromClipboard(), c.Expected);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(QString::fromUtf8(c.Message))) << shown[0].toStdString();
    EXPECT_FALSE(shown[0].contains(QStringLiteral("position")))
        << "problems in the pages' words, not positions";
    EXPECT_EQ(behind, QStringList{before}) << "the page changed behind the question";
    if (c.Code) {
        EXPECT_EQ(codeBoxText(sheet.page(1)), QString::fromUtf8(c.Code));
    } else {
        EXPECT_EQ(codeBoxText(sheet.page(1)), before);
        EXPECT_EQ(AllAnswers(sheet.answers()), answersBefore) << "an answer changed";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PasteRefusal,
    testing::Values(
        RefusalCase{"APartNotReadTaken", "my code: GlomieCode(1.12.05) SM:7 F:sMo++:q!! O:x+", true,
                    Outcome::TakenInPart, "GlomieCode(1.12.05) SM:7 F:sMo++ O:x+",
                    "\"q!!\": no such subsection"},
        RefusalCase{"APartNotReadLeft", "GlomieCode(1.12.05) SM:7 F:sMo++:q!! O:x+", false, Outcome::Left,
                    nullptr, "cannot be taken as it is"},
        RefusalCase{"MoreThanThePageOffersTaken", "GlomieCode(1.12.05) SM:5m- F:sMo+++[+++]", true,
                    Outcome::TakenInPart, "GlomieCode(1.12.05) SM:5m- F:sMo+++",
                    "Favorites: Tune of the first senshi 3; "},
        RefusalCase{"MoreThanThePageOffersLeft", "GlomieCode(1.12.05) SM:5m- F:sMo+++[+++]", false,
                    Outcome::Left, nullptr, "Favorites: Tune of the first senshi"},
        RefusalCase{"ACountPastItsRangeTaken", "GlomieCode(1.12.05) SM:6+m+ X:**:a999s", true,
                    Outcome::TakenInPart, "GlomieCode(1.12.05) SM:6+m+ X:**:a200s",
                    "Experience: Episodes of the subbed anime 999; the page goes up to 200, so 200 is taken"},
        RefusalCase{"NoCodeInTheText", "Sailor Moon is the best", true, Outcome::NoCode, nullptr,
                    "holds no Glomie Code"},
        RefusalCase{"AnEmptyClipboard", "", true, Outcome::NoCode, nullptr, "The clipboard holds no text"}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.Name); });

// The three ways to paste: the keys from any page, the code box's menu, and a drop on the sheet
// (also on a box that takes text of its own).
class PasteWays : public PasteCode, public testing::WithParamInterface<const char*> {};

TEST_P(PasteWays, ReachThePaste) {
    const std::string way = GetParam();
    EncoderSheet& sheet = openSheet({{"SM/Pri", 21}, {"Per/ExactAge", 40}, {"Per/SpecifyExactAge", 1}});
    const QStringList before = ControlStates(sheet);
    showTab(7);
    AnswerPage& page = sheet.page(7);
    const QString code = "GlomieCode(1.12.05) SM:5-[7+]m+ P:a23";
    QApplication::setActiveWindow(&sheet);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
    if (way == "Keys") {
        QGuiApplication::clipboard()->setText(code);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &sheet, Qt::Key_V,
                        Qt::ControlModifier | Qt::ShiftModifier);
    } else if (way == "Menu") {
        QGuiApplication::clipboard()->setText(code);
        QTimer chooser;
        chooser.setInterval(10);
        QObject::connect(&chooser, &QTimer::timeout, [&chooser] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                auto* menu = qobject_cast<QMenu*>(window);
                if (!menu || !menu->isVisible())
                    continue;
                chooser.stop();
                QStringList items;
                for (QAction* action : menu->actions())
                    items << action->text();
                EXPECT_TRUE(items.contains("&Copy\tCtrl+C")) << items.join('|').toStdString();
                EXPECT_TRUE(items.contains("Select All\tCtrl+A")) << items.join('|').toStdString();
                QTest::keyClick(menu, Qt::Key_P); // "&Paste Code"
                return;
            }
        });
        chooser.start();
        emit page.codeBox()->customContextMenuRequested(QPoint(5, 5));
    } else {
        QMimeData data;
        data.setText("look: " + code);
        QWidget& target = find<QWidget>(page, "ExactAge");
        const QPoint at = target.rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &drop);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return codeBoxText(page) == code; }, 2000))
        << codeBoxText(page).toStdString();
    EXPECT_EQ(find<QLineEdit>(page, "ExactAge").text(), "23");
    EXPECT_TRUE(find<QLineEdit>(page, "ExactAge").isEnabled());
    showTab(0);
    EXPECT_TRUE(find<QCheckBox>(sheet.page(0), "ChkSec").isChecked());
    EXPECT_TRUE(find<QSlider>(sheet.page(0), "Sec").isEnabled());
    EXPECT_EQ(codeBoxText(sheet.page(0)), code);

    // Taken back the way it came: the keys (from a count box, which has an undo of its own) or the
    // code box's menu; the answers from before come back on every page, and the note goes.
    showTab(7);
    EXPECT_TRUE(page.pasteNote()->isVisible());
    EXPECT_EQ(page.codeBox()->accessibleDescription(), "Code taken: Ctrl+Z brings back your answers");
    if (way == "Menu") {
        QTimer chooser;
        chooser.setInterval(10);
        QObject::connect(&chooser, &QTimer::timeout, [&chooser] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                chooser.stop();
                QTest::keyClick(menu, Qt::Key_U); // "&Undo Paste"
            }
        });
        chooser.start();
        emit page.codeBox()->customContextMenuRequested(QPoint(5, 5));
    } else {
        QLineEdit& age = find<QLineEdit>(page, "ExactAge");
        age.setFocus();
        QTest::keyClick(&age, Qt::Key_Z, Qt::ControlModifier);
    }
    EXPECT_FALSE(sheet.canUndoPaste());
    EXPECT_FALSE(page.pasteNote()->isVisible());
    EXPECT_EQ(ControlStates(sheet), before);
    // One step: nothing more to take back, and a change of the user's own ends the paste's undo.
    EXPECT_FALSE(sheet.undoPaste());
    sheet.pasteCode(code);
    EXPECT_TRUE(sheet.canUndoPaste());
    showTab(0);
    PressKey(find<QSlider>(sheet.page(0), "Pri"), Qt::Key_Right);
    EXPECT_FALSE(sheet.canUndoPaste());
    EXPECT_FALSE(sheet.page(0).pasteNote()->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Ways, PasteWays, testing::Values("Keys", "Menu", "Drop"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param);
                         });

} // namespace
