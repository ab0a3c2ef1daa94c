// The notification area on a real X server: without one, hiding still hides; with one (a fake
// tray owning the selection), the icon is docked, a double-click on it brings the window back
// and a right-click opens the owner-drawn tray menu at the pointer.
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
        return {[this] { calls.push_back("defaults"); }, [this] { calls.push_back("pause"); },
                [this] { calls.push_back("exit"); }};
    }

    std::vector<std::string> calls;
    QWidget window;
    CQelMenu trayMenu{kTrayMenuId};
    TrayController tray{window, trayMenu, hooks()};
};

TEST_F(TrayTest, WithoutANotificationAreaHidingStillHides) {
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    tray.hideToTray();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 2000));
    // A second start is then the way back.
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
    testing::FakeSystemTray::click(fakeTray.iconCenter(), 3);
    QMenu* popup = trayMenu.popup();
    ASSERT_TRUE(QTest::qWaitFor([&] { return popup->isVisible(); }, 5000));
    const QPoint corner = popup->geometry().topLeft();
    EXPECT_LE((corner - fakeTray.iconCenter()).manhattanLength(), 2);
    EXPECT_TRUE(calls.empty());

    QAction* exitItem = popup->actions().at(1);
    ASSERT_EQ(exitItem->text(), "Sair do Driver");
    const QPoint exitAt = popup->mapToGlobal(popup->actionGeometry(exitItem).center());
    testing::FakeSystemTray::click(exitAt, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return calls.size() == 3; }, 5000));
    EXPECT_EQ(calls, (std::vector<std::string>{"defaults", "pause", "exit"}));
}

} // namespace
} // namespace veldran
