// SPDX-License-Identifier: MIT
#include <QGroupBox>

#include "GuiTestSupport.h"

namespace {

constexpr int Opinions = 6;
const QString Header = QStringLiteral("GlomieCode(1.12.05) SM:5m-");

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

TEST_F(OpinionsPageTest, TheDubRule) {
    open();
    click("OmitDub");
    EXPECT_EQ(answers().OmitDub, 0);
    expectEnabled(QStringList{"DubGroup", "WhatDub", "AmericanCartoon", "NoOpDub"} + tuneControls("Dub"),
                  true);
    EXPECT_EQ(code(), Header + " O:d");

    click("AmericanCartoon");
    PressKey(sliderOf("Dub"), Qt::Key_Right);
    EXPECT_EQ(code(), Header + " O:!d+");
    click("WhatDub"); // closes what it replaces, which keeps its values
    expectEnabled(QStringList{"AmericanCartoon", "NoOpDub"} + tuneControls("Dub"), false);
    expectEnabled({"DubGroup", "WhatDub", "OmitDub"}, true);
    EXPECT_TRUE(box("AmericanCartoon").isChecked());
    EXPECT_EQ(sliderOf("Dub").value(), 1);
    EXPECT_EQ(code(), Header + " O:?d");
    click("WhatDub");
    EXPECT_EQ(code(), Header + " O:!d+");

    click("NoOpDub"); // only the intensity goes; the cartoon mark stays
    expectEnabled(tuneControls("Dub"), false);
    expectEnabled({"AmericanCartoon", "NoOpDub", "WhatDub"}, true);
    EXPECT_EQ(code(), Header + " O:!d?");

    click("OmitDub");
    expectEnabled(QStringList{"DubGroup", "WhatDub", "AmericanCartoon", "NoOpDub"} + tuneControls("Dub"),
                  false);
    EXPECT_TRUE(box("OmitDub").isEnabled());
    EXPECT_EQ(answers().NoOpDub, 1);
    EXPECT_EQ(answers().AmericanCartoon, 1);
    EXPECT_EQ(code(), Header);
}

TEST_F(OpinionsPageTest, TheSosRuleBitterReplacesTheIntensityAndMemberStays) {
    open();
    click("OmitSos");
    click("Member");
    EXPECT_EQ(code(), Header + " O:!s");
    click("Bitter");
    expectEnabled(tuneControls("Sos"), false);
    expectEnabled({"Member", "NoOpSos", "Bitter", "WhatSos"}, true);
    EXPECT_EQ(code(), Header + " O:!sZ");

    click("NoOpSos");
    expectEnabled(QStringList{"Bitter"} + tuneControls("Sos"), false);
    expectEnabled({"Member", "NoOpSos"}, true);
    EXPECT_TRUE(box("Bitter").isChecked());
    EXPECT_EQ(code(), Header + " O:!s?");

    click("WhatSos");
    expectEnabled(QStringList{"Member", "NoOpSos", "Bitter"} + tuneControls("Sos"), false);
    EXPECT_EQ(code(), Header + " O:?s");
    click("WhatSos");
    click("NoOpSos");
    expectEnabled({"Bitter", "Member"}, true);
    expectEnabled(tuneControls("Sos"), false); // still bitter
    click("Bitter");
    expectEnabled(tuneControls("Sos"), true);
    EXPECT_EQ(code(), Header + " O:!s");
}

TEST_F(OpinionsPageTest, TheOtakuWarsAndMixxzineRules) {
    open();
    for (const QString topic : {"Ow", "Mixx"}) {
        click("Omit" + topic);
        expectEnabled(QStringList{topic + "Group", "What" + topic, "NoOp" + topic} + tuneControls(topic),
                      true);
        click("NoOp" + topic);
        expectEnabled(tuneControls(topic), false);
        expectEnabled({"What" + topic, "NoOp" + topic}, true);
        click("What" + topic);
        expectEnabled(QStringList{"NoOp" + topic} + tuneControls(topic), false);
        EXPECT_TRUE(box("NoOp" + topic).isChecked());
    }
    EXPECT_EQ(code(), Header + " O:?o:?x");
    click("WhatOw");
    click("NoOpMixx"); // closed while "What" is ticked: the click does nothing
    EXPECT_EQ(answers().NoOpMixx, 1);
    click("WhatMixx");
    click("NoOpMixx");
    EXPECT_EQ(code(), Header + " O:o?:x");
    expectEnabled(tuneControls("Mixx"), true);
}

TEST_F(OpinionsPageTest, TopicsWithoutAWhatBoxOpenAtOnce) {
    open({{"Op/NoOpHentai", 1}});
    click("OmitAnti");
    expectEnabled(QStringList{"AntiGroup", "NoOpAnti"} + tuneControls("Anti"), true);
    click("OmitHentai");
    expectEnabled({"HentaiGroup", "NoOpHentai"}, true);
    expectEnabled(tuneControls("Hentai"), false);
    EXPECT_EQ(code(), Header + " O:a:h?");
    click("NoOpHentai");
    expectEnabled(tuneControls("Hentai"), true);
    EXPECT_EQ(code(), Header + " O:a:h");
}

TEST_F(OpinionsPageTest, TheTuneKeepsTheIntensityInsideTheSlider) {
    open();
    click("OmitDub");
    QSlider& slider = sliderOf("Dub");
    QSpinBox& tune = tuneOf("Dub");
    PressKey(tune, Qt::Key_Up, 3); // at 0 the tune ranges from -2 to 2 and no further
    EXPECT_EQ(tune.value(), 2);
    PressKey(tune, Qt::Key_Down, 6);
    EXPECT_EQ(tune.value(), -2);
    EXPECT_EQ(code(), Header + " O:d[--]");
    PressKey(tune, Qt::Key_Up, 2);
    PressKey(slider, Qt::Key_Right, 2);
    EXPECT_EQ(answers().IntensityDub, 2);
    PressKey(tune, Qt::Key_Up); // the dub slider's maximum is 2: set back at once
    EXPECT_EQ(tune.value(), 0);
    EXPECT_EQ(answers().BoostDub, 0);
    EXPECT_EQ(code(), Header + " O:d++");
    PressKey(slider, Qt::Key_Left, 4);
    PressKey(tune, Qt::Key_Down);
    EXPECT_EQ(tune.value(), 0);
    EXPECT_EQ(code(), Header + " O:d--");

    // The hentai slider from 0 to 3 with a tune of 2, and to -3 with a tune of -2.
    click("OmitHentai");
    PressKey(tuneOf("Hentai"), Qt::Key_Up, 2);
    PressKey(sliderOf("Hentai"), Qt::Key_Right, 3);
    EXPECT_EQ(answers().BoostHentai, 0);
    PressKey(sliderOf("Hentai"), Qt::Key_Left, 3);
    PressKey(tuneOf("Hentai"), Qt::Key_Down, 2);
    EXPECT_EQ(answers().BoostHentai, -2);
    PressKey(sliderOf("Hentai"), Qt::Key_Left, 3);
    EXPECT_EQ(answers().IntensityHentai, -3);
    EXPECT_EQ(answers().BoostHentai, 0);

    // The SOS slider: at 2 a tune of 3 is cut to 1; at -2 a tune of -1 is raised to 0.
    click("OmitSos");
    PressKey(tuneOf("Sos"), Qt::Key_Up, 3);
    EXPECT_EQ(answers().BoostSos, 3);
    PressKey(sliderOf("Sos"), Qt::Key_Right, 2);
    EXPECT_EQ(answers().BoostSos, 1);
    PressKey(tuneOf("Sos"), Qt::Key_Down, 2);
    PressKey(sliderOf("Sos"), Qt::Key_Home);
    EXPECT_EQ(answers().IntensitySos, -2);
    EXPECT_EQ(answers().BoostSos, 0);
    EXPECT_EQ(code(), Header + " O:d--:s--:h---");
}

TEST_F(OpinionsPageTest, EveryStepRebuildsTheCode) {
    AnswerPage& page = open();
    QStringList codes;
    QObject::connect(page.codeBox(), &QPlainTextEdit::textChanged,
                     [&] { codes << page.codeBox()->toPlainText(); });
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
