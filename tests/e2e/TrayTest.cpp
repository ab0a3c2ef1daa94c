// The notification area on a real X server: without one, hiding minimises the window instead;
// with an XEmbed tray (a fake tray owning the selection), the icon is docked, a double-click on
// it brings the window back, a single click does nothing and the right button's release opens
// the owner-drawn tray menu at the pointer.
#include "app/TrayController.h"
#include "e2e/FakeSystemTray.h"
#include "macro/CQelMenu.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace veldran {
namespace {

class TrayTest : public ::testing::Test {
protected:
    TrayTest() {
        trayMenu.ConvertToOwnerDraw(trayMenu.menu());
        window.setWindowFlags(Qt::FramelessWindowHint);
        window.setGeometry(100, 100, 300, 200);
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
    }
    TrayController::Hooks hooks() {
        return {[this] { calls.push_back("defaults"); },
                [this] { calls.push_back("pause"); },
                [this] { calls.push_back("exit"); },
                {}};
    }

    std::vector<std::string> calls;
    QWidget window;
    CQelMenu trayMenu{kTrayMenuId};
    TrayController tray{window, trayMenu, hooks()};
};

TEST_F(TrayTest, WithoutANotificationAreaHidingMinimisesInstead) {
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    tray.hideToTray();
    // Nothing could bring a hidden window back: it stays mapped, minimised, with its taskbar
    // entry, and no icon waits for a tray that is not there.
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isMinimized(); }, 2000));
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(tray.iconShown());
    tray.showAndRestore();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_FALSE(window.isMinimized());
}

TEST_F(TrayTest, DockedIconDoubleClickAndMenu) {
    testing::FakeSystemTray fakeTray;
    ASSERT_TRUE(fakeTray.ok());
    ASSERT_TRUE(QTest::qWaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 5000));

    tray.hideToTray();
    ASSERT_TRUE(QTest::qWaitFor([&] { return fakeTray.dockedCount() >= 1; }, 5000));
    EXPECT_FALSE(window.isVisible());
    QTest::qWait(200);

    // Double-click: the window comes back restored and the icon goes.
    testing::FakeSystemTray::click(fakeTray.iconCenter(), 1, 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isVisible(); }, 5000));
    EXPECT_FALSE(window.isMinimized());
    EXPECT_FALSE(tray.iconShown());

    // Right-click on a new icon: the tray menu opens at the pointer; its second item leaves.
    const int docked = fakeTray.dockedCount();
    tray.hideToTray();
    ASSERT_TRUE(QTest::qWaitFor([&] { return fakeTray.dockedCount() > docked; }, 5000));
    QTest::qWait(200);
    // A single left click does nothing; the menu opens on the right button's release, not on
    // its press.
    testing::FakeSystemTray::click(fakeTray.iconCenter(), 1);
    QTest::qWait(400);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(tray.iconShown());
    QMenu* popup = trayMenu.popup();
    testing::FakeSystemTray::button(fakeTray.iconCenter(), 3, true);
    QTest::qWait(400);
    EXPECT_FALSE(popup->isVisible());
    testing::FakeSystemTray::button(fakeTray.iconCenter(), 3, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return popup->isVisible(); }, 5000));
    const QPoint corner = popup->geometry().topLeft();
    EXPECT_LE((corner - fakeTray.iconCenter()).manhattanLength(), 2);
    EXPECT_TRUE(calls.empty());

    QAction* exitItem = nullptr;
    for (QAction* action : popup->actions()) {
        exitItem = action->data().toInt() == kCmdExitDriver ? action : exitItem;
    }
    ASSERT_NE(exitItem, nullptr);
    ASSERT_EQ(exitItem->text(), "Sair do Driver");
    const QPoint exitAt = popup->mapToGlobal(popup->actionGeometry(exitItem).center());
    testing::FakeSystemTray::click(exitAt, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return calls.size() == 3; }, 5000));
    EXPECT_EQ(calls, (std::vector<std::string>{"defaults", "pause", "exit"}));
}

} // namespace
} // namespace veldran
