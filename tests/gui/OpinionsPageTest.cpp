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
    AnswerPage& Open(const std::map<QString, int>& stored = {}) {
        OpenSheet(stored);
        ShowTab(Opinions);
        return Page();
    }
    AnswerPage& Page() { return Sheet().page(Opinions); }
    const OpinionsAnswers& Answers() { return Sheet().answers().Opinions; }

    QCheckBox& Box(const QString& name) { return Find<QCheckBox>(Page(), name.toLatin1()); }
    QSlider& Slider(const QString& topic) { return Find<QSlider>(Page(), ("Intensity" + topic).toLatin1()); }
    QSpinBox& Tune(const QString& topic) { return Find<QSpinBox>(Page(), ("Boost" + topic).toLatin1()); }
    void Click(const QString& name) { QTest::mouseClick(&Box(name), Qt::LeftButton); }
    QString Code() { return CodeBoxText(Page()); }

    // Asserts each named control's enable state.
    void ExpectEnabled(const QStringList& names, bool enabled) {
        for (const QString& name : names) {
            auto* control = Page().findChild<QWidget*>(name);
            ASSERT_NE(control, nullptr) << name.toStdString();
            EXPECT_EQ(control->isEnabled(), enabled) << name.toStdString();
        }
    }
    static QStringList TuneControls(const QString& topic) {
        return {"Intensity" + topic, "Boost" + topic, "TuneFrame" + topic};
    }
};

TEST_F(OpinionsPageTest, FirstRunOnlyTheOmitBoxesAreOpen) {
    AnswerPage& page = Open();
    for (const TopicCase& topic : Topics) {
        const QString name = topic.Name;
        auto& group = Find<QGroupBox>(page, (name + "Group").toLatin1());
        EXPECT_EQ(group.title(), topic.Group);
        EXPECT_FALSE(group.isEnabled());
        QCheckBox& omit = Box("Omit" + name);
        EXPECT_EQ(omit.text(), topic.Omit);
        EXPECT_TRUE(omit.isChecked());
        EXPECT_TRUE(omit.isEnabled());
        EXPECT_FALSE(group.isAncestorOf(&omit)); // the omit boxes stand outside the topics
        EXPECT_EQ(Box("NoOp" + name).text(), topic.NoOpinion);
        QStringList closed = TuneControls(name) << "NoOp" + name;
        if (*topic.What) {
            EXPECT_EQ(Box("What" + name).text(), topic.What);
            closed << "What" + name;
        } else {
            EXPECT_EQ(page.findChild<QCheckBox*>("What" + name), nullptr);
        }
        ExpectEnabled(closed, false);
        EXPECT_EQ(Slider(name).minimum(), topic.Minimum);
        EXPECT_EQ(Slider(name).maximum(), topic.Maximum);
        EXPECT_EQ(Slider(name).value(), 0);
        // The tune may move the intensity by the slider's whole width either way.
        EXPECT_EQ(Tune(name).maximum(), topic.Maximum - topic.Minimum);
        EXPECT_EQ(Tune(name).minimum(), topic.Minimum - topic.Maximum);
        EXPECT_EQ(Tune(name).value(), 0);
    }
    EXPECT_EQ(Box("AmericanCartoon").text(), "SM is a &Cartoon");
    EXPECT_EQ(Box("Member").text(), "&Member");
    EXPECT_EQ(Box("Bitter").text(), "&Bitter");
    ExpectEnabled({"AmericanCartoon", "Member", "Bitter"}, false);
    for (QCheckBox* box : page.findChildren<QCheckBox*>())
        EXPECT_EQ(box->isChecked(), box->objectName().startsWith("Omit")) << box->objectName().toStdString();
    EXPECT_EQ(Code(), Header);
}

TEST_F(OpinionsPageTest, TheDubRule) {
    Open();
    Click("OmitDub");
    EXPECT_EQ(Answers().OmitDub, 0);
    ExpectEnabled(QStringList{"DubGroup", "WhatDub", "AmericanCartoon", "NoOpDub"} + TuneControls("Dub"),
                  true);
    EXPECT_EQ(Code(), Header + " O:d");

    Click("AmericanCartoon");
    PressKey(Slider("Dub"), Qt::Key_Right);
    EXPECT_EQ(Code(), Header + " O:!d+");
    Click("WhatDub"); // closes what it replaces, which keeps its values
    ExpectEnabled(QStringList{"AmericanCartoon", "NoOpDub"} + TuneControls("Dub"), false);
    ExpectEnabled({"DubGroup", "WhatDub", "OmitDub"}, true);
    EXPECT_TRUE(Box("AmericanCartoon").isChecked());
    EXPECT_EQ(Slider("Dub").value(), 1);
    EXPECT_EQ(Code(), Header + " O:?d");
    Click("WhatDub");
    EXPECT_EQ(Code(), Header + " O:!d+");

    Click("NoOpDub"); // only the intensity goes; the cartoon mark stays
    ExpectEnabled(TuneControls("Dub"), false);
    ExpectEnabled({"AmericanCartoon", "NoOpDub", "WhatDub"}, true);
    EXPECT_EQ(Code(), Header + " O:!d?");

    Click("OmitDub");
    ExpectEnabled(QStringList{"DubGroup", "WhatDub", "AmericanCartoon", "NoOpDub"} + TuneControls("Dub"),
                  false);
    EXPECT_TRUE(Box("OmitDub").isEnabled());
    EXPECT_EQ(Answers().NoOpDub, 1);
    EXPECT_EQ(Answers().AmericanCartoon, 1);
    EXPECT_EQ(Code(), Header);
}

TEST_F(OpinionsPageTest, TheSosRuleBitterReplacesTheIntensityAndMemberStays) {
    Open();
    Click("OmitSos");
    Click("Member");
    EXPECT_EQ(Code(), Header + " O:!s");
    Click("Bitter");
    ExpectEnabled(TuneControls("Sos"), false);
    ExpectEnabled({"Member", "NoOpSos", "Bitter", "WhatSos"}, true);
    EXPECT_EQ(Code(), Header + " O:!sZ");

    Click("NoOpSos");
    ExpectEnabled(QStringList{"Bitter"} + TuneControls("Sos"), false);
    ExpectEnabled({"Member", "NoOpSos"}, true);
    EXPECT_TRUE(Box("Bitter").isChecked());
    EXPECT_EQ(Code(), Header + " O:!s?");

    Click("WhatSos");
    ExpectEnabled(QStringList{"Member", "NoOpSos", "Bitter"} + TuneControls("Sos"), false);
    EXPECT_EQ(Code(), Header + " O:?s");
    Click("WhatSos");
    Click("NoOpSos");
    ExpectEnabled({"Bitter", "Member"}, true);
    ExpectEnabled(TuneControls("Sos"), false); // still bitter
    Click("Bitter");
    ExpectEnabled(TuneControls("Sos"), true);
    EXPECT_EQ(Code(), Header + " O:!s");
}

TEST_F(OpinionsPageTest, TheOtakuWarsAndMixxzineRules) {
    Open();
    for (const QString topic : {"Ow", "Mixx"}) {
        Click("Omit" + topic);
        ExpectEnabled(QStringList{topic + "Group", "What" + topic, "NoOp" + topic} + TuneControls(topic),
                      true);
        Click("NoOp" + topic);
        ExpectEnabled(TuneControls(topic), false);
        ExpectEnabled({"What" + topic, "NoOp" + topic}, true);
        Click("What" + topic);
        ExpectEnabled(QStringList{"NoOp" + topic} + TuneControls(topic), false);
        EXPECT_TRUE(Box("NoOp" + topic).isChecked());
    }
    EXPECT_EQ(Code(), Header + " O:?o:?x");
    Click("WhatOw");
    Click("NoOpMixx"); // closed while "What" is ticked: the click does nothing
    EXPECT_EQ(Answers().NoOpMixx, 1);
    Click("WhatMixx");
    Click("NoOpMixx");
    EXPECT_EQ(Code(), Header + " O:o?:x");
    ExpectEnabled(TuneControls("Mixx"), true);
}

TEST_F(OpinionsPageTest, TopicsWithoutAWhatBoxOpenAtOnce) {
    Open({{"Op/NoOpHentai", 1}});
    Click("OmitAnti");
    ExpectEnabled(QStringList{"AntiGroup", "NoOpAnti"} + TuneControls("Anti"), true);
    Click("OmitHentai");
    ExpectEnabled({"HentaiGroup", "NoOpHentai"}, true);
    ExpectEnabled(TuneControls("Hentai"), false);
    EXPECT_EQ(Code(), Header + " O:a:h?");
    Click("NoOpHentai");
    ExpectEnabled(TuneControls("Hentai"), true);
    EXPECT_EQ(Code(), Header + " O:a:h");
}

TEST_F(OpinionsPageTest, TheTuneKeepsTheIntensityInsideTheSlider) {
    Open();
    Click("OmitDub");
    QSlider& slider = Slider("Dub");
    QSpinBox& tune = Tune("Dub");
    PressKey(tune, Qt::Key_Up, 3); // at 0 the tune ranges from -2 to 2 and no further
    EXPECT_EQ(tune.value(), 2);
    PressKey(tune, Qt::Key_Down, 6);
    EXPECT_EQ(tune.value(), -2);
    EXPECT_EQ(Code(), Header + " O:d[--]");
    PressKey(tune, Qt::Key_Up, 2);
    PressKey(slider, Qt::Key_Right, 2);
    EXPECT_EQ(Answers().IntensityDub, 2);
    PressKey(tune, Qt::Key_Up); // the dub slider's maximum is 2: set back at once
    EXPECT_EQ(tune.value(), 0);
    EXPECT_EQ(Answers().BoostDub, 0);
    EXPECT_EQ(Code(), Header + " O:d++");
    PressKey(slider, Qt::Key_Left, 4);
    PressKey(tune, Qt::Key_Down);
    EXPECT_EQ(tune.value(), 0);
    EXPECT_EQ(Code(), Header + " O:d--");

    // The hentai slider from 0 to 3 with a tune of 2, and to -3 with a tune of -2.
    Click("OmitHentai");
    PressKey(Tune("Hentai"), Qt::Key_Up, 2);
    PressKey(Slider("Hentai"), Qt::Key_Right, 3);
    EXPECT_EQ(Answers().BoostHentai, 0);
    PressKey(Slider("Hentai"), Qt::Key_Left, 3);
    PressKey(Tune("Hentai"), Qt::Key_Down, 2);
    EXPECT_EQ(Answers().BoostHentai, -2);
    PressKey(Slider("Hentai"), Qt::Key_Left, 3);
    EXPECT_EQ(Answers().IntensityHentai, -3);
    EXPECT_EQ(Answers().BoostHentai, 0);

    // The SOS slider: at 2 a tune of 3 is cut to 1; at -2 a tune of -1 is raised to 0.
    Click("OmitSos");
    PressKey(Tune("Sos"), Qt::Key_Up, 3);
    EXPECT_EQ(Answers().BoostSos, 3);
    PressKey(Slider("Sos"), Qt::Key_Right, 2);
    EXPECT_EQ(Answers().BoostSos, 1);
    PressKey(Tune("Sos"), Qt::Key_Down, 2);
    PressKey(Slider("Sos"), Qt::Key_Home);
    EXPECT_EQ(Answers().IntensitySos, -2);
    EXPECT_EQ(Answers().BoostSos, 0);
    EXPECT_EQ(Code(), Header + " O:d--:s--:h---");
}

TEST_F(OpinionsPageTest, EveryStepRebuildsTheCode) {
    AnswerPage& page = Open();
    QStringList codes;
    QObject::connect(page.codeBox(), &QPlainTextEdit::textChanged,
                     [&] { codes << page.codeBox()->toPlainText(); });
    Click("OmitMixx");
    PressKey(Slider("Mixx"), Qt::Key_Right);
    PressKey(Tune("Mixx"), Qt::Key_Down);
    PressKey(Slider("Mixx"), Qt::Key_Right);
    EXPECT_EQ(codes,
              QStringList({Header + " O:x", Header + " O:x+", Header + " O:x+[-]", Header + " O:x++[-]"}));
    EXPECT_EQ(Sheet().fullCode(), codes.last().toStdString());
}

// The worked examples of the opinions section, answered through the page's controls.
TEST_F(OpinionsPageTest, WorkedExamplesBuiltThroughTheControls) {
    Open();
    Click("OmitDub");
    PressKey(Slider("Dub"), Qt::Key_Left, 2);
    Click("OmitSos");
    Click("Member");
    PressKey(Slider("Sos"), Qt::Key_Right, 2);
    Click("OmitOw");
    Click("WhatOw");
    Click("OmitAnti");
    Click("NoOpAnti");
    Click("OmitHentai");
    PressKey(Slider("Hentai"), Qt::Key_Left);
    PressKey(Tune("Hentai"), Qt::Key_Down);
    Click("OmitMixx");
    PressKey(Slider("Mixx"), Qt::Key_Right);
    EXPECT_EQ(Code(), Header + " O:d--:!s++:?o:a?:h-[-]:x+");

    Open();
    Click("OmitDub");
    Click("AmericanCartoon");
    PressKey(Slider("Dub"), Qt::Key_Right, 2);
    PressKey(Tune("Dub"), Qt::Key_Up); // intensity 2 is the top: no room for a tune
    EXPECT_EQ(Code(), Header + " O:!d++");
    PressKey(Slider("Dub"), Qt::Key_Left);
    PressKey(Tune("Dub"), Qt::Key_Up);
    EXPECT_EQ(Code(), Header + " O:!d+[+]");
    Click("WhatDub");
    EXPECT_EQ(Code(), Header + " O:?d");
}

TEST_F(OpinionsPageTest, StoredAnswersAreShownAndSavedAgain) {
    Open({{"Op/OmitDub", 0},
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
    EXPECT_EQ(Code(), Header + " O:!d++[+]:!sZ:a---[-]");
    EXPECT_TRUE(Box("AmericanCartoon").isChecked());
    EXPECT_TRUE(Box("Bitter").isChecked());
    EXPECT_FALSE(Box("OmitDub").isChecked());
    EXPECT_EQ(Slider("Dub").value(), 2);
    EXPECT_EQ(Tune("Dub").value(), 1);
    EXPECT_EQ(Slider("Anti").value(), -2);
    EXPECT_EQ(Answers().IntensityAnti, -3);
    ExpectEnabled(TuneControls("Dub"), true);
    ExpectEnabled(TuneControls("Sos"), false);
    PressKey(Slider("Anti"), Qt::Key_Right);
    EXPECT_EQ(Answers().IntensityAnti, -1);
    EXPECT_EQ(Answers().BoostAnti, -1);

    Click("Bitter");
    PressKey(Slider("Sos"), Qt::Key_Right, 3);
    {
        auto store = QSettingsStore::ForIniFile(SettingsPath());
        SaveSettings(*store, Sheet().answers());
    }
    Open();
    EXPECT_EQ(Code(), Header + " O:!d++[+]:!s+++:a-[-]");
    EXPECT_EQ(Slider("Sos").value(), 3);
    EXPECT_FALSE(Box("Bitter").isChecked());
    ExpectEnabled(TuneControls("Sos"), true);
}

TEST_F(OpinionsPageTest, DamagedFlagsBecomeZero) {
    Open({{"Op/OmitHentai", 7}, {"Op/OmitMixx", -1}, {"Op/OmitOw", 2}, {"Op/IntensityMixx", 9}});
    EXPECT_EQ(Answers().OmitHentai, 0);
    EXPECT_EQ(Answers().OmitMixx, 0);
    EXPECT_FALSE(Box("OmitHentai").isChecked());
    ExpectEnabled(TuneControls("Hentai"), true);
    // 2 is a state a check box can show.
    EXPECT_EQ(Answers().OmitOw, 2);
    EXPECT_EQ(Box("OmitOw").checkState(), Qt::PartiallyChecked);
    ExpectEnabled({"OwGroup"}, false);
    EXPECT_EQ(Slider("Mixx").value(), 3);
    EXPECT_EQ(Answers().IntensityMixx, 9);
    // The code follows the repaired flags at once.
    EXPECT_EQ(Code(), Header + " O:h:x+++++++++");
    PressKey(Slider("Mixx"), Qt::Key_Left);
    EXPECT_EQ(Code(), Header + " O:h:x++");
}

TEST_F(OpinionsPageTest, ALaterVisitShowsTheFlagsAndKeepsTheSliders) {
    Open();
    Click("OmitOw");
    PressKey(Slider("Ow"), Qt::Key_Right, 3);
    ShowTab(Opinions - 1);
    AnswerSet changed = Sheet().answers(); // as if changed elsewhere: the flags are shown again
    changed.Opinions.NoOpOw = 1;            // on each visit
    Sheet().setAnswers(changed);
    ShowTab(Opinions);
    EXPECT_TRUE(Box("NoOpOw").isChecked());
    EXPECT_EQ(Slider("Ow").value(), 3);
}

TEST_F(OpinionsPageTest, ControlsAreNamedAndReachableByKeyboard) {
    AnswerPage& page = Open();
    EXPECT_EQ(Slider("Sos").accessibleName(), "Opinion on SOS");
    EXPECT_EQ(Tune("Hentai").accessibleName(), "Tune of the opinion on hentai");
    EXPECT_EQ(Box("NoOpMixx").accessibleName(), "No opinion on Mixxzine");
    EXPECT_EQ(Box("OmitOw").accessibleName(), "Omit Otaku Wars!");
    for (QWidget* control : page.findChildren<QWidget*>()) {
        if (qobject_cast<QSlider*>(control) || qobject_cast<QAbstractSpinBox*>(control) ||
            qobject_cast<QCheckBox*>(control)) {
            EXPECT_FALSE(control->objectName().isEmpty());
            EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
            EXPECT_NE(control->focusPolicy() & Qt::TabFocus, 0) << control->objectName().toStdString();
        }
    }

    QApplication::setActiveWindow(&Sheet());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Sheet()));
    QTest::keyClick(&Sheet(), Qt::Key_X, Qt::AltModifier); // "Omit Mix&x"
    QTRY_COMPARE(Answers().OmitMixx, 0);
    EXPECT_EQ(Code(), Header + " O:x");
    QTest::keyClick(&Sheet(), Qt::Key_Z, Qt::AltModifier); // "Mixx&zine": into the open topic
    EXPECT_EQ(QApplication::focusWidget(), &Box("WhatMixx"));
}

} // namespace
