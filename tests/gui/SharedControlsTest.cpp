#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>

#include "GuiTestSupport.h"
#include "pages/CodeLists.h"
#include "pages/TuneControls.h"
#include "vocabulary/Tables.h"

namespace {

TEST(CodeLists, ADropDownListHoldsEveryRowAtItsIndex) {
    CodeComboBox list;
    list.FillFromTable(TermFeelingTable);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.itemText(0), "");
    EXPECT_EQ(list.itemText(2), "You deliberately call yourself a glomie");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(list.itemData(i).toInt(), i);
    for (int row : {-1, 3, 1000}) {
        list.ShowRow(row);
        EXPECT_EQ(list.currentIndex(), -1) << row;
    }
}

TEST(CodeLists, AListBoxSkipsRowZeroAndSpeaksInMasks) {
    CodeListBox list;
    list.FillFromTable(PartTable);
    ASSERT_EQ(list.count(), 9);
    EXPECT_EQ(list.item(0)->text(), "Sailormoon classic");
    EXPECT_EQ(list.item(0)->data(Qt::UserRole).toInt(), 1);
    EXPECT_EQ(list.item(8)->data(Qt::UserRole).toInt(), 9);
    EXPECT_EQ(list.GetSelectionMask(), 0u);
    list.item(0)->setSelected(true);
    list.item(2)->setSelected(true);
    EXPECT_EQ(list.GetSelectionMask(), 5u);

    CodeListBox fresh;
    fresh.FillFromTable(PartTable);
    QSignalSpy changes(&fresh, &QListWidget::itemSelectionChanged);
    EXPECT_EQ(fresh.SetSelectionMask(5), 9);
    EXPECT_EQ(fresh.GetSelectionMask(), 5u);
    EXPECT_EQ(changes.count(), 0); // showing stored answers is not a user's change
    fresh.SetSelectionMask(0);     // adds nothing, removes nothing
    EXPECT_EQ(fresh.GetSelectionMask(), 5u);
    fresh.SetSelectionMask(0xFFFFFE00u); // bits past the list select nothing
    EXPECT_EQ(fresh.GetSelectionMask(), 5u);

    CodeListBox groups;
    groups.FillFromTable(GroupTable);
    EXPECT_EQ(groups.item(0)->text(), "White.[Irish, Italian, Spanish, French, Russian, etc..]");
    groups.item(0)->setSelected(true);
    groups.item(8)->setSelected(true);
    EXPECT_EQ(groups.GetSelectionMask(), 257u);
}

struct ClampCase {
    const char* name;
    int minimum, maximum, position, tune;
    bool inverted;
    int expected;
};

std::ostream& operator<<(std::ostream& os, const ClampCase& c) {
    return os << c.name;
}

class TuneClamp : public testing::TestWithParam<ClampCase> {};

TEST_P(TuneClamp, KeepsTheEffectiveIntensityInRange) {
    const ClampCase& c = GetParam();
    QSlider slider(Qt::Horizontal);
    QSpinBox spin;
    slider.setRange(c.minimum, c.maximum);
    slider.setValue(c.position);
    const int width = c.maximum - c.minimum;
    spin.setRange(c.minimum < 0 ? -width : 0, width);
    spin.setValue(c.tune);
    EXPECT_EQ(ClampTune(slider, spin, c.inverted), c.expected);
    EXPECT_EQ(spin.value(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, TuneClamp,
    testing::Values(
        ClampCase{"StepPastTheTop", 0, 3, 2, 2, false, 1}, ClampCase{"SliderToTheTop", 0, 3, 3, 2, false, 0},
        ClampCase{"Fits", 0, 3, 1, 2, false, 2}, ClampCase{"InvertedCut", 0, 4, 1, 2, true, 1},
        ClampCase{"InvertedTop", 0, 4, 0, 3, true, 0}, ClampCase{"InvertedBottom", 0, 4, 4, 4, true, 4},
        ClampCase{"SosHigh", -2, 3, 2, 3, false, 1}, ClampCase{"SosLow", -2, 3, -2, -1, false, 0},
        ClampCase{"AgeHigh", -3, 4, 3, 5, false, 1}, ClampCase{"AgeLow", -3, 4, -3, -7, false, 0},
        ClampCase{"ToneHigh", -2, 2, 1, 3, false, 1}, ClampCase{"DubAtTop", -2, 2, 2, 1, false, 0}),
    [](const testing::TestParamInfo<ClampCase>& info) { return std::string(info.param.name); });

TEST(TuneClamp, RowTunesStayWithinTheThreeRows) {
    QSpinBox spin;
    spin.setRange(-2, 2);
    const int cases[][3] = {{0, -1, 0}, {0, 2, 2}, {1, 2, 1}, {1, -2, -1}, {2, 2, 0}, {2, -2, -2}, {2, 1, 0}};
    for (const auto& [row, tune, expected] : cases) {
        spin.setValue(tune);
        EXPECT_EQ(ClampRowTune(row, spin), expected) << row << " " << tune;
        EXPECT_EQ(spin.value(), expected);
    }
}

TEST(CountBox, ParsesAsTypedAndSaturates) {
    const std::pair<const char*, int32_t> cases[] = {
        {"", 0},
        {"12", 12},
        {"  42", 42},
        {"-5", -5},
        {"+7", 7},
        {"12ab", 12},
        {"ab12", 0},
        {"007", 7},
        {"99999999999", INT32_MAX},
        {"-99999999999", INT32_MIN},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(CountBox::ParseCount(QString::fromLatin1(text)), expected) << text;
}

TEST(CountBox, TakesDigitsOnlyAndChecksItsRangeWhenLeft) {
    CountBox box;
    box.clear();
    QTest::keyClicks(&box, QStringLiteral("2a0-1"));
    EXPECT_EQ(box.text(), "201");
    EXPECT_EQ(box.Validate(0, 200), "Please enter an integer between 0 and 200.");
    box.setText(QStringLiteral("200"));
    EXPECT_EQ(box.Validate(0, 200), std::nullopt);
    box.setText(QStringLiteral("99999999999999999999999"));
    EXPECT_EQ(box.Validate(0, 500), "Please enter an integer between 0 and 500.");
    box.setText(QStringLiteral("1 2")); // pasted around the filter
    EXPECT_EQ(box.Validate(0, 200), "Please enter a positive integer.");
    box.clear();
    box.FillBlankCount();
    EXPECT_EQ(box.text(), "0");
}

TEST(Flags, StoredFlagsOutsideTheCheckBoxStatesBecomeClear) {
    QCheckBox box;
    for (const auto& [stored, shown, kept] :
         {std::tuple{0, Qt::Unchecked, 0}, std::tuple{1, Qt::Checked, 1},
          std::tuple{2, Qt::PartiallyChecked, 2}, std::tuple{3, Qt::Unchecked, 0},
          std::tuple{-1, Qt::Unchecked, 0}}) {
        int32_t flag = stored;
        ShowFlag(box, flag);
        EXPECT_EQ(box.checkState(), shown) << stored;
        EXPECT_EQ(flag, kept) << stored;
        EXPECT_EQ(FlagOf(box), kept) << stored;
    }
    int32_t partly = 2;
    ShowFlag(box, partly);
    for (int click = 0; click < 3; ++click)
        box.click();
    EXPECT_NE(FlagOf(box), 2); // clicks never give the third state back
    EXPECT_FALSE(box.isTristate());
}

} // namespace
