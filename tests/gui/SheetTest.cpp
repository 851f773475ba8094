#include <QClipboard>
#include <QDialogButtonBox>

#include "GuiTestSupport.h"

namespace {

using PropertySheet = SheetTest;

TEST_F(PropertySheet, HasTenTabsInOrderWithTheFirstSelected) {
    CGCPropertySheet& sheet = OpenSheet();
    EXPECT_EQ(sheet.windowTitle(), "Glomie Code 1.12.05 Encoder");
    const QStringList captions = {
        "SM",         "Favorites", "More Favorites", "Dislikes",      "More Dislikes",
        "Experience", "Opinions",  "Personal",       "More Personal", "Even More Personal"};
    ASSERT_EQ(sheet.Tabs().count(), captions.size());
    for (int i = 0; i < captions.size(); ++i)
        EXPECT_EQ(sheet.Tabs().tabText(i), captions[i]);
    EXPECT_EQ(sheet.Tabs().currentIndex(), 0);
    EXPECT_EQ(CodeBoxText(sheet.Page(0)), "GlomieCode(1.12.05) SM:5m-");
    EXPECT_FALSE(sheet.windowIcon().isNull());
}

TEST_F(PropertySheet, EveryPageHasTheCodeBoxAndItsButtons) {
    CGCPropertySheet& sheet = OpenSheet();
    for (int i = 0; i < CGCPropertySheet::PageCount; ++i) {
        CBasePropertyPage& page = sheet.Page(i);
        EXPECT_TRUE(page.CodeBox()->isReadOnly());
        EXPECT_EQ(Find<QPushButton>(page, "Decode").text(), "&Decode");
        EXPECT_EQ(Find<QPushButton>(page, "CopyCode").text(), "&Copy Code");
    }
}

TEST_F(PropertySheet, ATabSwitchShowsTheLatestCode) {
    CGCPropertySheet& sheet = OpenSheet();
    ShowTab(1);
    CBasePropertyPage& favorites = sheet.Page(1);
    ChooseItem(Find<QComboBox>(favorites, "Senshi0"), 1);
    EXPECT_EQ(CodeBoxText(favorites), "GlomieCode(1.12.05) SM:5m- F:sMo");
    ShowTab(0);
    EXPECT_EQ(CodeBoxText(sheet.Page(0)), "GlomieCode(1.12.05) SM:5m- F:sMo");
    ShowTab(3);
    EXPECT_EQ(CodeBoxText(sheet.Page(3)), "GlomieCode(1.12.05) SM:5m- F:sMo");
}

TEST_F(PropertySheet, CopyPutsTheWholeCodeOnTheClipboard) {
    CGCPropertySheet& sheet = OpenSheet({{"Exp/Years", 100}, {"Fav/Senshi0", 3}});
    QGuiApplication::clipboard()->setText(QStringLiteral("something older"));
    QTest::mouseClick(&Find<QPushButton>(sheet.Page(0), "CopyCode"), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromStdString(sheet.FullCode()));
    EXPECT_TRUE(QGuiApplication::clipboard()->text().endsWith(QString(50, QLatin1Char('*'))));
}

} // namespace
