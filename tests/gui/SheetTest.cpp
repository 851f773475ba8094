// SPDX-License-Identifier: MIT
#include <QAccessible>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QScreen>
#include <QTextBlock>
#include <QTextLayout>

#include "GuiTestSupport.h"

namespace {

using PropertySheet = SheetTest;

TEST_F(PropertySheet, HasTenTabsInOrderWithTheFirstSelected) {
    EncoderSheet& sheet = openSheet();
    EXPECT_EQ(sheet.windowTitle(), "Glomie Code 1.12.05 Encoder");
    const QStringList captions = {
        "SM",         "Favorites", "More Favorites", "Dislikes",      "More Dislikes",
        "Experience", "Opinions",  "Personal",       "More Personal", "Even More Personal"};
    ASSERT_EQ(sheet.tabs().count(), captions.size());
    for (int i = 0; i < captions.size(); ++i)
        EXPECT_EQ(sheet.tabs().tabText(i), captions[i]);
    EXPECT_EQ(sheet.tabs().currentIndex(), 0);
    EXPECT_EQ(codeBoxText(sheet.page(0)), "GlomieCode(1.12.05) SM:5m-");
    EXPECT_FALSE(sheet.windowIcon().isNull());
}

// Every page has its foot, and the sheet asks from the start for as much room as its pages need,
// though most of them are built after it is shown.
TEST_F(PropertySheet, EveryPageHasTheCodeBoxAndItsButtons) {
    EncoderSheet& sheet = openSheet();
    for (int i = 0; i < kPageCount; ++i) {
        AnswerPage& page = sheet.page(i);
        EXPECT_TRUE(page.codeBox()->isReadOnly());
        EXPECT_EQ(find<QPushButton>(page, "Decode").text(), "&Decode");
        EXPECT_EQ(find<QPushButton>(page, "CopyCode").text(), "&Copy Code");
    }
    EncoderSheet shown;
    shown.show();
    const QSize asked = shown.sizeHint();
    for (int i = 0; i < kPageCount; ++i) {
        shown.tabs().setCurrentIndex(i);
        QCoreApplication::sendPostedEvents(); // the layouts take in the page
    }
    EXPECT_EQ(shown.sizeHint(), asked);
}

// The settled handlers (where the application opens the way for later copies) run once, when every
// page is built, whether or not the sheet is drawn (a sheet started minimised may not be).
class SettledSheet : public SheetTest, public testing::WithParamInterface<bool> {};

TEST_P(SettledSheet, RunsItsHandlersOnceEveryPageIsBuilt) {
    EncoderSheet sheet;
    sheet.setAnswers(DefaultAnswers());
    int calls = 0;
    int builtAtCall = 0;
    sheet.addSettledHandler([&] {
        ++calls;
        for (int i = 0; i < kPageCount; ++i)
            builtAtCall += sheet.page(i).isBuilt();
    });
    if (GetParam()) {
        sheet.show();
    } else { // told it is shown, never drawn
        QShowEvent shown;
        QCoreApplication::sendEvent(&sheet, &shown);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return calls > 0; }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(builtAtCall, kPageCount);
}

INSTANTIATE_TEST_SUITE_P(PropertySheet, SettledSheet, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Drawn" : "NotDrawn");
                         });

TEST_F(PropertySheet, ATabSwitchShowsTheLatestCode) {
    EncoderSheet& sheet = openSheet();
    showTab(1);
    AnswerPage& favorites = sheet.page(1);
    ChooseItem(find<QComboBox>(favorites, "Senshi0"), 1);
    EXPECT_EQ(codeBoxText(favorites), "GlomieCode(1.12.05) SM:5m- F:sMo");
    showTab(0);
    EXPECT_EQ(codeBoxText(sheet.page(0)), "GlomieCode(1.12.05) SM:5m- F:sMo");
    showTab(3);
    EXPECT_EQ(codeBoxText(sheet.page(3)), "GlomieCode(1.12.05) SM:5m- F:sMo");
}

TEST_F(PropertySheet, CopyPutsTheWholeCodeOnTheClipboard) {
    EncoderSheet& sheet = openSheet({{"Exp/Years", 100}, {"Fav/Senshi0", 3}});
    QGuiApplication::clipboard()->setText(QStringLiteral("something older"));
    auto& copy = find<QPushButton>(sheet.page(0), "CopyCode");
    QTest::mouseClick(&copy, Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromStdString(sheet.fullCode()));
    // The button says so for two seconds; a screen reader hears its name.
    EXPECT_EQ(copy.text(), "Copied");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&copy)->text(QAccessible::Name), "Copied");
    EXPECT_TRUE(QTest::qWaitFor([&] { return copy.text() == "&Copy Code"; }, 3000));
    EXPECT_TRUE(QGuiApplication::clipboard()->text().endsWith(QString(50, QLatin1Char('*'))));

    // A narrow box breaks its lines only at a blank or before a part's colon, and its own copy
    // (Ctrl+C) gives the code alone.
    const QString code = "GlomieCode(1.12.05) SM:5-[7+]m+ F:sMo>+++Me+[++]:aLu++:pS<+[+] D:vBe>--- "
                         "X:***[*]:aClr++|ClS[SS]s++++ O:d--:!s++:?o:a?:h-[-]:x+ P:a23:eBg:hBr+:x75%:r+|+";
    const MessageBoxCatcher noQuestions;
    ASSERT_EQ(sheet.pasteCode(code), EncoderSheet::PasteOutcome::Taken);
    CodeBox& box = *sheet.page(0).codeBox();
    box.setFixedWidth(box.fontMetrics().horizontalAdvance(QStringLiteral("X:***[*]:aClr++|ClS[SS]s++++")) +
                      40);
    QTest::qWait(50);
    const QString shown = box.toPlainText();
    EXPECT_EQ(CodeBox::withoutMarks(shown), code);
    const QTextLayout* lines = box.document()->firstBlock().layout();
    ASSERT_GT(lines->lineCount(), 3);
    for (int i = 1; i < lines->lineCount(); ++i) {
        const int start = lines->lineAt(i).textStart();
        const QString before = CodeBox::withoutMarks(shown.left(start));
        const QString after = CodeBox::withoutMarks(shown.mid(start));
        EXPECT_TRUE(before.endsWith(' ') || after.startsWith(':'))
            << before.right(12).toStdString() << " | " << after.left(12).toStdString();
    }
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), code);
}

// clang-format off
// Answers that open every control a page can open at once.
const std::map<QString, int> EverythingOpen = {
    {"SM/ChkSec", 1},
    {"Fav/Senshi0", 1}, {"Fav/Senshi1", 1}, {"Fav/Villian0", 1}, {"Fav/Villian1", 1},
    {"Fav/Assist0", 1}, {"Fav/Assist1", 1}, {"Fav/Part0", 1}, {"Fav/Part1", 1},
    {"Dis/Senshi0", 1}, {"Dis/Senshi1", 1}, {"Dis/Villian0", 1}, {"Dis/Villian1", 1},
    {"Dis/Assist0", 1}, {"Dis/Assist1", 1}, {"Dis/Part0", 1}, {"Dis/Part1", 1},
    {"Exp/ByNumbers", 0}, {"Exp/RawComplete", 1}, {"Exp/SubPartial", 1}, {"Exp/DubComplete", 1},
    {"Exp/MangaRaw", 1}, {"Exp/MangaSub", 1},
    {"Op/OmitDub", 0}, {"Op/OmitSos", 0}, {"Op/OmitOw", 0}, {"Op/OmitAnti", 0}, {"Op/OmitHentai", 0},
    {"Op/OmitMixx", 0},
    {"Per/OmitAge", 0}, {"Per/OmitStature", 0}, {"Per/SpecifyExactStature", 1}, {"Per/OmitWeight", 0},
    {"Per/OmitFat", 0}, {"Per/OmitEyes", 0}, {"Per/Same", 0},
    {"Per/ColorLeft0", 1}, {"Per/ColorLeft1", 1}, {"Per/ColorLeft2", 1},
    {"Per/ColorRight0", 1}, {"Per/ColorRight1", 1}, {"Per/ColorRight2", 1},
    {"Per/OmitHair", 0}, {"Per/OmitTone", 0}, {"Per/OmitGroup", 0}, {"Per/OmitBloodType", 0},
    {"Per/OmitSign", 0}, {"Per/OmitGender", 0}, {"Per/OmitRelationship", 0}};

const QStringList Foot = {"CodeBox", "Decode", "CopyCode"};
QStringList Slots(const QStringList& choices) {
    QStringList names;
    for (const QString& choice : choices)
        names << choice << "Trend" + choice << "Intensity" + choice << "Boost" + choice;
    return names + Foot;
}

// What Tab reaches on each page, in order, with every control open that can be.
const QStringList TabOrders[kPageCount] = {
    {"Thanks", "Pri", "ChkSec", "Sec", "Description", "GlomiePref", "CodeBox", "Decode", "CopyCode"},
    Slots({"Senshi0", "Senshi1", "Villian0", "Villian1"}),
    Slots({"Assist0", "Assist1", "Part0", "Part1"}),
    Slots({"Senshi0", "Senshi1", "Villian0", "Villian1"}),
    Slots({"Assist0", "Assist1", "Part0", "Part1"}),
    QStringList{"Years", "ByNumbers",
                "RawComplete", "RawPartial", "IntensityRaw", "BoostRaw",
                "SubComplete", "SubPartial", "IntensitySub", "BoostSub",
                "DubComplete", "DubPartial", "IntensityDub", "BoostDub",
                "MangaRaw", "IntensityMangaRaw", "BoostMangaRaw",
                "MangaSub", "IntensityMangaSub", "BoostMangaSub"} + Foot,
    QStringList{"OmitDub", "WhatDub", "AmericanCartoon", "NoOpDub", "IntensityDub", "BoostDub",
                "OmitSos", "WhatSos", "Member", "NoOpSos", "Bitter", "IntensitySos", "BoostSos",
                "OmitOw", "WhatOw", "NoOpOw", "IntensityOw", "BoostOw",
                "OmitAnti", "NoOpAnti", "IntensityAnti", "BoostAnti",
                "OmitHentai", "NoOpHentai", "IntensityHentai", "BoostHentai",
                "OmitMixx", "WhatMixx", "NoOpMixx", "IntensityMixx", "BoostMixx"} + Foot,
    QStringList{"OmitAge", "SpecifyExactAge", "Age", "BoostAge",
                "OmitStature", "SpecifyExactStature", "ExactStatureFt", "ExactStatureIn",
                "OmitWeight", "SpecifyExactWeight", "NoTellWeight", "Weight", "BoostWeight",
                "OmitFat", "NoTellFat", "Fat", "BoostFat",
                "OmitEyes", "Same", "Glasses", "Contacts",
                "ColorLeft0", "ColorAdjLeft0", "ColorLeft1", "ColorAdjLeft1", "ColorLeft2", "ColorAdjLeft2",
                "ColorRight0", "ColorAdjRight0", "ColorRight1", "ColorAdjRight1", "ColorRight2",
                "ColorAdjRight2"} + Foot,
    QStringList{"OmitHair", "OmitTone", "OmitGroup", "OmitBloodType",
                "HairColor", "HairColorAdj", "Hair", "BoostHair", "Beard", "Moustache",
                "Tone", "BoostTone", "Group", "BloodType", "BloodTypeSign"} + Foot,
    QStringList{"OmitSign", "OmitGender", "OmitRelationship", "Sign", "Gender", "UsePurity", "NoTellKink",
                "Kink", "BoostKink", "KinkMembership", "Preference", "BoostPreference", "Status",
                "BoostStatus"} + Foot,
};
// clang-format on

// The control a focused widget belongs to: a spin's edit line stands for the spin.
QWidget* ControlOf(QWidget* widget) {
    while (widget &&
           (widget->objectName().isEmpty() || widget->objectName().startsWith(QLatin1String("qt_"))))
        widget = widget->parentWidget();
    return widget;
}

// The sheet on a screen narrower than its pages (the offscreen one is 800 wide): it fits, with its
// buttons, and Tab walks each page question by question, the code and its buttons last, scrolling
// each control into sight.
TEST_F(PropertySheet, OnASmallScreenTabWalksEveryPageInOrderAndShowsEachControl) {
    EncoderSheet& sheet = openSheet(EverythingOpen);
    const QRect screen = sheet.screen()->availableGeometry();
    ASSERT_FALSE(screen.size().expandedTo(sheet.sizeHint()) == screen.size()) << "the screen is too large";
    EXPECT_TRUE(screen.contains(sheet.frameGeometry())) << "the sheet is larger than the screen";
    QWidget& buttons = find<QWidget>(sheet, "Buttons");
    EXPECT_TRUE(screen.contains(QRect(buttons.mapToGlobal(QPoint(0, 0)), buttons.size())));
    QApplication::setActiveWindow(&sheet);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
    auto* tabBar = sheet.tabs().findChild<QTabBar*>();
    for (int tab = 0; tab < kPageCount; ++tab) {
        showTab(tab);
        AnswerPage& page = sheet.page(tab);
        tabBar->setFocus();
        QStringList reached;
        for (int step = 0; step < 60; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* control = ControlOf(QApplication::focusWidget());
            if (!control || !page.isAncestorOf(control))
                break;
            reached << control->objectName();
            EXPECT_FALSE(control->visibleRegion().isEmpty())
                << control->objectName().toStdString() << " is out of sight on " << tab;
        }
        EXPECT_EQ(reached, TabOrders[tab]) << "page " << tab;
        // Then the sheet's buttons, and back, also on a page built after the sheet.
        EXPECT_TRUE(buttons.isAncestorOf(QApplication::focusWidget())) << "page " << tab;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        EXPECT_EQ(ControlOf(QApplication::focusWidget())->objectName(), TabOrders[tab].last())
            << "page " << tab;
    }
}

// Ctrl+Tab and its kin change the page from every kind of control, also those that take keys of their
// own (a list, a spin, the code box) and the buttons outside the pages.
struct PageKeysCase {
    const char* Name;
    int Tab;
    const char* Control; // by object name, on the page or, for the sheet's buttons, on the sheet
    QKeyCombination Keys;
    int Reached;
};

std::ostream& operator<<(std::ostream& os, const PageKeysCase& c) {
    return os << c.Name;
}

class PageKeys : public SheetTest, public testing::WithParamInterface<PageKeysCase> {};

TEST_P(PageKeys, TurnThePageFromEveryControl) {
    const PageKeysCase& c = GetParam();
    EncoderSheet& sheet = openSheet(EverythingOpen);
    QApplication::setActiveWindow(&sheet);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
    showTab(c.Tab);
    QWidget* control = sheet.page(c.Tab).findChild<QWidget*>(QString::fromLatin1(c.Control));
    if (!control) {
        auto* buttons = sheet.findChild<QDialogButtonBox*>(QStringLiteral("Buttons"));
        for (QAbstractButton* button : buttons->buttons())
            if (button->text().remove(QLatin1Char('&')) == QLatin1String(c.Control))
                control = button;
    }
    ASSERT_TRUE(control) << c.Control;
    control->setFocus();
    QTest::keyClick(QApplication::focusWidget(), c.Keys.key(), c.Keys.keyboardModifiers());
    EXPECT_EQ(sheet.tabs().currentIndex(), c.Reached);
    EXPECT_TRUE(sheet.isAncestorOf(QApplication::focusWidget())) << "the focus stays on the sheet";
}

INSTANTIATE_TEST_SUITE_P(
    Controls, PageKeys,
    testing::Values(PageKeysCase{"FromAList", 1, "Senshi0", Qt::CTRL | Qt::Key_Tab, 2},
                    PageKeysCase{"FromTheSecondPageOn", 2, "Assist0", Qt::CTRL | Qt::Key_Tab, 3},
                    PageKeysCase{"FromASpin", 5, "Years", Qt::CTRL | Qt::Key_PageDown, 6},
                    PageKeysCase{"FromASlider", 0, "Pri", Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, 9},
                    PageKeysCase{"FromACountBox", 7, "ExactStatureFt", Qt::CTRL | Qt::Key_PageUp, 6},
                    PageKeysCase{"FromTheCodeBox", 9, "CodeBox", Qt::CTRL | Qt::Key_Tab, 0},
                    PageKeysCase{"FromDecode", 3, "Decode", Qt::CTRL | Qt::Key_Tab, 4},
                    PageKeysCase{"FromCopyCode", 4, "CopyCode", Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, 3},
                    PageKeysCase{"FromOk", 6, "OK", Qt::CTRL | Qt::Key_Tab, 7},
                    PageKeysCase{"FromCancel", 6, "Cancel", Qt::CTRL | Qt::Key_PageUp, 5},
                    PageKeysCase{"FromHelp", 8, "Help", Qt::CTRL | Qt::Key_PageDown, 9}),
    [](const testing::TestParamInfo<PageKeysCase>& info) { return std::string(info.param.Name); });

} // namespace
