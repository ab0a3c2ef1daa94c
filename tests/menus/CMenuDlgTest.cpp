// The function menu window: direct choices, category rows opening the advanced function menu,
// and what a paint shows.
#include "menus/CMenuDlg.h"

#include "menus/CSubMenuDlg.h"
#include "menus/MenuTestSkin.h"

#include <QPointer>
#include <QSignalSpy>

namespace veldran::test {
namespace {

class CMenuDlgTest : public MenuSkinTest {
protected:
    void SetUp() override {
        MenuSkinTest::SetUp();
        state.functionMenu.targetSlot = 19; // the field of slot 3
        menu = new CMenuDlg(context(), functionMenuGeometry(QSize(kMenuWidth, 10 * kRow)));
        menu->setGeometry(50, 300, 300, 300);
        menu->show();
    }
    void TearDown() override {
        delete menu.data();
        MenuSkinTest::TearDown();
    }

    void restOn(int row) { ASSERT_TRUE(test::restOn(menu, row)) << row; }

    QPointer<CMenuDlg> menu;
};

TEST_F(CMenuDlgTest, WindowIsTitledAndShapedFromTheMask) {
    EXPECT_EQ(menu->windowTitle(), "MainMenuDlg");
    EXPECT_EQ(menu->mask(), QRegion(0, 0, kMenuWidth, 10 * kRow + 1));
    EXPECT_EQ(state.functionMenu.hotRow, kNoRow);
}

TEST_F(CMenuDlgTest, ReleaseOnADirectRowWritesItsNumberAndCloses) {
    QSignalSpy chosen(menu.data(), &CMenuDlg::functionChosen);
    moveTo(menu, rowPoint(3));
    press(menu, rowPoint(3));
    EXPECT_TRUE(state.functionMenu.pressed);
    release(menu, rowPoint(3));

    EXPECT_EQ(profile.code(3), 3);
    EXPECT_FALSE(state.functionMenu.pressed);
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_FALSE(menu->isVisible());
    flushDeletes();
    EXPECT_TRUE(menu.isNull());
    for (int slot : {1, 2, 4, 5, 6, 7, 8, 9, 10}) {
        EXPECT_EQ(profile.code(slot), 100 + slot) << slot;
    }
}

TEST_F(CMenuDlgTest, ReleaseOnACategoryRowOrBelowTheRowsChangesNothing) {
    for (QPoint at : {rowPoint(8), QPoint(10, 10 * kRow)}) {
        moveTo(menu, at);
        press(menu, at);
        release(menu, at);
    }
    flushDeletes();
    ASSERT_FALSE(menu.isNull());
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(profile.code(3), 103);
}

TEST_F(CMenuDlgTest, MenuForSlotEightWritesIntoSlotEight) {
    state.functionMenu.targetSlot = 24;
    moveTo(menu, rowPoint(5));
    release(menu, rowPoint(5));
    EXPECT_EQ(profile.code(8), 5);
    EXPECT_EQ(profile.code(3), 103);
}

TEST_F(CMenuDlgTest, RestingOnCategoryRowsReplacesAndClosesTheAdvancedMenu) {
    restOn(7);
    QPointer<CSubMenuDlg> first = menu->advancedMenu();
    ASSERT_TRUE(first);
    EXPECT_TRUE(state.functionMenu.advancedMenuOpen);
    EXPECT_EQ(first->category().menuRow, 7);
    EXPECT_EQ(first->rowText(1), "F11");
    EXPECT_EQ(first->geometry(), QRect(50 + kMenuWidth, 300 - kRow, 300, 400));

    restOn(8);
    QPointer<CSubMenuDlg> second = menu->advancedMenu();
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    EXPECT_EQ(second->category().menuRow, 8);
    EXPECT_EQ(second->category().rowCount, 6);
    EXPECT_EQ(second->geometry().topLeft(), QPoint(50 + kMenuWidth, 300 + 2 * kRow));
    flushDeletes();
    EXPECT_TRUE(first.isNull());

    restOn(2);
    EXPECT_EQ(menu->advancedMenu(), nullptr);
    EXPECT_FALSE(state.functionMenu.advancedMenuOpen);
    flushDeletes();
    EXPECT_TRUE(second.isNull());
}

TEST_F(CMenuDlgTest, MovingWithinARowDoesNotReopenTheAdvancedMenu) {
    restOn(10);
    QPointer<CSubMenuDlg> opened = menu->advancedMenu();
    ASSERT_TRUE(opened);
    moveTo(menu, rowPoint(10) + QPoint(30, 3));
    QCoreApplication::processEvents();
    EXPECT_EQ(menu->advancedMenu(), opened.data());
    EXPECT_EQ(opened->geometry().topLeft(), QPoint(50 + kMenuWidth, 300));
}

TEST_F(CMenuDlgTest, MacroRowOpensBesideItsRowForEveryMacroCount) {
    macroNames = {QStringLiteral("m0"), QStringLiteral("m1"), QStringLiteral("m2")};
    restOn(9);
    ASSERT_TRUE(menu->advancedMenu());
    EXPECT_EQ(menu->advancedMenu()->geometry().y(), 300 + 6 * kRow);
    EXPECT_EQ(menu->advancedMenu()->rowText(3), "m2");

    macroNames.clear();
    restOn(2);
    restOn(9);
    ASSERT_TRUE(menu->advancedMenu());
    EXPECT_EQ(menu->advancedMenu()->geometry().y(), 300 + 9 * kRow);
    EXPECT_FALSE(menu->advancedMenu()->mask().intersects(menu->advancedMenu()->rect()));
}

TEST_F(CMenuDlgTest, DestroyingTheMenuTakesItsAdvancedMenuAlong) {
    restOn(10);
    QPointer<CSubMenuDlg> advanced = menu->advancedMenu();
    ASSERT_TRUE(advanced);
    // As the main window destroys a menu it holds: hidden now, deleted later.
    menu->hide();
    EXPECT_FALSE(advanced->isVisible());
    EXPECT_FALSE(state.functionMenu.advancedMenuOpen);
    menu->deleteLater();
    flushDeletes();
    EXPECT_TRUE(menu.isNull());
    EXPECT_TRUE(advanced.isNull());
}

TEST_F(CMenuDlgTest, PaintShowsTheHotRowBandAndItsTextInRed) {
    moveTo(menu, rowPoint(2));
    QImage picture = menu->composePicture();
    ASSERT_EQ(picture.size(), QSize(kMenuWidth, 10 * kRow + 1));
    EXPECT_TRUE(near(picture.pixelColor(2, kRow + 2), kMenuOver));
    EXPECT_TRUE(near(picture.pixelColor(2, 2), kMenuNormal));
    EXPECT_TRUE(near(picture.pixelColor(2, 5 * kRow + 2), kMenuNormal));

    EXPECT_GT(countInk(picture, 2, isRedInk), 0);
    EXPECT_EQ(countInk(picture, 2, isWhiteInk), 0);
    EXPECT_GT(countInk(picture, 1, isWhiteInk), 0);
    EXPECT_EQ(countInk(picture, 1, isRedInk), 0);
    EXPECT_EQ(countInk(picture, 3, isRedInk), 0);

    press(menu, rowPoint(2));
    picture = menu->composePicture();
    EXPECT_TRUE(near(picture.pixelColor(2, kRow + 2), kMenuDown));
}

} // namespace
} // namespace veldran::test
