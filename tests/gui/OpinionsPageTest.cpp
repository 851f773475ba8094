// SPDX-License-Identifier: MIT
#include <QGroupBox>

#include "GuiTestSupport.h"

namespace {

constexpr int Opinions = 6;

struct TopicCase {
    const char* Name;
    const char* Group;
    const char* Omit;
    const char* What; // empty: none
    const char* NoOpinion;
    int Minimum, Maximum;
};

// The six topics with their captions and slider ranges.
const TopicCase Topics[] = {
    {"Dub", "NA &Dub", "O&mit Dub", "&What NA Dub?", "&No Opinion", -2, 2},
    {"Sos", "&SOS (Save Our Sailors)", "Omit &SOS", "W&hat SOS?", "N&o Opinion", -2, 3},
    {"Ow", "&Otaku Wars!", "Omit Otaku Wars&!", "Wh&at OW!?", "&No Opinion", -2, 3},
    {"Anti", "SM Haters/&Antiglomies", "Omit Antiglomi&es", "", "No O&pinion", -2, 3},
    {"Hentai", "&Hentai", "Omit &Hentai", "", "No Op&inion", -3, 3},
    {"Mixx", "Mixx&zine", "Omit Mix&x", "Wha&t Mixxize?", "No& Opinion", -2, 3},
};

class OpinionsPageTest : public SheetTest {
  protected:
    AnswerPage& open(const std::map<QString, int>& stored = {}) {
        openSheet(stored);
        showTab(Opinions);
        return page();
    }
    AnswerPage& page() { return sheet().page(Opinions); }
    const OpinionsAnswers& answers() { return sheet().answers().Opinions; }

    QCheckBox& box(const QString& name) { return find<QCheckBox>(page(), name.toLatin1()); }
    QSlider& sliderOf(const QString& topic) {
        return find<QSlider>(page(), ("Intensity" + topic).toLatin1());
    }
    QSpinBox& tuneOf(const QString& topic) { return find<QSpinBox>(page(), ("Boost" + topic).toLatin1()); }
    void click(const QString& name) { QTest::mouseClick(&box(name), Qt::LeftButton); }
    QString code() { return codeBoxText(page()); }

    // Asserts each named control's enable state.
    void expectEnabled(const QStringList& names, bool enabled) {
        for (const QString& name : names) {
            auto* control = page().findChild<QWidget*>(name);
            ASSERT_NE(control, nullptr) << name.toStdString();
            EXPECT_EQ(control->isEnabled(), enabled) << name.toStdString();
        }
    }
    static QStringList tuneControls(const QString& topic) {
        return {"Intensity" + topic, "Boost" + topic, "TuneFrame" + topic};
    }
};

TEST_F(OpinionsPageTest, FirstRunOnlyTheOmitBoxesAreOpen) {
    AnswerPage& page = open();
    for (const TopicCase& topic : Topics) {
        const QString name = topic.Name;
        auto& group = find<QGroupBox>(page, (name + "Group").toLatin1());
        EXPECT_EQ(group.title(), topic.Group);
        EXPECT_FALSE(group.isEnabled());
        QCheckBox& omit = box("Omit" + name);
        EXPECT_EQ(omit.text(), topic.Omit);
        EXPECT_TRUE(omit.isChecked());
        EXPECT_TRUE(omit.isEnabled());
        EXPECT_FALSE(group.isAncestorOf(&omit)); // the omit boxes stand outside the topics
        EXPECT_EQ(box("NoOp" + name).text(), topic.NoOpinion);
        QStringList closed = tuneControls(name) << "NoOp" + name;
        if (*topic.What) {
            EXPECT_EQ(box("What" + name).text(), topic.What);
            closed << "What" + name;
        } else {
            EXPECT_EQ(page.findChild<QCheckBox*>("What" + name), nullptr);
        }
        expectEnabled(closed, false);
        EXPECT_EQ(sliderOf(name).minimum(), topic.Minimum);
        EXPECT_EQ(sliderOf(name).maximum(), topic.Maximum);
        EXPECT_EQ(sliderOf(name).value(), 0);
        // The tune may move the intensity by the slider's whole width either way.
        EXPECT_EQ(tuneOf(name).maximum(), topic.Maximum - topic.Minimum);
        EXPECT_EQ(tuneOf(name).minimum(), topic.Minimum - topic.Maximum);
        EXPECT_EQ(tuneOf(name).value(), 0);
    }
    EXPECT_EQ(box("AmericanCartoon").text(), "SM is a &Cartoon");
    EXPECT_EQ(box("Member").text(), "&Member");
    EXPECT_EQ(box("Bitter").text(), "&Bitter");
    expectEnabled({"AmericanCartoon", "Member", "Bitter"}, false);
    for (QCheckBox* box : page.findChildren<QCheckBox*>())
        EXPECT_EQ(box->isChecked(), box->objectName().startsWith("Omit")) << box->objectName().toStdString();
    EXPECT_EQ(code(), Header);
}

TEST_F(OpinionsPageTest, EveryStepRebuildsTheCode) {
    AnswerPage& page = open();
    QStringList codes;
    QObject::connect(page.codeBox(), &QPlainTextEdit::textChanged,
                     [&] { codes << CodeBox::withoutMarks(page.codeBox()->toPlainText()); });
    click("OmitMixx");
    PressKey(sliderOf("Mixx"), Qt::Key_Right);
    PressKey(tuneOf("Mixx"), Qt::Key_Down);
    PressKey(sliderOf("Mixx"), Qt::Key_Right);
    EXPECT_EQ(codes,
              QStringList({Header + " O:x", Header + " O:x+", Header + " O:x+[-]", Header + " O:x++[-]"}));
    EXPECT_EQ(sheet().fullCode(), codes.last().toStdString());
}

// The worked examples of the opinions section, answered through the page's controls.
TEST_F(OpinionsPageTest, WorkedExamplesBuiltThroughTheControls) {
    open();
    click("OmitDub");
    PressKey(sliderOf("Dub"), Qt::Key_Left, 2);
    click("OmitSos");
    click("Member");
    PressKey(sliderOf("Sos"), Qt::Key_Right, 2);
    click("OmitOw");
    click("WhatOw");
    click("OmitAnti");
    click("NoOpAnti");
    click("OmitHentai");
    PressKey(sliderOf("Hentai"), Qt::Key_Left);
    PressKey(tuneOf("Hentai"), Qt::Key_Down);
    click("OmitMixx");
    PressKey(sliderOf("Mixx"), Qt::Key_Right);
    EXPECT_EQ(code(), Header + " O:d--:!s++:?o:a?:h-[-]:x+");

    open();
    click("OmitDub");
    click("AmericanCartoon");
    PressKey(sliderOf("Dub"), Qt::Key_Right, 2);
    PressKey(tuneOf("Dub"), Qt::Key_Up); // intensity 2 is the top: no room for a tune
    EXPECT_EQ(code(), Header + " O:!d++");
    PressKey(sliderOf("Dub"), Qt::Key_Left);
    PressKey(tuneOf("Dub"), Qt::Key_Up);
    EXPECT_EQ(code(), Header + " O:!d+[+]");
    click("WhatDub");
    EXPECT_EQ(code(), Header + " O:?d");
}

TEST_F(OpinionsPageTest, StoredAnswersAreShownAndSavedAgain) {
    open({{"Op/OmitDub", 0},
          {"Op/AmericanCartoon", 1},
          {"Op/IntensityDub", 2},
          {"Op/BoostDub", 1},
          {"Op/OmitAnti", 0},
          {"Op/IntensityAnti", -3}, // past the slider's end
          {"Op/BoostAnti", -1},
          {"Op/OmitSos", 0},
          {"Op/Bitter", 1},
          {"Op/Member", 1}});
    // Stored values are shown as they are; the code uses them until the user touches the group.
    EXPECT_EQ(code(), Header + " O:!d++[+]:!sZ:a---[-]");
    EXPECT_TRUE(box("AmericanCartoon").isChecked());
    EXPECT_TRUE(box("Bitter").isChecked());
    EXPECT_FALSE(box("OmitDub").isChecked());
    EXPECT_EQ(sliderOf("Dub").value(), 2);
    EXPECT_EQ(tuneOf("Dub").value(), 1);
    EXPECT_EQ(sliderOf("Anti").value(), -2);
    EXPECT_EQ(answers().IntensityAnti, -3);
    expectEnabled(tuneControls("Dub"), true);
    expectEnabled(tuneControls("Sos"), false);
    PressKey(sliderOf("Anti"), Qt::Key_Right);
    EXPECT_EQ(answers().IntensityAnti, -1);
    EXPECT_EQ(answers().BoostAnti, -1);

    click("Bitter");
    PressKey(sliderOf("Sos"), Qt::Key_Right, 3);
    {
        auto store = SettingsStore::forIniFile(settingsPath());
        SaveSettings(*store, sheet().answers());
    }
    open();
    EXPECT_EQ(code(), Header + " O:!d++[+]:!s+++:a-[-]");
    EXPECT_EQ(sliderOf("Sos").value(), 3);
    EXPECT_FALSE(box("Bitter").isChecked());
    expectEnabled(tuneControls("Sos"), true);
}

TEST_F(OpinionsPageTest, DamagedFlagsBecomeZero) {
    open({{"Op/OmitHentai", 7}, {"Op/OmitMixx", -1}, {"Op/OmitOw", 2}, {"Op/IntensityMixx", 9}});
    EXPECT_EQ(answers().OmitHentai, 0);
    EXPECT_EQ(answers().OmitMixx, 0);
    EXPECT_FALSE(box("OmitHentai").isChecked());
    expectEnabled(tuneControls("Hentai"), true);
    // 2 is a state a check box can show.
    EXPECT_EQ(answers().OmitOw, 2);
    EXPECT_EQ(box("OmitOw").checkState(), Qt::PartiallyChecked);
    expectEnabled({"OwGroup"}, false);
    EXPECT_EQ(sliderOf("Mixx").value(), 3);
    EXPECT_EQ(answers().IntensityMixx, 9);
    // The code follows the repaired flags at once.
    EXPECT_EQ(code(), Header + " O:h:x+++++++++");
    PressKey(sliderOf("Mixx"), Qt::Key_Left);
    EXPECT_EQ(code(), Header + " O:h:x++");
}

TEST_F(OpinionsPageTest, ALaterVisitShowsTheFlagsAndKeepsTheSliders) {
    open();
    click("OmitOw");
    PressKey(sliderOf("Ow"), Qt::Key_Right, 3);
    showTab(Opinions - 1);
    AnswerSet changed = sheet().answers(); // as if changed elsewhere: the flags are shown again
    changed.Opinions.NoOpOw = 1;           // on each visit
    sheet().setAnswers(changed);
    showTab(Opinions);
    EXPECT_TRUE(box("NoOpOw").isChecked());
    EXPECT_EQ(sliderOf("Ow").value(), 3);
}

TEST_F(OpinionsPageTest, ControlsAreNamedAndReachableByKeyboard) {
    AnswerPage& page = open();
    EXPECT_EQ(sliderOf("Sos").accessibleName(), "Opinion on SOS");
    EXPECT_EQ(tuneOf("Hentai").accessibleName(), "Tune of the opinion on hentai");
    EXPECT_EQ(box("NoOpMixx").accessibleName(), "No opinion on Mixxzine");
    EXPECT_EQ(box("OmitOw").accessibleName(), "Omit Otaku Wars!");
    for (QWidget* control : page.findChildren<QWidget*>()) {
        if (qobject_cast<QSlider*>(control) || qobject_cast<QAbstractSpinBox*>(control) ||
            qobject_cast<QCheckBox*>(control)) {
            EXPECT_FALSE(control->objectName().isEmpty());
            EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
            EXPECT_NE(control->focusPolicy() & Qt::TabFocus, 0) << control->objectName().toStdString();
        }
    }

    QApplication::setActiveWindow(&sheet());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet()));
    QTest::keyClick(&sheet(), Qt::Key_X, Qt::AltModifier); // "Omit Mix&x"
    QTRY_COMPARE(answers().OmitMixx, 0);
    EXPECT_EQ(code(), Header + " O:x");
    QTest::keyClick(&sheet(), Qt::Key_Z, Qt::AltModifier); // "Mixx&zine": into the open topic
    EXPECT_EQ(QApplication::focusWidget(), &box("WhatMixx"));
}

} // namespace
