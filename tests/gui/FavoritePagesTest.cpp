// SPDX-License-Identifier: MIT
#include "GuiTestSupport.h"

namespace {

using FavoritePages = SheetTest;

constexpr int Favorites = 1, MoreFavorites = 2, Dislikes = 3, MoreDislikes = 4;

// The controls that open and close with a slot's choice.
QList<QWidget*> SlotControls(QWidget& page, const QString& name) {
    return {page.findChild<QWidget*>("Trend" + name), page.findChild<QWidget*>("Intensity" + name),
            page.findChild<QWidget*>("Boost" + name), page.findChild<QWidget*>("TuneFrame" + name),
            page.findChild<QWidget*>("IntensityFrame" + name)};
}

void ExpectSlotEnabled(QWidget& page, const QString& name, bool enabled) {
    for (QWidget* control : SlotControls(page, name)) {
        ASSERT_NE(control, nullptr) << name.toStdString();
        EXPECT_EQ(control->isEnabled(), enabled) << control->objectName().toStdString();
    }
}

TEST_F(FavoritePages, FirstRunEverySlotIsEmptyAndClosed) {
    EncoderSheet& sheet = openSheet();
    const std::pair<int, QStringList> pages[] = {{Favorites, {"Senshi0", "Senshi1", "Villian0", "Villian1"}},
                                                 {MoreFavorites, {"Assist0", "Assist1", "Part0", "Part1"}},
                                                 {Dislikes, {"Senshi0", "Senshi1", "Villian0", "Villian1"}},
                                                 {MoreDislikes, {"Assist0", "Assist1", "Part0", "Part1"}}};
    for (const auto& [index, names] : pages) {
        showTab(index);
        AnswerPage& page = sheet.page(index);
        for (const QString& name : names) {
            auto& choice = find<QComboBox>(page, name.toLatin1().constData());
            auto& trend = find<QComboBox>(page, ("Trend" + name).toLatin1().constData());
            EXPECT_TRUE(choice.isEnabled());
            EXPECT_EQ(choice.currentIndex(), 0);
            EXPECT_EQ(trend.currentText(), "Stable");
            // Lists without a caption say what they ask in a tooltip.
            for (QComboBox* list : {&choice, &trend})
                EXPECT_EQ(list->toolTip(), list->accessibleName()) << list->objectName().toStdString();
            ExpectSlotEnabled(page, name, false);
        }
        EXPECT_EQ(codeBoxText(page), "GlomieCode(1.12.05) SM:5m-");
    }
    EXPECT_EQ(find<QComboBox>(sheet.page(Favorites), "Villian0").count(), 54);
    EXPECT_EQ(find<QComboBox>(sheet.page(MoreFavorites), "Assist1").count(), 24);
    EXPECT_EQ(find<QComboBox>(sheet.page(MoreFavorites), "Part0").count(), 10);
}

TEST_F(FavoritePages, TheSameAnswersGivePlusOnFavouritesAndMinusOnDislikes) {
    EncoderSheet& sheet = openSheet();
    for (int index : {Favorites, Dislikes}) {
        showTab(index);
        AnswerPage& page = sheet.page(index);
        ChooseItem(find<QComboBox>(page, "Villian1"), 14);
        ChooseItem(find<QComboBox>(page, "TrendVillian1"), 2);
        PressKey(find<QSlider>(page, "IntensityVillian1"), Qt::Key_Right, 3);
    }
    EXPECT_EQ(sheet.fullCode(), "GlomieCode(1.12.05) SM:5m- F:vBe>+++ D:vBe>---");
    EXPECT_EQ(sheet.answers().Favorites.IntensityVillian1, 3);
    EXPECT_EQ(sheet.answers().Dislikes.TrendVillian1, 2);

    showTab(MoreDislikes);
    AnswerPage& more = sheet.page(MoreDislikes);
    ChooseItem(find<QComboBox>(more, "Part0"), 5);
    ChooseItem(find<QComboBox>(more, "TrendPart0"), 0);
    PressKey(find<QSlider>(more, "IntensityPart0"), Qt::Key_Right);
    PressKey(find<QSpinBox>(more, "BoostPart0"), Qt::Key_Up);
    EXPECT_EQ(codeBoxText(more), "GlomieCode(1.12.05) SM:5m- F:vBe>+++ D:vBe>---:pS<-[-]");
}

TEST_F(FavoritePages, AClosedSlotKeepsItsRatingForLater) {
    EncoderSheet& sheet = openSheet();
    showTab(MoreFavorites);
    AnswerPage& page = sheet.page(MoreFavorites);
    QComboBox& assist = find<QComboBox>(page, "Assist0");
    ChooseItem(assist, 1);
    PressKey(find<QSlider>(page, "IntensityAssist0"), Qt::Key_Right, 2);
    EXPECT_EQ(codeBoxText(page), "GlomieCode(1.12.05) SM:5m- F:aLu++");
    ChooseItem(assist, 0);
    ExpectSlotEnabled(page, "Assist0", false);
    EXPECT_EQ(sheet.answers().MoreFavorites.IntensityAssist0, 2);
    EXPECT_EQ(codeBoxText(page), "GlomieCode(1.12.05) SM:5m-");
    ChooseItem(assist, 23);
    EXPECT_EQ(assist.currentText(), "grown-up Chibiusa[SuperS #16o?]");
    EXPECT_EQ(codeBoxText(page), "GlomieCode(1.12.05) SM:5m- F:aCh++");
}

TEST_F(FavoritePages, StoredRatingsPastTheTopShowUntilTheGroupIsTouched) {
    EncoderSheet& sheet = openSheet({{"Fav/Senshi0", 1},
                                     {"Fav/IntensitySenshi0", 3},
                                     {"Fav/BoostSenshi0", 3},
                                     {"Dis/Senshi0", -1},
                                     {"Dis/IntensitySenshi0", 7}});
    showTab(Favorites);
    AnswerPage& page = sheet.page(Favorites);
    EXPECT_EQ(find<QSpinBox>(page, "BoostSenshi0").value(), 3);
    EXPECT_EQ(codeBoxText(page), "GlomieCode(1.12.05) SM:5m- F:sMo+++[+++] D:s-------");
    PressKey(find<QSpinBox>(page, "BoostSenshi0"), Qt::Key_Down);
    EXPECT_EQ(sheet.answers().Favorites.BoostSenshi0, 0);

    showTab(Dislikes);
    AnswerPage& dislikes = sheet.page(Dislikes);
    // No selection counts as chosen: the slot is open. The slider shows 3 while the field keeps 7.
    EXPECT_EQ(find<QComboBox>(dislikes, "Senshi0").currentIndex(), -1);
    ExpectSlotEnabled(dislikes, "Senshi0", true);
    EXPECT_EQ(find<QSlider>(dislikes, "IntensitySenshi0").value(), 3);
    EXPECT_EQ(sheet.answers().Dislikes.IntensitySenshi0, 7);
}

TEST_F(FavoritePages, TrendListsShowTheTrendTable) {
    EncoderSheet& sheet = openSheet({{"Fav/Senshi0", 2}});
    showTab(Favorites);
    QComboBox& trend = find<QComboBox>(sheet.page(Favorites), "TrendSenshi0");
    ASSERT_EQ(trend.count(), 3);
    EXPECT_EQ(trend.itemText(0), "Decreasing");
    EXPECT_EQ(trend.itemText(2), "Increasing");
    ChooseItem(trend, 0);
    EXPECT_EQ(sheet.fullCode(), "GlomieCode(1.12.05) SM:5m- F:sTx<");
}

} // namespace
