// SPDX-License-Identifier: MIT
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>

#include "GuiTestSupport.h"
#include "pages/AnswerControls.h"
#include "pages/CodeLists.h"
#include "vocabulary/Tables.h"

namespace {

TEST(CodeLists, ADropDownListHoldsEveryRowAtItsIndex) {
    CodeComboBox list;
    list.fillFromTable(TermFeelingTable);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.itemText(0), "");
    EXPECT_EQ(list.itemText(2), "You deliberately call yourself a glomie");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(list.itemData(i).toInt(), i);
    for (int row : {-1, 3, 1000}) {
        list.showRow(row);
        EXPECT_EQ(list.currentIndex(), -1) << row;
    }
}

// Only plain letters search a drop-down list, and a space searches once a search has begun; a key
// with Alt or Ctrl that is no shortcut changes nothing.
struct ListKeysCase {
    const char* Name;
    const CodeTable* Table;
    const char* Typed;
    Qt::KeyboardModifiers Modifiers;
    int Expected; // row, from row 1
};

std::ostream& operator<<(std::ostream& os, const ListKeysCase& c) {
    return os << c.Name;
}

class ListKeys : public testing::TestWithParam<ListKeysCase> {};

TEST_P(ListKeys, OnlyPlainLettersSearch) {
    const ListKeysCase& c = GetParam();
    CodeComboBox list;
    list.fillFromTable(*c.Table);
    list.showRow(1);
    list.show();
    QSignalSpy chosen(&list, &QComboBox::currentIndexChanged);
    for (const char* key = c.Typed; *key; ++key)
        QTest::keyClick(&list, *key, c.Modifiers);
    list.hidePopup();
    EXPECT_EQ(list.currentIndex(), c.Expected);
    EXPECT_EQ(chosen.count(), c.Expected == 1 ? 0 : 1) << "one choice, made at the end of the search";
}

INSTANTIATE_TEST_SUITE_P(
    CodeLists, ListKeys,
    testing::Values(ListKeysCase{"AltO", &AssistTable, "o", Qt::AltModifier, 1},
                    ListKeysCase{"AltK", &AssistTable, "k", Qt::AltModifier, 1},
                    ListKeysCase{"CtrlK", &AssistTable, "k", Qt::ControlModifier, 1},
                    ListKeysCase{"PlainO", &AssistTable, "o", Qt::NoModifier, 2},
                    ListKeysCase{"ASpaceWithinASearch", &SenshiTable, "sailor ch", Qt::NoModifier, 3},
                    ListKeysCase{"ASpaceAloneOpensTheList", &SenshiTable, " ", Qt::NoModifier, 1}),
    [](const testing::TestParamInfo<ListKeysCase>& info) { return std::string(info.param.Name); });

TEST(CodeLists, AListBoxSkipsRowZeroAndSpeaksInMasks) {
    CodeListBox list;
    list.fillFromTable(PartTable);
    ASSERT_EQ(list.count(), 9);
    EXPECT_EQ(list.item(0)->text(), "Sailormoon classic");
    EXPECT_EQ(list.item(0)->data(Qt::UserRole).toInt(), 1);
    EXPECT_EQ(list.item(8)->data(Qt::UserRole).toInt(), 9);
    EXPECT_EQ(list.selectionMask(), 0u);
    list.item(0)->setSelected(true);
    list.item(2)->setSelected(true);
    EXPECT_EQ(list.selectionMask(), 5u);

    CodeListBox fresh;
    fresh.fillFromTable(PartTable);
    QSignalSpy changes(&fresh, &QListWidget::itemSelectionChanged);
    EXPECT_EQ(fresh.setSelectionMask(5), 9);
    EXPECT_EQ(fresh.selectionMask(), 5u);
    EXPECT_EQ(changes.count(), 0); // showing stored answers is not a user's change
    fresh.setSelectionMask(0);     // adds nothing, removes nothing
    EXPECT_EQ(fresh.selectionMask(), 5u);
    fresh.setSelectionMask(0xFFFFFE00u); // bits past the list select nothing
    EXPECT_EQ(fresh.selectionMask(), 5u);

    CodeListBox groups;
    groups.fillFromTable(GroupTable);
    EXPECT_EQ(groups.item(0)->text(), "White.[Irish, Italian, Spanish, French, Russian, etc..]");
    groups.item(0)->setSelected(true);
    groups.item(8)->setSelected(true);
    EXPECT_EQ(groups.selectionMask(), 257u);
}

TEST(CountBox, TakesDigitsOnlyAndChecksItsRangeWhenLeft) {
    CountBox box;
    box.clear();
    QTest::keyClicks(&box, QStringLiteral("2a0-1"));
    EXPECT_EQ(box.text(), "201");
    EXPECT_EQ(box.validate(0, 200), "Please enter an integer between 0 and 200.");
    box.setText(QStringLiteral("200"));
    EXPECT_EQ(box.validate(0, 200), std::nullopt);
    box.setText(QStringLiteral("99999999999999999999999"));
    EXPECT_EQ(box.validate(0, 500), "Please enter an integer between 0 and 500.");
    box.setText(QStringLiteral("1 2")); // pasted around the filter
    EXPECT_EQ(box.validate(0, 200), "Please enter a positive integer.");
    box.clear();
    box.fillBlankCount();
    EXPECT_EQ(box.text(), "0");
}

TEST(Flags, StoredFlagsOutsideTheCheckBoxStatesShowClear) {
    FlagBox box;
    for (const auto& [stored, shown, kept] :
         {std::tuple{0, Qt::Unchecked, 0}, std::tuple{1, Qt::Checked, 1},
          std::tuple{2, Qt::PartiallyChecked, 2}, std::tuple{3, Qt::Unchecked, 0},
          std::tuple{-1, Qt::Unchecked, 0}}) {
        ShowFlag(box, stored);
        EXPECT_EQ(box.checkState(), shown) << stored;
        EXPECT_EQ(FlagOf(box), kept) << stored;
    }
    ShowFlag(box, 2);
    for (int click = 0; click < 3; ++click)
        box.click();
    EXPECT_NE(FlagOf(box), 2); // clicks never give the third state back
    EXPECT_FALSE(box.isTristate());
}

} // namespace

namespace {

// A user's action on a slider or spin, also one that leaves it where it was, stores the control's
// value and corrects a stored tune that no longer fits.
struct ActionCase {
    const char* Name;
    std::map<QString, int> Stored;
    int Tab;
    const char* Control;
    int Key; // 0: a click on the slider's thumb
    const char* Code;
};

std::ostream& operator<<(std::ostream& os, const ActionCase& c) {
    return os << c.Name;
}

class EveryAction : public SheetTest, public testing::WithParamInterface<ActionCase> {};

QPoint ThumbCentre(const QSlider& slider) {
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.orientation = slider.orientation();
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.sliderPosition = option.sliderValue = slider.value();
    option.upsideDown = slider.invertedAppearance();
    option.tickPosition = slider.tickPosition();
    return slider.style()
        ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &slider)
        .center();
}

TEST_P(EveryAction, RunsTheHandlerEvenWhenTheValueStays) {
    const ActionCase& c = GetParam();
    openSheet(c.Stored);
    showTab(c.Tab);
    AnswerPage& page = sheet().page(c.Tab);
    auto& control = find<QWidget>(page, c.Control);
    const QString before = codeBoxText(page);
    if (c.Key != 0) {
        PressKey(control, static_cast<Qt::Key>(c.Key));
    } else {
        auto& slider = dynamic_cast<QSlider&>(control);
        const int position = slider.value();
        QTest::mouseClick(&slider, Qt::LeftButton, {}, ThumbCentre(slider));
        EXPECT_EQ(slider.value(), position) << "the click moved the thumb";
    }
    EXPECT_NE(codeBoxText(page), before);
    EXPECT_EQ(codeBoxText(page), c.Code);
}

const std::map<QString, int> OverfullSenshi = {
    {"Fav/Senshi0", 1}, {"Fav/IntensitySenshi0", 3}, {"Fav/BoostSenshi0", 3}};

INSTANTIATE_TEST_SUITE_P(
    AtTheEnds, EveryAction,
    testing::Values(ActionCase{"RightAtTheTopOfTheDub",
                               {{"Op/OmitDub", 0}, {"Op/IntensityDub", 2}, {"Op/BoostDub", 4}},
                               6,
                               "IntensityDub",
                               Qt::Key_Right,
                               "GlomieCode(1.12.05) SM:5m- O:d++"},
                    ActionCase{"EndAtTheEndOfASenshi", OverfullSenshi, 1, "IntensitySenshi0", Qt::Key_End,
                               "GlomieCode(1.12.05) SM:5m- F:sMo+++"},
                    ActionCase{"UpAtTheTopOfItsTune", OverfullSenshi, 1, "BoostSenshi0", Qt::Key_Up,
                               "GlomieCode(1.12.05) SM:5m- F:sMo+++"},
                    ActionCase{"AClickOnTheThumb", OverfullSenshi, 1, "IntensitySenshi0", 0,
                               "GlomieCode(1.12.05) SM:5m- F:sMo+++"},
                    ActionCase{"UpAtTheTopOfAnUprightSlider",
                               {{"Exp/Raw", 5}, {"Exp/IntensityRaw", 0}, {"Exp/BoostRaw", 4}},
                               5,
                               "IntensityRaw",
                               Qt::Key_Up,
                               "GlomieCode(1.12.05) SM:5m- X:a5r++++"},
                    ActionCase{"PageUpAtTheTopOfSos",
                               {{"Op/OmitSos", 0}, {"Op/IntensitySos", 3}, {"Op/BoostSos", 5}},
                               6,
                               "IntensitySos",
                               Qt::Key_PageUp,
                               "GlomieCode(1.12.05) SM:5m- O:s+++"}),
    [](const testing::TestParamInfo<ActionCase>& info) { return std::string(info.param.Name); });

// An action that comes from outside an event (a screen reader's "increase", a program) is reported
// once, with the slider already at its new position.
TEST(CodeSlider, AnActionFromOutsideAnEventIsReportedOnceAtItsNewPosition) {
    CodeSlider slider(Qt::Horizontal);
    slider.setRange(0, 3);
    QList<int> reported;
    QObject::connect(&slider, &CodeSlider::notified, [&] { reported << slider.value(); });
    slider.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    slider.triggerAction(QAbstractSlider::SliderToMaximum);
    slider.triggerAction(QAbstractSlider::SliderToMaximum); // stays: still reported
    EXPECT_EQ(reported, QList<int>({1, 3, 3}));
}

// The wheel over a list, slider or spin that does not have the focus changes no answer: it is the
// page's, to scroll. With the focus, it works the control.
class Wheel : public SheetTest, public testing::WithParamInterface<std::pair<int, const char*>> {
  protected:
    static bool roll(QWidget& control) {
        const QPointF at = QRectF(control.rect()).center();
        QWheelEvent event(at, control.mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&control, &event);
        return event.isAccepted();
    }
};

TEST_P(Wheel, MovesOnlyTheControlWithTheFocus) {
    const auto [tab, name] = GetParam();
    openSheet({{"Fav/Senshi0", 1}, {"Op/OmitDub", 0}});
    showTab(tab);
    AnswerPage& page = sheet().page(tab);
    auto& control = find<QWidget>(page, name);
    QApplication::setActiveWindow(&sheet());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet()));
    page.codeBox()->setFocus();
    const QString before = codeBoxText(page);
    EXPECT_FALSE(roll(control)) << "the wheel was taken";
    EXPECT_EQ(codeBoxText(page), before);
    control.setFocus();
    ASSERT_TRUE(control.hasFocus());
    roll(control);
    EXPECT_NE(codeBoxText(page), before);
}

INSTANTIATE_TEST_SUITE_P(Controls, Wheel,
                         testing::Values(std::pair{1, "Senshi0"}, std::pair{0, "Pri"},
                                         std::pair{6, "BoostDub"}),
                         [](const testing::TestParamInfo<std::pair<int, const char*>>& info) {
                             return std::string(info.param.second);
                         });

} // namespace
