// The held pointer handed to the menus: moves and the release that the window holding the
// pointer receives reach the menu window under it, in its own coordinates, as if that window had
// received them; outside the menus' shapes (an empty macro menu included) nothing is handed on.
#include "menus/MenuPointerRelay.h"

#include "menus/MenuTestSkin.h"

namespace veldran::test {
namespace {

class MenuPointerRelayTest : public MenuSkinTest {
protected:
    void SetUp() override {
        MenuSkinTest::SetUp();
        state.functionMenu.targetSlot = 19; // the field of slot 3
        holder.setGeometry(0, 0, 40, 40);
        holder.show();
        menu = new CMenuDlg(context(), functionMenuGeometry(QSize(kMenuWidth, 10 * kRow)));
        menu->setGeometry(50, 300, 300, 300);
        menu->show();
    }
    void TearDown() override {
        delete menu.data();
        MenuSkinTest::TearDown();
    }
    // A move with the left button held (or its release) that `to` receives, at screen point at.
    static QMouseEvent held(QEvent::Type type, QWidget& to, QPoint at) {
        const bool release = type == QEvent::MouseButtonRelease;
        return QMouseEvent(type, QPointF(to.mapFromGlobal(at)), QPointF(at),
                           release ? Qt::LeftButton : Qt::NoButton,
                           release ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    }
    bool relayFromHolder(QEvent::Type type, QPoint at) {
        const QMouseEvent event = held(type, holder, at);
        return relayHeldPointer(menu, event);
    }
    QPoint onScreen(QWidget* window, QPoint at) { return window->mapToGlobal(at); }

    QWidget holder; // the main window, which got the press
    QPointer<CMenuDlg> menu;
};

TEST_F(MenuPointerRelayTest, HeldMovesAndTheReleaseChooseInBothMenus) {
    // Only moves with the button held are handed on, and only over a menu.
    const QMouseEvent hover(QEvent::MouseMove, QPointF(0, 0), QPointF(onScreen(menu, rowPoint(2))),
                            Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    EXPECT_FALSE(relayHeldPointer(menu, hover));
    EXPECT_FALSE(relayFromHolder(QEvent::MouseMove, QPoint(20, 20)));
    EXPECT_FALSE(relayFromHolder(QEvent::MouseMove, onScreen(menu, QPoint(10, 10 * kRow + 5))));

    EXPECT_TRUE(relayFromHolder(QEvent::MouseMove, onScreen(menu, rowPoint(2))));
    EXPECT_EQ(state.functionMenu.hotRow, 2);
    EXPECT_TRUE(relayFromHolder(QEvent::MouseMove, onScreen(menu, rowPoint(10))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->advancedMenu() != nullptr; }, 2000));
    CSubMenuDlg* advanced = menu->advancedMenu();

    EXPECT_TRUE(relayFromHolder(QEvent::MouseMove, onScreen(advanced, rowPoint(3))));
    EXPECT_EQ(advanced->hotRow(), 3);
    EXPECT_EQ(state.functionMenu.hotRow, 10); // the category stays
    EXPECT_TRUE(relayFromHolder(QEvent::MouseButtonRelease, onScreen(advanced, rowPoint(3))));
    EXPECT_EQ(profile.code(3), 33);
    EXPECT_FALSE(menu->isVisible());
}

TEST_F(MenuPointerRelayTest, APressOnTheMenuDraggedIntoItsAdvancedMenuChoosesThere) {
    ASSERT_TRUE(restOn(menu, 10));
    press(menu, rowPoint(10));
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->advancedMenu() != nullptr; }, 2000));
    CSubMenuDlg* advanced = menu->advancedMenu();
    const QPoint first = onScreen(advanced, rowPoint(1));
    QMouseEvent move = held(QEvent::MouseMove, *menu, first);
    QApplication::sendEvent(menu, &move);
    EXPECT_EQ(advanced->hotRow(), 1);
    EXPECT_EQ(state.functionMenu.hotRow, 10);
    QMouseEvent up = held(QEvent::MouseButtonRelease, *menu, first);
    QApplication::sendEvent(menu, &up);
    EXPECT_EQ(profile.code(3), 31);
}

TEST_F(MenuPointerRelayTest, AnEmptyMacroMenuTakesNothing) {
    ASSERT_TRUE(restOn(menu, 9)); // no macros: an advanced menu with an empty shape
    CSubMenuDlg* advanced = menu->advancedMenu();
    ASSERT_TRUE(advanced);
    const QPoint inside = onScreen(advanced, QPoint(10, 10));
    EXPECT_EQ(menuWindowAt(menu, inside), nullptr);
    EXPECT_FALSE(relayFromHolder(QEvent::MouseButtonRelease, inside));
    EXPECT_EQ(profile.code(3), 103);
}

} // namespace
} // namespace veldran::test
