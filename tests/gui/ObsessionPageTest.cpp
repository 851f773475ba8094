// SPDX-License-Identifier: MIT
#include "GuiTestSupport.h"
#include "code/Notation.h"
#include "vocabulary/Tables.h"

namespace {

using ObsessionPageTest = SheetTest;

QString Obsession(int level) {
    return QString::fromStdString(ObsessionDescription(level));
}

TEST_F(ObsessionPageTest, FirstRunShowsTheDefaults) {
    EncoderSheet& sheet = openSheet();
    AnswerPage& page = sheet.page(0);
    EXPECT_EQ(find<QSlider>(page, "Pri").value(), 15);
    EXPECT_EQ(find<QSlider>(page, "Pri").maximum(), 30);
    EXPECT_EQ(find<QSlider>(page, "Pri").pageStep(), 3);
    EXPECT_FALSE(find<QSlider>(page, "Sec").isEnabled());
    EXPECT_FALSE(find<QCheckBox>(page, "ChkSec").isChecked());
    EXPECT_EQ(find<QComboBox>(page, "GlomiePref").count(), 3);
    EXPECT_EQ(find<QComboBox>(page, "GlomiePref").currentText(),
              "If someone calls you a glomie, you go ballistic");
    EXPECT_EQ(find<QPlainTextEdit>(page, "Description").toPlainText(), Obsession(15));
    EXPECT_EQ(codeBoxText(page), "GlomieCode(1.12.05) SM:5m-");
}

TEST_F(ObsessionPageTest, SliderStepsChangeTheLevelTheDescriptionAndTheCode) {
    EncoderSheet& sheet = openSheet();
    AnswerPage& page = sheet.page(0);
    QSlider& primary = find<QSlider>(page, "Pri");
    PressKey(primary, Qt::Key_Right);
    EXPECT_EQ(sheet.answers().Obsession.Pri, 16);
    EXPECT_TRUE(find<QPlainTextEdit>(page, "Description").toPlainText().endsWith("(+)"));
    EXPECT_EQ(codeBoxText(page), "GlomieCode(1.12.05) SM:5+m-");
    PressKey(primary, Qt::Key_Left, 2);
    EXPECT_EQ(sheet.answers().Obsession.Pri, 14);
    EXPECT_EQ(find<QPlainTextEdit>(page, "Description").toPlainText(), Obsession(14));
    EXPECT_TRUE(Obsession(14).endsWith("(-)"));
    EXPECT_EQ(codeBoxText(page), "GlomieCode(1.12.05) SM:5-m-");
    PressKey(primary, Qt::Key_PageUp); // one whole level
    EXPECT_EQ(sheet.answers().Obsession.Pri, 17);
    PressKey(primary, Qt::Key_End);
    EXPECT_EQ(codeBoxText(page), "GlomieCode(1.12.05) SM:!m-");
}

TEST_F(ObsessionPageTest, TheEmptyFeelingLeavesTheFeelingOut) {
    EncoderSheet& sheet = openSheet();
    AnswerPage& page = sheet.page(0);
    ChooseItem(find<QComboBox>(page, "GlomiePref"), 0);
    EXPECT_EQ(sheet.answers().Obsession.GlomiePref, 0);
    EXPECT_EQ(codeBoxText(page), "GlomieCode(1.12.05) SM:5");
    ChooseItem(find<QComboBox>(page, "GlomiePref"), 2);
    EXPECT_EQ(codeBoxText(page), "GlomieCode(1.12.05) SM:5m+");
}

TEST_F(ObsessionPageTest, DamagedStoredValuesAreShownAsTheControlsAllow) {
    EncoderSheet& sheet = openSheet({{"SM/Pri", 99}, {"SM/ChkSec", 5}, {"SM/GlomiePref", 7}, {"SM/Sec", -4}});
    AnswerPage& page = sheet.page(0);
    EXPECT_EQ(find<QSlider>(page, "Pri").value(), 30);
    EXPECT_EQ(sheet.answers().Obsession.Pri, 99); // the field keeps the number until the slider moves
    EXPECT_EQ(sheet.answers().Obsession.ChkSec, 0);
    EXPECT_FALSE(find<QCheckBox>(page, "ChkSec").isChecked());
    EXPECT_EQ(find<QComboBox>(page, "GlomiePref").currentIndex(), -1);
    EXPECT_EQ(find<QPlainTextEdit>(page, "Description").toPlainText(), Obsession(99));
    EXPECT_EQ(codeBoxText(page), "GlomieCode(1.12.05) SM:!")
        << "the cleared switch drops the secondary level";
    PressKey(find<QSlider>(page, "Pri"), Qt::Key_Left);
    EXPECT_EQ(sheet.answers().Obsession.Pri, 29);
}

TEST_F(ObsessionPageTest, ControlsAreNamedForScreenReaders) {
    EncoderSheet& sheet = openSheet();
    AnswerPage& page = sheet.page(0);
    EXPECT_EQ(find<QSlider>(page, "Pri").accessibleName(), "Primary obsession level");
    EXPECT_EQ(find<QComboBox>(page, "GlomiePref").accessibleName(), "Feelings about the term Glomie");
    EXPECT_EQ(page.codeBox()->accessibleName(), "Code");
}

} // namespace
