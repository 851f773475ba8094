// SPDX-License-Identifier: MIT
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>

#include "GuiTestSupport.h"
#include "pages/CodeLists.h"

namespace {

constexpr int Experience = 5, Opinions = 6;

class ExperiencePageTest : public SheetTest {
  protected:
    AnswerPage& open(const std::map<QString, int>& stored = {}) {
        openSheet(stored);
        showTab(Experience);
        return page();
    }
    AnswerPage& page() { return sheet().page(Experience); }
    const ExperienceAnswers& answers() { return sheet().answers().Experience; }

    QLineEdit& countBox(const char* name) { return find<QLineEdit>(page(), name); }
    CodeListBox& partList(const char* name) { return find<CodeListBox>(page(), name); }
    QSlider& sliderOf(const QString& form) { return find<QSlider>(page(), ("Intensity" + form).toLatin1()); }
    QSpinBox& tuneOf(const QString& form) { return find<QSpinBox>(page(), ("Boost" + form).toLatin1()); }
    QCheckBox& byNumbers() { return find<QCheckBox>(page(), "ByNumbers"); }
    QString yearsLabel() { return find<QLabel>(page(), "YearsLabel").text(); }

    QString code() { return codeBoxText(page()); }

    // The slider, tune spin and caption of a form, which open and close together.
    void expectTuneGroup(const QString& form, bool enabled) {
        for (const QString& name : {"Intensity" + form, "Boost" + form, "TuneFrame" + form}) {
            auto* control = page().findChild<QWidget*>(name);
            ASSERT_NE(control, nullptr) << name.toStdString();
            EXPECT_EQ(control->isEnabled(), enabled) << name.toStdString();
        }
    }
};

const QStringList AnimeForms = {"Raw", "Sub", "Dub"};
const QStringList MangaForms = {"MangaRaw", "MangaSub"};
const QStringList PartLists = {"RawComplete", "RawPartial",  "SubComplete",
                               "SubPartial",  "DubComplete", "DubPartial"};

TEST_F(ExperiencePageTest, FirstRunWorksByNumbersWithEveryIntensityClosed) {
    AnswerPage& page = open();
    EXPECT_TRUE(byNumbers().isChecked());
    EXPECT_EQ(byNumbers().text(), "Specify Anime by &Number of Episodes");
    for (const QString& form : AnimeForms + MangaForms) {
        QLineEdit& count = countBox(form.toLatin1());
        EXPECT_EQ(count.text(), "0");
        EXPECT_TRUE(count.isEnabled()) << form.toStdString();
        expectTuneGroup(form, false);
    }
    for (const QString& list : PartLists) {
        EXPECT_FALSE(partList(list.toLatin1()).isEnabled()) << list.toStdString();
        EXPECT_EQ(partList(list.toLatin1()).count(), 9);
        EXPECT_FALSE(find<QLabel>(page, (list + "Label").toLatin1()).isEnabled());
    }
    EXPECT_EQ(find<QLabel>(page, "RawCompleteLabel").text(), "C");
    EXPECT_EQ(find<QLabel>(page, "DubPartialLabel").text(), "P");
    EXPECT_EQ(partList("SubComplete").item(0)->text(), "Sailormoon classic");
    EXPECT_EQ(partList("SubComplete").item(8)->text(), "Galaxia/Starlights arc of SM*");
    // The upright sliders stand at the bottom: position 4 is drawn lowest and means no intensity.
    for (const QString& form : AnimeForms) {
        EXPECT_EQ(sliderOf(form).orientation(), Qt::Vertical);
        EXPECT_TRUE(sliderOf(form).invertedAppearance());
        EXPECT_EQ(sliderOf(form).value(), 4);
        EXPECT_EQ(find<QLabel>(page, ("TuneFrame" + form).toLatin1()).text(), "T");
    }
    for (const QString& form : MangaForms) {
        EXPECT_EQ(sliderOf(form).orientation(), Qt::Horizontal);
        EXPECT_EQ(sliderOf(form).value(), 0);
        EXPECT_EQ(find<QLabel>(page, ("TuneFrame" + form).toLatin1()).text(), "Tune");
    }
    EXPECT_EQ(yearsLabel(), "0");
    EXPECT_EQ(code(), Header);
}

TEST_F(ExperiencePageTest, TypingACountOpensItsGroupAndRebuildsOnEveryKeystroke) {
    AnswerPage& page = open();
    QStringList codes;
    QObject::connect(page.codeBox(), &QPlainTextEdit::textChanged,
                     [&] { codes << CodeBox::withoutMarks(page.codeBox()->toPlainText()); });
    TypeText(countBox("Raw"), "12");
    EXPECT_EQ(codes, QStringList({Header + " X:a1r", Header + " X:a12r"}));
    EXPECT_EQ(answers().Raw, 12u);
    expectTuneGroup("Raw", true);
    expectTuneGroup("Sub", false);
    expectTuneGroup("MangaRaw", false);

    TypeText(countBox("MangaRaw"), "3");
    expectTuneGroup("MangaRaw", true);
    EXPECT_EQ(code(), Header + " X:a12r:m3r");
    TypeText(countBox("Raw"), ""); // a cleared box stores 0 at once
    EXPECT_EQ(answers().Raw, 0u);
    expectTuneGroup("Raw", false);
    EXPECT_EQ(code(), Header + " X:m3r");
}

TEST_F(ExperiencePageTest, TheModeSwitchKeepsCountsAndPartsAlike) {
    AnswerPage& page = open();
    TypeText(countBox("Sub"), "52");
    QTest::mouseClick(&byNumbers(), Qt::LeftButton);
    EXPECT_EQ(answers().ByNumbers, 0);
    for (const QString& form : AnimeForms) {
        EXPECT_FALSE(countBox(form.toLatin1()).isEnabled());
        expectTuneGroup(form, false); // no part chosen, whatever the counts say
    }
    for (const QString& list : PartLists) {
        EXPECT_TRUE(partList(list.toLatin1()).isEnabled());
        EXPECT_TRUE(find<QLabel>(page, (list + "Label").toLatin1()).isEnabled());
    }
    EXPECT_TRUE(countBox("MangaSub").isEnabled());
    EXPECT_EQ(answers().Sub, 52u);
    EXPECT_EQ(code(), Header);

    ClickListItem(partList("SubComplete"), 4);
    EXPECT_EQ(partList("SubComplete").item(4)->text(), "Sailormoon S");
    EXPECT_EQ(answers().SubComplete, 16);
    expectTuneGroup("Sub", true);
    expectTuneGroup("Raw", false);
    EXPECT_EQ(code(), Header + " X:aSs");

    QTest::mouseClick(&byNumbers(), Qt::LeftButton);
    EXPECT_EQ(answers().ByNumbers, 1);
    EXPECT_EQ(answers().SubComplete, 16);
    EXPECT_FALSE(partList("SubComplete").isEnabled());
    expectTuneGroup("Sub", true);
    EXPECT_EQ(code(), Header + " X:a52s");
    ClickListItem(partList("SubComplete"), 4); // a closed list takes no clicks
    EXPECT_EQ(answers().SubComplete, 16);
}

TEST_F(ExperiencePageTest, TheYearsSpinCountsHalfYears) {
    open();
    QSpinBox& years = find<QSpinBox>(page(), "Years");
    QStringList labels;
    for (int i = 0; i < 3; ++i) {
        PressKey(years, Qt::Key_Up);
        labels << yearsLabel();
    }
    EXPECT_EQ(labels, QStringList({"0+", "1", "1+"}));
    EXPECT_EQ(answers().Years, 3);
    EXPECT_EQ(code(), Header + " X:*[*]");
    PressKey(years, Qt::Key_Down, 5); // no wrap-around below 0
    EXPECT_EQ(answers().Years, 0);
    EXPECT_EQ(yearsLabel(), "0");
    EXPECT_EQ(code(), Header);
    PressKey(years, Qt::Key_PageUp, 11); // ten steps at a time, up to 100 half years
    EXPECT_EQ(yearsLabel(), "50");
    EXPECT_EQ(code(), Header + " X:" + QString(50, QLatin1Char('*')));
}

TEST_F(ExperiencePageTest, StoredYearsShowInTheLabel) {
    const std::pair<int, const char*> cases[] = {{0, "0"},  {1, "0+"},   {2, "1"},
                                                 {7, "3+"}, {100, "50"}, {-1, "0+"}};
    for (const auto& [stored, label] : cases) {
        open({{"Exp/Years", stored}});
        EXPECT_EQ(yearsLabel(), label) << stored;
    }
    // A damaged value shows as stored until the spin is used, which starts from its own range.
    EXPECT_EQ(answers().Years, -1);
    EXPECT_EQ(code(), Header + " X:[*]");
    PressKey(find<QSpinBox>(page(), "Years"), Qt::Key_Up);
    EXPECT_EQ(answers().Years, 1);
    EXPECT_EQ(yearsLabel(), "0+");
}

TEST_F(ExperiencePageTest, LeavingWithACountPast200IsRefused) {
    EncoderSheet& sheet = openSheet();
    showTab(Experience);
    QLineEdit& dub = countBox("Dub");
    TypeText(dub, "201");
    EXPECT_EQ(answers().Dub, 201u); // stored and coded at once
    EXPECT_EQ(code(), Header + " X:a201d");
    {
        MessageBoxCatcher catcher;
        showTab(Opinions);
        EXPECT_EQ(catcher.texts(), QStringList{"Please enter an integer between 0 and 200."});
    }
    EXPECT_EQ(sheet.tabs().currentIndex(), Experience);
    EXPECT_EQ(sheet.focusWidget(), &dub);
    {
        MessageBoxCatcher catcher;
        QTest::mouseClick(find<QDialogButtonBox>(sheet, "Buttons").button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
        EXPECT_EQ(catcher.texts().size(), 1);
    }
    EXPECT_TRUE(sheet.isVisible()); // OK is refused as well
    TypeText(dub, "200");
    showTab(Opinions);
    EXPECT_EQ(sheet.tabs().currentIndex(), Opinions);
}

TEST_F(ExperiencePageTest, CountsAreCheckedDubSubMangaSubRawMangaRaw) {
    EncoderSheet& sheet = openSheet();
    showTab(Experience);
    const char* order[] = {"Dub", "Sub", "MangaSub", "Raw", "MangaRaw"};
    for (const char* name : order)
        TypeText(countBox(name), "999");
    for (const char* name : order) {
        {
            MessageBoxCatcher catcher;
            showTab(Opinions);
            EXPECT_EQ(catcher.texts().size(), 1);
        }
        EXPECT_EQ(sheet.focusWidget(), &countBox(name)) << name;
        TypeText(countBox(name), "7");
    }
    showTab(Opinions);
    EXPECT_EQ(sheet.tabs().currentIndex(), Opinions);
}

TEST_F(ExperiencePageTest, LeavingFillsBlankBoxesWithZero) {
    EncoderSheet& sheet = openSheet();
    showTab(Experience);
    TypeText(countBox("MangaRaw"), "");
    TypeText(countBox("Sub"), "");
    EXPECT_EQ(countBox("MangaRaw").text(), "");
    showTab(Opinions);
    EXPECT_EQ(sheet.tabs().currentIndex(), Opinions);
    EXPECT_EQ(countBox("MangaRaw").text(), "0");
    EXPECT_EQ(countBox("Sub").text(), "0");
}

TEST_F(ExperiencePageTest, ALaterVisitShowsCountsWithoutLeadingZeros) {
    open();
    TypeText(countBox("Dub"), "007");
    EXPECT_EQ(code(), Header + " X:a7d");
    showTab(Opinions);
    showTab(Experience);
    EXPECT_EQ(countBox("Dub").text(), "7");
    EXPECT_EQ(answers().Dub, 7u);
}

// The worked examples of the experience section, answered through the page's controls.
TEST_F(ExperiencePageTest, WorkedExamplesBuiltThroughTheControls) {
    open();
    TypeText(countBox("Sub"), "52");
    PressKey(sliderOf("Sub"), Qt::Key_Up, 3);
    TypeText(countBox("Dub"), "12");
    PressKey(tuneOf("Dub"), Qt::Key_Up);
    EXPECT_EQ(code(), Header + " X:a52s+++|12d[+]");

    open();
    PressKey(find<QSpinBox>(page(), "Years"), Qt::Key_Up, 7);
    QTest::mouseClick(&byNumbers(), Qt::LeftButton);
    ClickListItem(partList("RawComplete"), 0);
    PressKey(sliderOf("Raw"), Qt::Key_Up, 2);
    ClickListItem(partList("SubComplete"), 0);
    ClickListItem(partList("SubComplete"), 4);
    ClickListItem(partList("SubPartial"), 5);
    PressKey(sliderOf("Sub"), Qt::Key_Home);
    EXPECT_EQ(answers().SubComplete, 17);
    EXPECT_EQ(answers().SubPartial, 32);
    TypeText(countBox("MangaSub"), "18");
    PressKey(sliderOf("MangaSub"), Qt::Key_Right, 2);
    PressKey(tuneOf("MangaSub"), Qt::Key_Up);
    EXPECT_EQ(code(), Header + " X:***[*]:aClr++|ClS[SS]s++++:m18s++[+]");
    EXPECT_EQ(sheet().fullCode(), code().toStdString());
}

TEST_F(ExperiencePageTest, StoredAnswersAreShownAndSavedAgain) {
    open({{"Exp/Years", 7},
          {"Exp/ByNumbers", 0},
          {"Exp/RawComplete", 1},
          {"Exp/IntensityRaw", 2},
          {"Exp/SubComplete", 17},
          {"Exp/SubPartial", 32},
          {"Exp/IntensitySub", 0},
          {"Exp/BoostDub", 3},
          {"Exp/Dub", 12},
          {"Exp/MangaRaw", 4}});
    EXPECT_EQ(code(), Header + " X:***[*]:aClr++|ClS[SS]s++++:m4r");
    EXPECT_FALSE(byNumbers().isChecked());
    EXPECT_EQ(yearsLabel(), "3+");
    EXPECT_EQ(partList("SubComplete").selectionMask(), 17u);
    EXPECT_EQ(partList("SubPartial").selectionMask(), 32u);
    EXPECT_EQ(sliderOf("Raw").value(), 2);
    EXPECT_EQ(tuneOf("Dub").value(), 3);
    EXPECT_EQ(countBox("Dub").text(), "12");
    EXPECT_EQ(countBox("MangaRaw").text(), "4");
    expectTuneGroup("Raw", true);
    expectTuneGroup("Dub", false); // by parts, and no dubbed part chosen
    expectTuneGroup("MangaRaw", true);

    // Changes go into the store with the rest of the answers; the manga ratings do not.
    PressKey(sliderOf("MangaRaw"), Qt::Key_Right, 2);
    ClickListItem(partList("RawPartial"), 8);
    {
        auto store = SettingsStore::forIniFile(settingsPath());
        SaveSettings(*store, sheet().answers());
    }
    open();
    EXPECT_EQ(answers().RawPartial, 256);
    EXPECT_EQ(partList("RawPartial").selectionMask(), 256u);
    EXPECT_EQ(answers().MangaRaw, 4u);
    EXPECT_EQ(sliderOf("MangaRaw").value(), 0);
    EXPECT_EQ(answers().IntensityMangaRaw, 0);
    EXPECT_EQ(code(), Header + " X:***[*]:aCl[Gx]r++|ClS[SS]s++++:m4r");
}

TEST_F(ExperiencePageTest, DamagedStoredValuesAreShownWithoutHarm) {
    open({{"Exp/ByNumbers", 5},
          {"Exp/RawComplete", static_cast<int>(0xFFFFFE01u)},
          {"Exp/IntensityRaw", 9},
          {"Exp/BoostRaw", -7},
          {"Exp/Sub", -1}});
    // A flag outside 0..2 becomes 0: the page works by parts.
    EXPECT_EQ(answers().ByNumbers, 0);
    EXPECT_FALSE(byNumbers().isChecked());
    EXPECT_TRUE(partList("RawComplete").isEnabled());
    // Only the rows that exist are selected; the field keeps its other bits until the list changes.
    EXPECT_EQ(partList("RawComplete").selectionMask(), 1u);
    EXPECT_EQ(answers().RawComplete, static_cast<int32_t>(0xFFFFFE01u));
    EXPECT_EQ(sliderOf("Raw").value(), 4);
    EXPECT_EQ(tuneOf("Raw").value(), 0);
    EXPECT_EQ(answers().IntensityRaw, 9);
    ClickListItem(partList("RawComplete"), 2);
    EXPECT_EQ(answers().RawComplete, 5);
    EXPECT_TRUE(code().startsWith(Header + " X:aClR1r")) << code().toStdString();

    // A count too large to be typed is still refused when the page is left.
    QTest::mouseClick(&byNumbers(), Qt::LeftButton);
    MessageBoxCatcher catcher;
    showTab(Opinions);
    EXPECT_EQ(catcher.texts(), QStringList{"Please enter an integer between 0 and 200."});
    EXPECT_EQ(sheet().tabs().currentIndex(), Experience);
}

TEST_F(ExperiencePageTest, ARepairedFlagIsCodedAtOnce) {
    open({{"Exp/ByNumbers", -3}, {"Exp/DubPartial", 2}});
    EXPECT_EQ(answers().ByNumbers, 0);
    EXPECT_EQ(code(), Header + " X:a[R]d");
}

TEST_F(ExperiencePageTest, ControlsAreNamedAndReachableByKeyboard) {
    AnswerPage& page = open();
    EXPECT_EQ(sliderOf("Sub").accessibleName(), "Intensity of the subbed anime");
    EXPECT_EQ(countBox("MangaSub").accessibleName(), "Amount of the translated manga");
    EXPECT_EQ(find<QSpinBox>(page, "Years").accessibleName(), "Years as a fan");
    EXPECT_EQ(byNumbers().accessibleName(), "Specify Anime by Number of Episodes");
    EXPECT_EQ(find<QLabel>(page, "RawCompleteLabel").buddy(), &partList("RawComplete"));
    EXPECT_EQ(find<QLabel>(page, "TuneFrameDub").buddy(), &tuneOf("Dub"));
    // The bare letters "C", "P" and "T", and the upright sliders, are said in words too.
    for (const char* label : {"RawCompleteLabel", "SubPartialLabel", "TuneFrameDub"})
        EXPECT_GT(find<QLabel>(page, label).toolTip().size(), 10) << label;
    for (QWidget* control : {static_cast<QWidget*>(&partList("RawComplete")),
                             static_cast<QWidget*>(&tuneOf("Dub")), static_cast<QWidget*>(&sliderOf("Sub"))})
        EXPECT_GT(control->accessibleDescription().size(), 10) << control->objectName().toStdString();
    for (QWidget* control : page.findChildren<QWidget*>()) {
        if (qobject_cast<QSlider*>(control) || qobject_cast<QAbstractSpinBox*>(control) ||
            qobject_cast<QLineEdit*>(control) || qobject_cast<QListWidget*>(control) ||
            qobject_cast<QCheckBox*>(control)) {
            if (control->parentWidget() && qobject_cast<QAbstractSpinBox*>(control->parentWidget()))
                continue; // a spin's own edit line
            EXPECT_FALSE(control->objectName().isEmpty());
            EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
            EXPECT_NE(control->focusPolicy() & Qt::TabFocus, 0) << control->objectName().toStdString();
        }
    }

    QApplication::setActiveWindow(&sheet());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet()));
    QTest::keyClick(&sheet(), Qt::Key_U, Qt::AltModifier); // "S&ubbed Anime": its count box
    EXPECT_EQ(QApplication::focusWidget(), &countBox("Sub"));
    QTest::keyClick(&sheet(), Qt::Key_N, Qt::AltModifier); // "Specify Anime by &Number of Episodes"
    QTRY_COMPARE(answers().ByNumbers, 0);
}

} // namespace
