// SPDX-License-Identifier: MIT
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QStyleOptionButton>
#include <climits>
#include <set>

#include "GuiTestSupport.h"

namespace {

constexpr int PersonalTab = 7, MorePersonalTab = 8, EvenMorePersonalTab = 9;

// Works the controls of one page as a user would, finding them by name.
struct Driver {
    QWidget& page;

    template <typename T> T& get(const QString& name) const {
        T* widget = page.findChild<T*>(name);
        if (!widget)
            ADD_FAILURE() << "no control named " << name.toStdString();
        return *widget;
    }
    // A click on the box's indicator.
    void toggle(const QString& name) const {
        auto& box = get<QCheckBox>(name);
        const Qt::CheckState before = box.checkState();
        QStyleOptionButton option;
        option.initFrom(&box);
        const QRect indicator = box.style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, &box);
        QTest::mouseClick(&box, Qt::LeftButton, {}, indicator.center());
        EXPECT_NE(box.checkState(), before) << "the click missed " << name.toStdString();
    }
    void choose(const QString& name, int index) const { ChooseItem(get<QComboBox>(name), index); }
    void press(const QString& name, Qt::Key key, int times = 1) const {
        PressKey(get<QWidget>(name), key, times);
    }
    // Replaces the whole text of a count box by typing; an empty text clears it.
    void type(const QString& name, const QString& text) const {
        auto& box = get<QLineEdit>(name);
        TypeText(box, text);
        EXPECT_EQ(box.text(), text);
    }
    void clickItem(const QString& name, int position) const {
        ClickListItem(get<QListWidget>(name), position);
    }
};

// The names of the page's own controls that are enabled (Qt's inner parts left aside).
std::set<QString> EnabledControls(QWidget& page) {
    std::set<QString> names;
    for (QWidget* widget : page.findChildren<QWidget*>()) {
        const QString name = widget->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")) && widget->isEnabled())
            names.insert(name);
    }
    return names;
}

void ExpectEnabled(const Driver& page, const QStringList& names, bool enabled) {
    for (const QString& name : names)
        EXPECT_EQ(page.get<QWidget>(name).isEnabled(), enabled) << name.toStdString();
}

class PersonalPages : public SheetTest {
  protected:
    Driver open(int tab, const std::map<QString, int>& stored = {}) {
        openSheet(stored);
        showTab(tab);
        return Driver{sheet().page(tab)};
    }
    QString code(int tab) { return codeBoxText(sheet().page(tab)); }
    const PersonalAnswers& p0() { return sheet().answers().Personal; }
    const MorePersonalAnswers& p1() { return sheet().answers().MorePersonal; }
    const EvenMorePersonalAnswers& p2() { return sheet().answers().EvenMorePersonal; }

    // Tries to leave the current page for another; returns the messages shown.
    QStringList leave(int toTab) {
        MessageBoxCatcher catcher;
        showTab(toTab);
        QTest::qWait(50);
        return catcher.texts();
    }
};

// ---------------------------------------------------------------------------------------------------
// Personal

using PersonalPageTest = PersonalPages;

TEST_F(PersonalPageTest, FirstRunOpensOnlyTheOmitBoxes) {
    Driver page = open(PersonalTab);
    for (const char* name : {"OmitAge", "OmitStature", "OmitWeight", "OmitFat", "OmitEyes", "Same"})
        EXPECT_TRUE(page.get<QCheckBox>(name).isChecked()) << name;
    for (const char* name : {"SpecifyExactAge", "SpecifyExactStature", "SpecifyExactWeight", "NoTellWeight",
                             "NoTellFat", "Glasses", "Contacts"})
        EXPECT_FALSE(page.get<QCheckBox>(name).isChecked()) << name;
    for (const char* name : {"ExactAge", "ExactStatureFt", "ExactStatureIn", "ExactWeight"})
        EXPECT_EQ(page.get<QLineEdit>(name).text(), "0") << name;
    for (const char* name : {"Age", "Stature", "Weight", "Fat"}) {
        EXPECT_EQ(page.get<QSlider>(name).value(), 0) << name;
        EXPECT_EQ(page.get<QSpinBox>(QStringLiteral("Boost") + name).value(), 0) << name;
    }
    for (const char* side : {"Left", "Right"})
        for (int i = 0; i < 3; ++i) {
            auto& colour = page.get<QComboBox>(QStringLiteral("Color%1%2").arg(side).arg(i));
            auto& intensity = page.get<QComboBox>(QStringLiteral("ColorAdj%1%2").arg(side).arg(i));
            EXPECT_EQ(colour.count(), 7);
            EXPECT_EQ(colour.currentIndex(), 0);
            EXPECT_EQ(colour.currentText(), "");
            EXPECT_EQ(intensity.count(), 3);
            EXPECT_EQ(intensity.currentIndex(), 0);
        }
    const std::set<QString> open = {"OmitAge",  "OmitStature", "OmitWeight", "OmitFat",
                                    "OmitEyes", "CodeBox",     "Decode",     "CopyCode"};
    EXPECT_EQ(EnabledControls(page.page), open);
    EXPECT_EQ(code(PersonalTab), Header);
}

TEST_F(PersonalPageTest, AnAgeOutOfRangeIsCodedButKeepsThePage) {
    Driver page = open(PersonalTab);
    page.toggle("OmitAge");
    page.toggle("SpecifyExactAge");
    page.type("ExactAge", "250");
    EXPECT_EQ(p0().ExactAge, 250);
    EXPECT_EQ(code(PersonalTab), Header + " P:a250");

    EXPECT_EQ(leave(MorePersonalTab), QStringList{"Please enter an integer between 0 and 200."});
    EXPECT_EQ(sheet().tabs().currentIndex(), PersonalTab);
    EXPECT_EQ(sheet().focusWidget(), &page.get<QWidget>("ExactAge"));

    { // OK is refused too.
        MessageBoxCatcher catcher;
        QTest::mouseClick(sheet().findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
        QTest::qWait(50);
        EXPECT_EQ(catcher.texts(), QStringList{"Please enter an integer between 0 and 200."});
        EXPECT_TRUE(sheet().isVisible());
    }

    page.type("ExactAge", "200");
    EXPECT_TRUE(leave(MorePersonalTab).isEmpty());
    EXPECT_EQ(sheet().tabs().currentIndex(), MorePersonalTab);
}

TEST_F(PersonalPageTest, NumbersAreCheckedInOrderEvenInClosedBoxes) {
    Driver page = open(PersonalTab);
    page.toggle("OmitStature");
    page.toggle("SpecifyExactStature");
    page.type("ExactStatureFt", "11");
    page.type("ExactStatureIn", "12");
    page.toggle("OmitWeight");
    page.toggle("SpecifyExactWeight");
    page.type("ExactWeight", "501");
    EXPECT_EQ(code(PersonalTab), Header + " P:s1112:w501");

    EXPECT_EQ(leave(0), QStringList{"Please enter an integer between 0 and 500."});
    EXPECT_EQ(sheet().focusWidget(), &page.get<QWidget>("ExactWeight"));
    page.type("ExactWeight", "500");
    EXPECT_EQ(leave(0), QStringList{"Please enter an integer between 0 and 11."});
    EXPECT_EQ(sheet().focusWidget(), &page.get<QWidget>("ExactStatureIn"));
    // Closing the box does not let the number through.
    page.toggle("SpecifyExactStature");
    EXPECT_FALSE(page.get<QWidget>("ExactStatureIn").isEnabled());
    EXPECT_EQ(leave(0), QStringList{"Please enter an integer between 0 and 11."});
    EXPECT_EQ(sheet().tabs().currentIndex(), PersonalTab);

    page.toggle("SpecifyExactStature");
    page.type("ExactStatureIn", "3");
    EXPECT_EQ(leave(0), QStringList{"Please enter an integer between 0 and 10."});
    EXPECT_EQ(sheet().focusWidget(), &page.get<QWidget>("ExactStatureFt"));
    page.type("ExactStatureFt", "5");
    EXPECT_TRUE(leave(0).isEmpty());
    EXPECT_EQ(sheet().fullCode(), (Header + " P:s53:w500").toStdString());
}

TEST_F(PersonalPageTest, AnEmptiedBoxStoresZeroAndShowsItOnLeaving) {
    Driver page = open(PersonalTab, {{"Per/OmitAge", 0}, {"Per/SpecifyExactAge", 1}, {"Per/ExactAge", 42}});
    EXPECT_EQ(page.get<QLineEdit>("ExactAge").text(), "42");
    EXPECT_EQ(code(PersonalTab), Header + " P:a42");
    page.type("ExactAge", "");
    EXPECT_EQ(p0().ExactAge, 0);
    EXPECT_EQ(code(PersonalTab), Header + " P:a0");
    EXPECT_TRUE(leave(EvenMorePersonalTab).isEmpty());
    EXPECT_EQ(page.get<QLineEdit>("ExactAge").text(), "0");
}

TEST_F(PersonalPageTest, NotTellingIsForgottenAtTheNextStart) {
    Driver page = open(PersonalTab);
    page.toggle("OmitWeight");
    page.toggle("NoTellWeight");
    page.toggle("OmitFat");
    page.toggle("NoTellFat");
    EXPECT_EQ(code(PersonalTab), Header + " P:w?:f?");
    { // what OK does
        auto store = SettingsStore::forIniFile(settingsPath());
        SaveSettings(*store, sheet().answers());
        ASSERT_TRUE(store->commit());
    }

    Driver next = open(PersonalTab);
    EXPECT_EQ(p0().OmitWeight, 0); // the rest was saved
    EXPECT_EQ(p0().NoTellWeight, 0);
    EXPECT_EQ(p0().NoTellFat, 0);
    EXPECT_FALSE(next.get<QCheckBox>("NoTellWeight").isChecked());
    EXPECT_FALSE(next.get<QCheckBox>("NoTellFat").isChecked());
    ExpectEnabled(next, {"Weight", "Fat"}, true);
    EXPECT_EQ(code(PersonalTab), Header + " P:w:f");
}

TEST_F(PersonalPageTest, DamagedValuesAreShownAsTheControlsAllow) {
    Driver page = open(PersonalTab, {{"Per/OmitEyes", 0},
                                     {"Per/Same", 0},
                                     {"Per/OmitAge", 5},
                                     {"Per/ColorLeft0", INT_MIN},
                                     {"Per/ColorRight0", 99},
                                     {"Per/ColorAdjRight0", -7},
                                     {"Per/Stature", 9},
                                     {"Per/BoostStature", -30000},
                                     {"Per/OmitStature", 0},
                                     {"Per/ExactWeight", -5},
                                     {"Per/OmitWeight", 0},
                                     {"Per/SpecifyExactWeight", 1}});
    // A flag past 2 becomes 0, in the field and in the code.
    EXPECT_EQ(p0().OmitAge, 0);
    EXPECT_FALSE(page.get<QCheckBox>("OmitAge").isChecked());
    EXPECT_TRUE(code(PersonalTab).startsWith(Header + " P:a:s"));
    // Rows naming no item show none and are kept.
    EXPECT_EQ(page.get<QComboBox>("ColorLeft0").currentIndex(), -1);
    EXPECT_EQ(page.get<QComboBox>("ColorRight0").currentIndex(), -1);
    EXPECT_EQ(page.get<QComboBox>("ColorAdjRight0").currentIndex(), -1);
    EXPECT_EQ(p0().ColorRight0, 99);
    ExpectEnabled(page, {"Glasses", "Contacts", "ColorAdjLeft0", "ColorAdjRight0"}, true);
    // A level past the slider shows at its end; the field keeps it until the slider moves.
    EXPECT_EQ(page.get<QSlider>("Stature").value(), 3);
    EXPECT_EQ(page.get<QSpinBox>("BoostStature").value(), -6);
    EXPECT_EQ(p0().Stature, 9);
    EXPECT_EQ(p0().BoostStature, -30000);
    page.press("Stature", Qt::Key_Left);
    EXPECT_EQ(p0().Stature, 2);
    EXPECT_EQ(p0().BoostStature, -5);
    // A negative stored number is shown and refused on leaving.
    EXPECT_EQ(page.get<QLineEdit>("ExactWeight").text(), "-5");
    EXPECT_EQ(leave(0), QStringList{"Please enter a positive integer."});
}

TEST_F(PersonalPageTest, DamagedColourRowsAddUpWithoutWrappingAround) {
    Driver page =
        open(PersonalTab, {{"Per/OmitEyes", 0}, {"Per/ColorLeft0", INT_MIN}, {"Per/ColorLeft2", INT_MIN}});
    ExpectEnabled(page, {"Glasses", "Contacts", "ColorAdjLeft0", "ColorAdjLeft2"}, true);
    ExpectEnabled(page, {"ColorAdjLeft1"}, false);
    EXPECT_TRUE(code(PersonalTab).startsWith(Header + " P:e")) << code(PersonalTab).toStdString();
    page.toggle("Glasses");
    EXPECT_TRUE(code(PersonalTab).endsWith("g"));
}

TEST_F(PersonalPageTest, ALaterVisitShowsTheAnswersAgain) {
    Driver page = open(PersonalTab);
    page.toggle("OmitAge");
    page.press("Age", Qt::Key_Right);
    page.toggle("SpecifyExactAge");
    page.type("ExactAge", "0031");
    EXPECT_EQ(leave(0), QStringList{});
    showTab(PersonalTab);
    EXPECT_EQ(page.get<QLineEdit>("ExactAge").text(), "31");
    EXPECT_TRUE(page.get<QCheckBox>("SpecifyExactAge").isChecked());
    EXPECT_EQ(page.get<QSlider>("Age").value(), 1);
    EXPECT_EQ(code(PersonalTab), Header + " P:a31");
}

// ---------------------------------------------------------------------------------------------------
// More Personal

using PersonalMorePage = PersonalPages;

TEST_F(PersonalMorePage, FirstRunOpensOnlyTheOmitBoxes) {
    Driver page = open(MorePersonalTab);
    for (const char* name : {"OmitHair", "OmitTone", "OmitGroup", "OmitBloodType"})
        EXPECT_TRUE(page.get<QCheckBox>(name).isChecked()) << name;
    EXPECT_FALSE(page.get<QCheckBox>("Beard").isChecked());
    EXPECT_FALSE(page.get<QCheckBox>("Moustache").isChecked());
    EXPECT_EQ(page.get<QComboBox>("HairColor").currentText(), "Blond");
    EXPECT_EQ(page.get<QComboBox>("HairColor").count(), 10);
    EXPECT_EQ(page.get<QComboBox>("HairColorAdj").currentIndex(), 0);
    EXPECT_EQ(page.get<QComboBox>("HairColorAdj").currentText(), "");
    EXPECT_EQ(page.get<QComboBox>("BloodType").currentIndex(), 0);
    EXPECT_EQ(page.get<QComboBox>("BloodTypeSign").currentText(), "Negative");
    for (const char* name : {"Hair", "Tone"}) {
        EXPECT_EQ(page.get<QSlider>(name).value(), 0) << name;
        EXPECT_EQ(page.get<QSpinBox>(QStringLiteral("Boost") + name).value(), 0) << name;
    }
    auto& groups = page.get<QListWidget>("Group");
    EXPECT_EQ(groups.count(), 9);
    EXPECT_TRUE(groups.selectedItems().isEmpty());
    const std::set<QString> open = {"OmitHair", "OmitTone", "OmitGroup", "OmitBloodType",
                                    "CodeBox",  "Decode",   "CopyCode"};
    EXPECT_EQ(EnabledControls(page.page), open);
    EXPECT_EQ(code(MorePersonalTab), Header);
}

TEST_F(PersonalMorePage, TheGroupListStoresTheWholeSelection) {
    Driver page = open(MorePersonalTab);
    page.toggle("OmitGroup");
    page.clickItem("Group", 0);
    page.clickItem("Group", 3);
    EXPECT_EQ(p1().Group, 9);
    EXPECT_EQ(code(MorePersonalTab), Header + " P:cWhAs");
    page.clickItem("Group", 0);
    page.clickItem("Group", 3);
    EXPECT_EQ(p1().Group, 0);
    EXPECT_EQ(code(MorePersonalTab), Header + " P:c");
}

TEST_F(PersonalMorePage, AStoredMaskSelectsItsGroupsAndKeepsBitsPastTheList) {
    Driver page = open(MorePersonalTab, {{"Per/Group", 9 | (1 << 9) | (1 << 20)}});
    auto& groups = page.get<QListWidget>("Group");
    QList<int> selected;
    for (int i = 0; i < groups.count(); ++i)
        if (groups.item(i)->isSelected())
            selected << i;
    EXPECT_EQ(selected, (QList<int>{0, 3}));
    EXPECT_EQ(p1().Group, 9 | (1 << 9) | (1 << 20));
    page.toggle("OmitGroup");
    page.clickItem("Group", 1);
    EXPECT_EQ(p1().Group, 11);
}

TEST_F(PersonalMorePage, DamagedValuesAreShownAsTheControlsAllow) {
    Driver page = open(MorePersonalTab, {{"Per/OmitTone", 7},
                                         {"Per/OmitHair", 0},
                                         {"Per/HairColor", 50},
                                         {"Per/BloodTypeSign", INT_MIN},
                                         {"Per/Tone", INT_MAX},
                                         {"Per/BoostTone", -4}});
    EXPECT_EQ(p1().OmitTone, 0);
    EXPECT_FALSE(page.get<QCheckBox>("OmitTone").isChecked());
    ExpectEnabled(page, {"Tone", "BoostTone"}, true);
    EXPECT_EQ(page.get<QComboBox>("HairColor").currentIndex(), -1);
    EXPECT_EQ(p1().HairColor, 50);
    EXPECT_EQ(page.get<QComboBox>("BloodTypeSign").currentIndex(), -1);
    EXPECT_EQ(page.get<QSlider>("Tone").value(), 2);
    EXPECT_EQ(p1().Tone, INT_MAX);
    // The code shows the tone as stored, now that its omit flag reads 0.
    EXPECT_TRUE(code(MorePersonalTab).contains(":t")) << code(MorePersonalTab).toStdString();
    page.press("BoostTone", Qt::Key_Up);
    EXPECT_EQ(p1().Tone, INT_MAX); // the tune alone does not re-read the level
    EXPECT_EQ(p1().BoostTone, -3);
    page.press("Tone", Qt::Key_Left);
    EXPECT_EQ(p1().Tone, 1);
    EXPECT_EQ(p1().BoostTone, -3);
}

// ---------------------------------------------------------------------------------------------------
// Even More Personal

using PersonalEvenMorePage = PersonalPages;

TEST_F(PersonalEvenMorePage, FirstRunOpensOnlyTheOmitBoxes) {
    Driver page = open(EvenMorePersonalTab);
    for (const char* name : {"OmitSign", "OmitGender", "OmitRelationship"})
        EXPECT_TRUE(page.get<QCheckBox>(name).isChecked()) << name;
    EXPECT_FALSE(page.get<QCheckBox>("UsePurity").isChecked());
    EXPECT_FALSE(page.get<QCheckBox>("NoTellKink").isChecked());
    EXPECT_TRUE(page.get<QComboBox>("Sign").currentText().startsWith("Aries"));
    EXPECT_EQ(page.get<QComboBox>("Sign").count(), 12);
    EXPECT_EQ(page.get<QComboBox>("Gender").currentText(), "You are a female");
    EXPECT_EQ(page.get<QComboBox>("KinkMembership").currentText(), "");
    EXPECT_EQ(page.get<QComboBox>("Preference").currentText(), "(-) Promiscuous");
    EXPECT_EQ(page.get<QComboBox>("Status").currentText(), "(-) Unavailable");
    EXPECT_EQ(page.get<QLineEdit>("Purity").text(), "0");
    EXPECT_EQ(page.get<QSlider>("Kink").value(), 0);
    for (const char* name : {"BoostKink", "BoostPreference", "BoostStatus"})
        EXPECT_EQ(page.get<QSpinBox>(name).value(), 0) << name;
    const std::set<QString> open = {"OmitSign", "OmitGender", "OmitRelationship",
                                    "CodeBox",  "Decode",     "CopyCode"};
    EXPECT_EQ(EnabledControls(page.page), open);
    EXPECT_EQ(code(EvenMorePersonalTab), Header);
}

TEST_F(PersonalEvenMorePage, APurityOverFiveHundredKeepsThePage) {
    Driver page = open(EvenMorePersonalTab);
    page.toggle("OmitGender");
    page.toggle("UsePurity");
    page.type("Purity", "150");
    EXPECT_EQ(code(EvenMorePersonalTab), Header + " P:x150%");
    EXPECT_TRUE(leave(MorePersonalTab).isEmpty());

    showTab(EvenMorePersonalTab);
    page.type("Purity", "600");
    EXPECT_EQ(p2().Purity, 600);
    EXPECT_EQ(code(EvenMorePersonalTab), Header + " P:x600%");
    EXPECT_EQ(leave(MorePersonalTab), QStringList{"Please enter an integer between 0 and 500."});
    EXPECT_EQ(sheet().tabs().currentIndex(), EvenMorePersonalTab);
    EXPECT_EQ(sheet().focusWidget(), &page.get<QWidget>("Purity"));
    // Closing the quiz does not let the number through.
    page.toggle("UsePurity");
    EXPECT_EQ(leave(MorePersonalTab), QStringList{"Please enter an integer between 0 and 500."});
    page.toggle("UsePurity");
    page.type("Purity", "");
    EXPECT_TRUE(leave(MorePersonalTab).isEmpty());
    EXPECT_EQ(page.get<QLineEdit>("Purity").text(), "0");
}

TEST_F(PersonalEvenMorePage, DamagedValuesAreShownAsTheControlsAllow) {
    Driver page = open(EvenMorePersonalTab, {{"Per/OmitGender", -1},
                                             {"Per/OmitRelationship", 0},
                                             {"Per/Status", 3},
                                             {"Per/BoostStatus", 2},
                                             {"Per/Kink", -40},
                                             {"Per/Purity", 9999},
                                             {"Per/UsePurity", 2}});
    EXPECT_EQ(p2().OmitGender, 0);
    EXPECT_EQ(p2().UsePurity, 2); // 2 is a state the box can show
    EXPECT_EQ(page.get<QComboBox>("Status").currentIndex(), -1);
    EXPECT_EQ(page.get<QSpinBox>("BoostStatus").value(), 2); // shown as stored
    EXPECT_EQ(page.get<QSlider>("Kink").value(), -3);
    EXPECT_EQ(p2().Kink, -40);
    EXPECT_EQ(page.get<QLineEdit>("Purity").text(), "9999");
    ExpectEnabled(page, {"Purity"}, true);
    // The tune alone brings the stored row back into the table.
    page.press("BoostStatus", Qt::Key_Down);
    EXPECT_EQ(p2().Status, 3);
    EXPECT_EQ(p2().BoostStatus, -1);
    EXPECT_EQ(leave(0), QStringList{"Please enter an integer between 0 and 500."});
}

// ---------------------------------------------------------------------------------------------------
// What the answers give in the code, built through the controls.

// One user action on a control: a click on a check box, a choice in a list, text typed into a box,
// arrow keys on a slider or spin, a click on an item of a selection list.
struct Step {
    enum { Toggle, Choose, Type, Right, Left, Up, Click } action;
    const char* control;
    int number = 1; // the item, or how many key presses
    const char* text = "";

    void apply(const Driver& page) const {
        switch (action) {
        case Toggle:
            return page.toggle(control);
        case Choose:
            return page.choose(control, number);
        case Type:
            return page.type(control, QLatin1String(text));
        case Right:
            return page.press(control, Qt::Key_Right, number);
        case Left:
            return page.press(control, Qt::Key_Left, number);
        case Up:
            return page.press(control, Qt::Key_Up, number);
        case Click:
            return page.clickItem(control, number);
        }
    }
};

struct WorkedExample {
    const char* name;
    int tab;
    std::vector<Step> steps;
    const char* section;
    std::map<QString, int> stored = {};
};

std::ostream& operator<<(std::ostream& os, const WorkedExample& example) {
    return os << example.name;
}

class PersonalCode : public PersonalPages, public testing::WithParamInterface<WorkedExample> {};

TEST_P(PersonalCode, ComesFromTheControls) {
    const WorkedExample& example = GetParam();
    Driver page = open(example.tab, example.stored);
    for (const Step& step : example.steps)
        step.apply(page);
    EXPECT_EQ(code(example.tab), Header + " P" + QLatin1String(example.section));
}

using S = Step;
const Step EyesDiffer[] = {{S::Toggle, "OmitEyes"}, {S::Toggle, "Same"}};
std::vector<Step> Eyes(std::initializer_list<Step> steps) {
    std::vector<Step> all(std::begin(EyesDiffer), std::end(EyesDiffer));
    all.insert(all.end(), steps);
    return all;
}

// clang-format off
const WorkedExample WorkedExamples[] = {
    {"AgeLevel", PersonalTab, {{S::Toggle, "OmitAge"}, {S::Right, "Age", 2}}, ":a++"},
    {"AgeExact", PersonalTab,
     {{S::Toggle, "OmitAge"}, {S::Toggle, "SpecifyExactAge"}, {S::Type, "ExactAge", 0, "23"}}, ":a23"},
    {"StatureExact", PersonalTab,
     {{S::Toggle, "OmitStature"}, {S::Toggle, "SpecifyExactStature"}, {S::Type, "ExactStatureFt", 0, "5"},
      {S::Type, "ExactStatureIn", 0, "11"}}, ":s511"},
    {"StatureLevelAndTune", PersonalTab,
     {{S::Toggle, "OmitStature"}, {S::Left, "Stature"}, {S::Up, "BoostStature", 2}}, ":s-[++]"},
    {"WeightNotTelling", PersonalTab, {{S::Toggle, "OmitWeight"}, {S::Toggle, "NoTellWeight"}}, ":w?"},
    {"WeightExactAndNotTelling", PersonalTab,
     {{S::Toggle, "OmitWeight"}, {S::Toggle, "NoTellWeight"}, {S::Toggle, "SpecifyExactWeight"},
      {S::Type, "ExactWeight", 0, "150"}}, ":w150"},
    {"BodyFat", PersonalTab, {{S::Toggle, "OmitFat"}}, ":f"},
    {"EyesSame", PersonalTab,
     {{S::Toggle, "OmitEyes"}, {S::Choose, "ColorLeft0", 2}, {S::Choose, "ColorAdjLeft0", 1}}, ":eBD"},
    {"EyesDiffer", PersonalTab,
     Eyes({{S::Choose, "ColorLeft0", 2}, {S::Choose, "ColorAdjLeft0", 1}, {S::Choose, "ColorRight0", 3}}),
     ":eBD|G"},
    {"EyesTwoLeftColoursGlassesAndContacts", PersonalTab,
     Eyes({{S::Choose, "ColorLeft0", 2}, {S::Choose, "ColorLeft1", 4}, {S::Choose, "ColorAdjLeft1", 2},
           {S::Choose, "ColorRight0", 3}, {S::Toggle, "Glasses"}, {S::Toggle, "Contacts"}}),
     ":eBBrL|Gg[z]"},
    {"EyesOnlyRight", PersonalTab, Eyes({{S::Choose, "ColorRight0", 3}, {S::Toggle, "Glasses"}}), ":eGg"},
    {"HairEverything", MorePersonalTab,
     {{S::Toggle, "OmitHair"}, {S::Choose, "HairColor", 1}, {S::Choose, "HairColorAdj", 1},
      {S::Right, "Hair", 2}, {S::Toggle, "Moustache"}, {S::Toggle, "Beard"}}, ":hBrD++m[b]"},
    {"HairBeardOnly", MorePersonalTab, {{S::Toggle, "OmitHair"}, {S::Toggle, "Beard"}}, ":hBlb"},
    {"Tone", MorePersonalTab, {{S::Toggle, "OmitTone"}, {S::Left, "Tone", 2}, {S::Up, "BoostTone"}},
     ":t--[+]"},
    {"Group", MorePersonalTab, {{S::Toggle, "OmitGroup"}, {S::Click, "Group", 3}, {S::Click, "Group", 0}},
     ":cWhAs"},
    {"BloodTypePositive", MorePersonalTab,
     {{S::Toggle, "OmitBloodType"}, {S::Choose, "BloodType", 2}, {S::Choose, "BloodTypeSign", 2}}, ":bAB+"},
    {"BloodTypeNoSign", MorePersonalTab,
     {{S::Toggle, "OmitBloodType"}, {S::Choose, "BloodType", 3}, {S::Choose, "BloodTypeSign", 0}}, ":bO"},
    {"Sign", EvenMorePersonalTab, {{S::Toggle, "OmitSign"}}, ":*Ar"},
    {"GenderKinkMembership", EvenMorePersonalTab,
     {{S::Toggle, "OmitGender"}, {S::Choose, "Gender", 1}, {S::Right, "Kink"}, {S::Choose, "KinkMembership", 2}},
     ":y+P"},
    {"GenderPurity", EvenMorePersonalTab,
     {{S::Toggle, "OmitGender"}, {S::Toggle, "UsePurity"}, {S::Type, "Purity", 0, "75"}}, ":x75%"},
    {"GenderKinkNotTold", EvenMorePersonalTab,
     {{S::Toggle, "OmitGender"}, {S::Choose, "Gender", 2}, {S::Toggle, "NoTellKink"}}, ":z?"},
    // A status tune of −1 on row 0 only comes from stored settings: the controls never make one.
    {"RelationshipStoredTune", EvenMorePersonalTab,
     {{S::Toggle, "OmitRelationship"}, {S::Choose, "Preference", 2}}, ":r+|-[-]", {{"Per/BoostStatus", -1}}},
    {"RelationshipBothNegotiable", EvenMorePersonalTab,
     {{S::Toggle, "OmitRelationship"}, {S::Choose, "Preference", 1}, {S::Choose, "Status", 1}}, ":r|"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(PersonalCode, PersonalCode, testing::ValuesIn(WorkedExamples),
                         [](const testing::TestParamInfo<WorkedExample>& info) { return info.param.name; });

TEST_F(PersonalPages, TheThreePagesJoinBehindOneTag) {
    Driver personal = open(PersonalTab);
    personal.toggle("OmitAge");
    personal.toggle("SpecifyExactAge");
    personal.type("ExactAge", "23");
    personal.toggle("OmitEyes");
    personal.choose("ColorLeft0", 2);
    personal.toggle("Glasses");

    showTab(MorePersonalTab);
    Driver more{sheet().page(MorePersonalTab)};
    more.toggle("OmitHair");
    more.choose("HairColor", 1);
    more.press("Hair", Qt::Key_Right);

    showTab(EvenMorePersonalTab);
    Driver evenMore{sheet().page(EvenMorePersonalTab)};
    evenMore.toggle("OmitGender");
    evenMore.toggle("OmitRelationship");
    evenMore.choose("Preference", 2);
    evenMore.choose("Status", 2);
    EXPECT_EQ(code(EvenMorePersonalTab), Header + " P:a23:eBg:hBr+:x:r+|+");
    showTab(PersonalTab);
    EXPECT_EQ(code(PersonalTab), Header + " P:a23:eBg:hBr+:x:r+|+");
}

TEST_F(PersonalPages, EveryControlHasANameAndTheKeyboardReachesIt) {
    openSheet();
    for (int tab : {PersonalTab, MorePersonalTab, EvenMorePersonalTab}) {
        showTab(tab);
        for (QWidget* widget : sheet().page(tab).findChildren<QWidget*>()) {
            const QString name = widget->objectName();
            if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || name == "Decode" ||
                name == "CopyCode")
                continue; // the page base's own
            EXPECT_FALSE(widget->accessibleName().isEmpty()) << name.toStdString();
            if (qobject_cast<QGroupBox*>(widget))
                continue;
            EXPECT_TRUE(widget->focusPolicy() & Qt::TabFocus) << name.toStdString();
        }
    }
    // A mnemonic works a check box.
    showTab(PersonalTab);
    Driver page{sheet().page(PersonalTab)};
    sheet().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet()));
    page.get<QWidget>("OmitFat").setFocus();
    QTest::keyClick(&page.get<QWidget>("OmitFat"), Qt::Key_M, Qt::AltModifier); // "O&mit Stature"
    EXPECT_TRUE(QTest::qWaitFor([&] { return p0().OmitStature == 0; })); // a mnemonic click is animated
    EXPECT_FALSE(page.get<QCheckBox>("OmitStature").isChecked());
    EXPECT_EQ(code(PersonalTab), Header + " P:s");
}

} // namespace
