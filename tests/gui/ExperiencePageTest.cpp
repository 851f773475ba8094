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
const QString Header = QStringLiteral("GlomieCode(1.12.05) SM:5m-");

class ExperiencePageTest : public SheetTest {
  protected:
    AnswerPage& Open(const std::map<QString, int>& stored = {}) {
        OpenSheet(stored);
        ShowTab(Experience);
        return Page();
    }
    AnswerPage& Page() { return Sheet().page(Experience); }
    const ExperienceAnswers& Answers() { return Sheet().answers().Experience; }

    QLineEdit& Count(const char* name) { return Find<QLineEdit>(Page(), name); }
    CodeListBox& List(const char* name) { return Find<CodeListBox>(Page(), name); }
    QSlider& Slider(const QString& form) { return Find<QSlider>(Page(), ("Intensity" + form).toLatin1()); }
    QSpinBox& Tune(const QString& form) { return Find<QSpinBox>(Page(), ("Boost" + form).toLatin1()); }
    QCheckBox& ByNumbers() { return Find<QCheckBox>(Page(), "ByNumbers"); }
    QString YearsLabel() { return Find<QLabel>(Page(), "YearsLabel").text(); }

    QString Code() { return CodeBoxText(Page()); }

    // The slider, tune spin and caption of a form, which open and close together.
    void ExpectTuneGroup(const QString& form, bool enabled) {
        for (const QString& name : {"Intensity" + form, "Boost" + form, "TuneFrame" + form}) {
            auto* control = Page().findChild<QWidget*>(name);
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
    AnswerPage& page = Open();
    EXPECT_TRUE(ByNumbers().isChecked());
    EXPECT_EQ(ByNumbers().text(), "Specify Anime by &Number of Episodes");
    for (const QString& form : AnimeForms + MangaForms) {
        QLineEdit& count = Count(form.toLatin1());
        EXPECT_EQ(count.text(), "0");
        EXPECT_TRUE(count.isEnabled()) << form.toStdString();
        ExpectTuneGroup(form, false);
    }
    for (const QString& list : PartLists) {
        EXPECT_FALSE(List(list.toLatin1()).isEnabled()) << list.toStdString();
        EXPECT_EQ(List(list.toLatin1()).count(), 9);
        EXPECT_FALSE(Find<QLabel>(page, (list + "Label").toLatin1()).isEnabled());
    }
    EXPECT_EQ(Find<QLabel>(page, "RawCompleteLabel").text(), "C");
    EXPECT_EQ(Find<QLabel>(page, "DubPartialLabel").text(), "P");
    EXPECT_EQ(List("SubComplete").item(0)->text(), "Sailormoon classic");
    EXPECT_EQ(List("SubComplete").item(8)->text(), "Galaxia/Starlights arc of SM*");
    // The upright sliders stand at the bottom: position 4 is drawn lowest and means no intensity.
    for (const QString& form : AnimeForms) {
        EXPECT_EQ(Slider(form).orientation(), Qt::Vertical);
        EXPECT_TRUE(Slider(form).invertedAppearance());
        EXPECT_EQ(Slider(form).value(), 4);
        EXPECT_EQ(Find<QLabel>(page, ("TuneFrame" + form).toLatin1()).text(), "T");
    }
    for (const QString& form : MangaForms) {
        EXPECT_EQ(Slider(form).orientation(), Qt::Horizontal);
        EXPECT_EQ(Slider(form).value(), 0);
        EXPECT_EQ(Find<QLabel>(page, ("TuneFrame" + form).toLatin1()).text(), "Tune");
    }
    EXPECT_EQ(YearsLabel(), "0");
    EXPECT_EQ(Code(), Header);
}

TEST_F(ExperiencePageTest, TypingACountOpensItsGroupAndRebuildsOnEveryKeystroke) {
    AnswerPage& page = Open();
    QStringList codes;
    QObject::connect(page.codeBox(), &QPlainTextEdit::textChanged,
                     [&] { codes << page.codeBox()->toPlainText(); });
    TypeText(Count("Raw"), "12");
    EXPECT_EQ(codes, QStringList({Header + " X:a1r", Header + " X:a12r"}));
    EXPECT_EQ(Answers().Raw, 12u);
    ExpectTuneGroup("Raw", true);
    ExpectTuneGroup("Sub", false);
    ExpectTuneGroup("MangaRaw", false);

    TypeText(Count("MangaRaw"), "3");
    ExpectTuneGroup("MangaRaw", true);
    EXPECT_EQ(Code(), Header + " X:a12r:m3r");
    TypeText(Count("Raw"), ""); // a cleared box stores 0 at once
    EXPECT_EQ(Answers().Raw, 0u);
    ExpectTuneGroup("Raw", false);
    EXPECT_EQ(Code(), Header + " X:m3r");
}

TEST_F(ExperiencePageTest, TheModeSwitchKeepsCountsAndPartsAlike) {
    AnswerPage& page = Open();
    TypeText(Count("Sub"), "52");
    QTest::mouseClick(&ByNumbers(), Qt::LeftButton);
    EXPECT_EQ(Answers().ByNumbers, 0);
    for (const QString& form : AnimeForms) {
        EXPECT_FALSE(Count(form.toLatin1()).isEnabled());
        ExpectTuneGroup(form, false); // no part chosen, whatever the counts say
    }
    for (const QString& list : PartLists) {
        EXPECT_TRUE(List(list.toLatin1()).isEnabled());
        EXPECT_TRUE(Find<QLabel>(page, (list + "Label").toLatin1()).isEnabled());
    }
    EXPECT_TRUE(Count("MangaSub").isEnabled());
    EXPECT_EQ(Answers().Sub, 52u);
    EXPECT_EQ(Code(), Header);

    ClickListItem(List("SubComplete"), 4);
    EXPECT_EQ(List("SubComplete").item(4)->text(), "Sailormoon S");
    EXPECT_EQ(Answers().SubComplete, 16);
    ExpectTuneGroup("Sub", true);
    ExpectTuneGroup("Raw", false);
    EXPECT_EQ(Code(), Header + " X:aSs");

    QTest::mouseClick(&ByNumbers(), Qt::LeftButton);
    EXPECT_EQ(Answers().ByNumbers, 1);
    EXPECT_EQ(Answers().SubComplete, 16);
    EXPECT_FALSE(List("SubComplete").isEnabled());
    ExpectTuneGroup("Sub", true);
    EXPECT_EQ(Code(), Header + " X:a52s");
    ClickListItem(List("SubComplete"), 4); // a closed list takes no clicks
    EXPECT_EQ(Answers().SubComplete, 16);
}

TEST_F(ExperiencePageTest, APartialListAloneOpensItsGroup) {
    Open({{"Exp/ByNumbers", 0}});
    ClickListItem(List("DubPartial"), 1);
    EXPECT_EQ(Answers().DubPartial, 2);
    ExpectTuneGroup("Dub", true);
    PressKey(Slider("Dub"), Qt::Key_Up);
    EXPECT_EQ(Code(), Header + " X:a[R]d+");
    ClickListItem(List("DubPartial"), 1); // a click takes the row back out
    EXPECT_EQ(Answers().DubPartial, 0);
    ExpectTuneGroup("Dub", false);
    EXPECT_EQ(Code(), Header);
}

TEST_F(ExperiencePageTest, TheUprightTuneNeverPassesTheTop) {
    Open();
    TypeText(Count("Raw"), "5");
    QSlider& slider = Slider("Raw");
    QSpinBox& tune = Tune("Raw");
    PressKey(slider, Qt::Key_Up, 2); // up the slider: stronger
    EXPECT_EQ(slider.value(), 2);
    EXPECT_EQ(Answers().IntensityRaw, 2);
    PressKey(tune, Qt::Key_Up, 3); // effective 2: a tune of at most 2
    EXPECT_EQ(tune.value(), 2);
    EXPECT_EQ(Answers().BoostRaw, 2);
    EXPECT_EQ(Code(), Header + " X:a5r++[++]");
    PressKey(slider, Qt::Key_Up); // position 1, effective 3: 3 + 2 > 4
    EXPECT_EQ(Answers().IntensityRaw, 1);
    EXPECT_EQ(Answers().BoostRaw, 1);
    EXPECT_EQ(Code(), Header + " X:a5r+++[+]");
    PressKey(slider, Qt::Key_Up); // the top: no room left
    EXPECT_EQ(Answers().IntensityRaw, 0);
    EXPECT_EQ(Answers().BoostRaw, 0);
    EXPECT_EQ(tune.value(), 0);
    EXPECT_EQ(Code(), Header + " X:a5r++++");
    PressKey(slider, Qt::Key_Down, 4);
    EXPECT_EQ(Answers().IntensityRaw, 4);
    EXPECT_EQ(Code(), Header + " X:a5r");

    // The manga sliders lie flat and are not inverted.
    TypeText(Count("MangaSub"), "18");
    PressKey(Slider("MangaSub"), Qt::Key_Right, 3);
    PressKey(Tune("MangaSub"), Qt::Key_Up, 2);
    EXPECT_EQ(Answers().BoostMangaSub, 1);
    EXPECT_EQ(Code(), Header + " X:a5r:m18s+++[+]");
}

TEST_F(ExperiencePageTest, TheYearsSpinCountsHalfYears) {
    Open();
    QSpinBox& years = Find<QSpinBox>(Page(), "Years");
    QStringList labels;
    for (int i = 0; i < 3; ++i) {
        PressKey(years, Qt::Key_Up);
        labels << YearsLabel();
    }
    EXPECT_EQ(labels, QStringList({"0+", "1", "1+"}));
    EXPECT_EQ(Answers().Years, 3);
    EXPECT_EQ(Code(), Header + " X:*[*]");
    PressKey(years, Qt::Key_Down, 5); // no wrap-around below 0
    EXPECT_EQ(Answers().Years, 0);
    EXPECT_EQ(YearsLabel(), "0");
    EXPECT_EQ(Code(), Header);
    PressKey(years, Qt::Key_PageUp, 11); // ten steps at a time, up to 100 half years
    EXPECT_EQ(YearsLabel(), "50");
    EXPECT_EQ(Code(), Header + " X:" + QString(50, QLatin1Char('*')));
}

TEST_F(ExperiencePageTest, StoredYearsShowInTheLabel) {
    const std::pair<int, const char*> cases[] = {{0, "0"},  {1, "0+"},   {2, "1"},
                                                 {7, "3+"}, {100, "50"}, {-1, "0+"}};
    for (const auto& [stored, label] : cases) {
        Open({{"Exp/Years", stored}});
        EXPECT_EQ(YearsLabel(), label) << stored;
    }
    // A damaged value shows as stored until the spin is used, which starts from its own range.
    EXPECT_EQ(Answers().Years, -1);
    EXPECT_EQ(Code(), Header + " X:[*]");
    PressKey(Find<QSpinBox>(Page(), "Years"), Qt::Key_Up);
    EXPECT_EQ(Answers().Years, 1);
    EXPECT_EQ(YearsLabel(), "0+");
}

TEST_F(ExperiencePageTest, LeavingWithACountPast200IsRefused) {
    EncoderSheet& sheet = OpenSheet();
    ShowTab(Experience);
    QLineEdit& dub = Count("Dub");
    TypeText(dub, "201");
    EXPECT_EQ(Answers().Dub, 201u); // stored and coded at once
    EXPECT_EQ(Code(), Header + " X:a201d");
    {
        MessageBoxCatcher catcher;
        ShowTab(Opinions);
        EXPECT_EQ(catcher.Texts(), QStringList{"Please enter an integer between 0 and 200."});
    }
    EXPECT_EQ(sheet.tabs().currentIndex(), Experience);
    EXPECT_EQ(sheet.focusWidget(), &dub);
    {
        MessageBoxCatcher catcher;
        QTest::mouseClick(Find<QDialogButtonBox>(sheet, "Buttons").button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
        EXPECT_EQ(catcher.Texts().size(), 1);
    }
    EXPECT_TRUE(sheet.isVisible()); // OK is refused as well
    TypeText(dub, "200");
    ShowTab(Opinions);
    EXPECT_EQ(sheet.tabs().currentIndex(), Opinions);
}

TEST_F(ExperiencePageTest, CountsAreCheckedDubSubMangaSubRawMangaRaw) {
    EncoderSheet& sheet = OpenSheet();
    ShowTab(Experience);
    const char* order[] = {"Dub", "Sub", "MangaSub", "Raw", "MangaRaw"};
    for (const char* name : order)
        TypeText(Count(name), "999");
    for (const char* name : order) {
        {
            MessageBoxCatcher catcher;
            ShowTab(Opinions);
            EXPECT_EQ(catcher.Texts().size(), 1);
        }
        EXPECT_EQ(sheet.focusWidget(), &Count(name)) << name;
        TypeText(Count(name), "7");
    }
    ShowTab(Opinions);
    EXPECT_EQ(sheet.tabs().currentIndex(), Opinions);
}

TEST_F(ExperiencePageTest, LeavingFillsBlankBoxesWithZero) {
    EncoderSheet& sheet = OpenSheet();
    ShowTab(Experience);
    TypeText(Count("MangaRaw"), "");
    TypeText(Count("Sub"), "");
    EXPECT_EQ(Count("MangaRaw").text(), "");
    ShowTab(Opinions);
    EXPECT_EQ(sheet.tabs().currentIndex(), Opinions);
    EXPECT_EQ(Count("MangaRaw").text(), "0");
    EXPECT_EQ(Count("Sub").text(), "0");
}

TEST_F(ExperiencePageTest, ALaterVisitShowsCountsWithoutLeadingZeros) {
    Open();
    TypeText(Count("Dub"), "007");
    EXPECT_EQ(Code(), Header + " X:a7d");
    ShowTab(Opinions);
    ShowTab(Experience);
    EXPECT_EQ(Count("Dub").text(), "7");
    EXPECT_EQ(Answers().Dub, 7u);
}

// The worked examples of the experience section, answered through the page's controls.
TEST_F(ExperiencePageTest, WorkedExamplesBuiltThroughTheControls) {
    Open();
    TypeText(Count("Sub"), "52");
    PressKey(Slider("Sub"), Qt::Key_Up, 3);
    TypeText(Count("Dub"), "12");
    PressKey(Tune("Dub"), Qt::Key_Up);
    EXPECT_EQ(Code(), Header + " X:a52s+++|12d[+]");

    Open();
    PressKey(Find<QSpinBox>(Page(), "Years"), Qt::Key_Up, 7);
    QTest::mouseClick(&ByNumbers(), Qt::LeftButton);
    ClickListItem(List("RawComplete"), 0);
    PressKey(Slider("Raw"), Qt::Key_Up, 2);
    ClickListItem(List("SubComplete"), 0);
    ClickListItem(List("SubComplete"), 4);
    ClickListItem(List("SubPartial"), 5);
    PressKey(Slider("Sub"), Qt::Key_Home);
    EXPECT_EQ(Answers().SubComplete, 17);
    EXPECT_EQ(Answers().SubPartial, 32);
    TypeText(Count("MangaSub"), "18");
    PressKey(Slider("MangaSub"), Qt::Key_Right, 2);
    PressKey(Tune("MangaSub"), Qt::Key_Up);
    EXPECT_EQ(Code(), Header + " X:***[*]:aClr++|ClS[SS]s++++:m18s++[+]");
    EXPECT_EQ(Sheet().fullCode(), Code().toStdString());
}

TEST_F(ExperiencePageTest, StoredAnswersAreShownAndSavedAgain) {
    Open({{"Exp/Years", 7},
          {"Exp/ByNumbers", 0},
          {"Exp/RawComplete", 1},
          {"Exp/IntensityRaw", 2},
          {"Exp/SubComplete", 17},
          {"Exp/SubPartial", 32},
          {"Exp/IntensitySub", 0},
          {"Exp/BoostDub", 3},
          {"Exp/Dub", 12},
          {"Exp/MangaRaw", 4}});
    EXPECT_EQ(Code(), Header + " X:***[*]:aClr++|ClS[SS]s++++:m4r");
    EXPECT_FALSE(ByNumbers().isChecked());
    EXPECT_EQ(YearsLabel(), "3+");
    EXPECT_EQ(List("SubComplete").selectionMask(), 17u);
    EXPECT_EQ(List("SubPartial").selectionMask(), 32u);
    EXPECT_EQ(Slider("Raw").value(), 2);
    EXPECT_EQ(Tune("Dub").value(), 3);
    EXPECT_EQ(Count("Dub").text(), "12");
    EXPECT_EQ(Count("MangaRaw").text(), "4");
    ExpectTuneGroup("Raw", true);
    ExpectTuneGroup("Dub", false); // by parts, and no dubbed part chosen
    ExpectTuneGroup("MangaRaw", true);

    // Changes go into the store with the rest of the answers; the manga ratings do not.
    PressKey(Slider("MangaRaw"), Qt::Key_Right, 2);
    ClickListItem(List("RawPartial"), 8);
    {
        auto store = QSettingsStore::ForIniFile(SettingsPath());
        SaveSettings(*store, Sheet().answers());
    }
    Open();
    EXPECT_EQ(Answers().RawPartial, 256);
    EXPECT_EQ(List("RawPartial").selectionMask(), 256u);
    EXPECT_EQ(Answers().MangaRaw, 4u);
    EXPECT_EQ(Slider("MangaRaw").value(), 0);
    EXPECT_EQ(Answers().IntensityMangaRaw, 0);
    EXPECT_EQ(Code(), Header + " X:***[*]:aCl[Gx]r++|ClS[SS]s++++:m4r");
}

TEST_F(ExperiencePageTest, DamagedStoredValuesAreShownWithoutHarm) {
    Open({{"Exp/ByNumbers", 5},
          {"Exp/RawComplete", static_cast<int>(0xFFFFFE01u)},
          {"Exp/IntensityRaw", 9},
          {"Exp/BoostRaw", -7},
          {"Exp/Sub", -1}});
    // A flag outside 0..2 becomes 0: the page works by parts.
    EXPECT_EQ(Answers().ByNumbers, 0);
    EXPECT_FALSE(ByNumbers().isChecked());
    EXPECT_TRUE(List("RawComplete").isEnabled());
    // Only the rows that exist are selected; the field keeps its other bits until the list changes.
    EXPECT_EQ(List("RawComplete").selectionMask(), 1u);
    EXPECT_EQ(Answers().RawComplete, static_cast<int32_t>(0xFFFFFE01u));
    EXPECT_EQ(Slider("Raw").value(), 4);
    EXPECT_EQ(Tune("Raw").value(), 0);
    EXPECT_EQ(Answers().IntensityRaw, 9);
    ClickListItem(List("RawComplete"), 2);
    EXPECT_EQ(Answers().RawComplete, 5);
    EXPECT_TRUE(Code().startsWith(Header + " X:aClR1r")) << Code().toStdString();

    // A count too large to be typed is still refused when the page is left.
    QTest::mouseClick(&ByNumbers(), Qt::LeftButton);
    MessageBoxCatcher catcher;
    ShowTab(Opinions);
    EXPECT_EQ(catcher.Texts(), QStringList{"Please enter an integer between 0 and 200."});
    EXPECT_EQ(Sheet().tabs().currentIndex(), Experience);
}

TEST_F(ExperiencePageTest, ARepairedFlagIsCodedAtOnce) {
    Open({{"Exp/ByNumbers", -3}, {"Exp/DubPartial", 2}});
    EXPECT_EQ(Answers().ByNumbers, 0);
    EXPECT_EQ(Code(), Header + " X:a[R]d");
}

TEST_F(ExperiencePageTest, ControlsAreNamedAndReachableByKeyboard) {
    AnswerPage& page = Open();
    EXPECT_EQ(Slider("Sub").accessibleName(), "Intensity of the subbed anime");
    EXPECT_EQ(Count("MangaSub").accessibleName(), "Amount of the translated manga");
    EXPECT_EQ(Find<QSpinBox>(page, "Years").accessibleName(), "Years as a fan");
    EXPECT_EQ(ByNumbers().accessibleName(), "Specify Anime by Number of Episodes");
    EXPECT_EQ(Find<QLabel>(page, "RawCompleteLabel").buddy(), &List("RawComplete"));
    EXPECT_EQ(Find<QLabel>(page, "TuneFrameDub").buddy(), &Tune("Dub"));
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

    QApplication::setActiveWindow(&Sheet());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Sheet()));
    QTest::keyClick(&Sheet(), Qt::Key_U, Qt::AltModifier); // "S&ubbed Anime": its count box
    EXPECT_EQ(QApplication::focusWidget(), &Count("Sub"));
    QTest::keyClick(&Sheet(), Qt::Key_N, Qt::AltModifier); // "Specify Anime by &Number of Episodes"
    QTRY_COMPARE(Answers().ByNumbers, 0);
}

} // namespace
