// The main window's controller of the function menus: placement, closing, menus that cannot
// open, and many openings leaving no window behind.
#include "menus/FunctionMenus.h"

#include "config/MacroTable.h"
#include "menus/CMenuDlg.h"
#include "menus/CSubMenuDlg.h"
#include "menus/MenuTestSkin.h"

#include <QFile>
#include <QPointer>

namespace veldran::test {
namespace {

class FunctionMenusTest : public MenuSkinTest {
protected:
    FunctionMenus menus{state, profile, [this] { return macroNames; }};
    const QRect mainWindow{200, 150, 500, 400};
    const QRect field{30, 60, 90, 22};
};

TEST_F(FunctionMenusTest, OpensUnderTheFieldAlignedWithItsLeftEdge) {
    ASSERT_TRUE(menus.open(21, mainWindow, field));
    CMenuDlg* menu = menus.menu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->geometry(), QRect(230, 150 + 60 + 22, 300, 300));
    EXPECT_EQ(state.functionMenu.targetSlot, 21);
    EXPECT_TRUE(state.functionMenu.menuOpen);
}

TEST_F(FunctionMenusTest, PressOnTheMainPageDestroysTheMenu) {
    ASSERT_TRUE(menus.open(17, mainWindow, field));
    QPointer<CMenuDlg> menu = menus.menu();
    menus.destroyMenu();
    EXPECT_EQ(menus.menu(), nullptr);
    EXPECT_FALSE(state.functionMenu.menuOpen);
    EXPECT_FALSE(menu->isVisible());
    flushDeletes();
    EXPECT_TRUE(menu.isNull());
    menus.destroyMenu(); // nothing open: no effect
}

TEST_F(FunctionMenusTest, UndecodableMaskOpensNoMenu) {
    QFile mask(dir.filePath(QStringLiteral("menu_mask.jpg")));
    ASSERT_TRUE(mask.open(QIODevice::WriteOnly | QIODevice::Truncate));
    mask.write("not a picture");
    mask.close();
    EXPECT_FALSE(menus.open(19, mainWindow, field));
    EXPECT_EQ(menus.menu(), nullptr);
    EXPECT_FALSE(state.functionMenu.menuOpen);
}

TEST_F(FunctionMenusTest, NewMenuRepaintsOnTheRowThePreviousOneLeftHighlighted) {
    ASSERT_TRUE(menus.open(19, mainWindow, field));
    ASSERT_TRUE(restOn(menus.menu(), 10));

    ASSERT_TRUE(menus.open(19, mainWindow, field));
    EXPECT_EQ(state.functionMenu.previousHotRow, kNoRow);
    EXPECT_TRUE(restOn(menus.menu(), 10));
}

TEST_F(FunctionMenusTest, ManyOpeningsLeaveNoWindowsBehind) {
    macroNames = {QStringLiteral("one")};
    flushDeletes();
    const auto windowsBefore = QApplication::topLevelWidgets().size();
    for (int round = 0; round < 60; ++round) {
        ASSERT_TRUE(menus.open(17 + round % 7, mainWindow, field));
        CMenuDlg* menu = menus.menu();
        for (int row : {7, 8, 9, 10}) {
            ASSERT_TRUE(restOn(menu, row));
        }
        CSubMenuDlg* advanced = menu->advancedMenu();
        ASSERT_NE(advanced, nullptr);
        switch (round % 3) {
        case 0: // a choice in the advanced function menu, then the main window's paint
            moveTo(advanced, rowPoint(1));
            release(advanced, rowPoint(1));
            EXPECT_TRUE(menus.honourCloseRequest());
            break;
        case 1: // a direct choice
            moveTo(menu, rowPoint(2));
            release(menu, rowPoint(2));
            break;
        default: // the next press on the main page
            menus.destroyMenu();
            break;
        }
        QCoreApplication::processEvents();
        flushDeletes();
    }
    menus.destroyMenu();
    flushDeletes();
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windowsBefore);
}

TEST_F(FunctionMenusTest, MacroCategoryListsTheMacroTable) {
    MacroTable macros;
    macros.edit([](auto& records) {
        records[0].setName("Copy 复制");
        records[1].setName("Second");
        records[2].setName("Not counted");
    });
    macros.setCount(2);
    FunctionMenus tableMenus(state, profile, macros);
    ASSERT_TRUE(tableMenus.open(19, mainWindow, field));
    ASSERT_TRUE(restOn(tableMenus.menu(), 9));
    CSubMenuDlg* advanced = tableMenus.menu()->advancedMenu();
    ASSERT_NE(advanced, nullptr);
    EXPECT_EQ(advanced->category().rowCount, 2);
    EXPECT_EQ(advanced->rowText(1), QStringLiteral("Copy 复制"));
    EXPECT_EQ(advanced->rowText(3), QString());
    moveTo(advanced, rowPoint(2));
    release(advanced, rowPoint(2));
    EXPECT_EQ(profile.code(3), 42);
}

} // namespace
} // namespace veldran::test
