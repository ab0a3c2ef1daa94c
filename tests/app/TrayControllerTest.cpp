// The tray's show command, closing the window and removing an icon that may not be there, on the
// offscreen platform (which has no notification area; the end-to-end tests cover a real one).
#include "app/TrayController.h"

#include "macro/CQelMenu.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QWidget>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace veldran {
namespace {

class TrayControllerTest : public ::testing::Test {
protected:
    TrayControllerTest() {
        trayMenu.ConvertToOwnerDraw(trayMenu.menu());
        window.resize(200, 100);
        window.show();
    }
    TrayController::Hooks hooks() {
        return {[this] { calls.push_back("defaults"); }, [this] { calls.push_back("pause"); },
                [this] { calls.push_back("exit"); }, [this] { return notificationArea; }};
    }
    QAction* trayAction(int id) {
        for (QAction* action : trayMenu.popup()->actions()) {
            if (action->data().toInt() == id) {
                return action;
            }
        }
        return nullptr;
    }

    std::vector<std::string> calls;
    bool notificationArea = true;
    QWidget window;
    CQelMenu trayMenu{kTrayMenuId};
    TrayController tray{window, trayMenu, hooks()};
};

TEST_F(TrayControllerTest, ShowWindowCommandRestoresAndRemovesTheIcon) {
    tray.hideToTray();
    trayAction(kCmdShowWindow)->trigger();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(tray.iconShown());
    EXPECT_TRUE(calls.empty());
}

TEST_F(TrayControllerTest, StopMacrosIsOfferedOnlyWhileMacrosPlay) {
    QAction* stop = trayAction(kCmdStopMacros);
    ASSERT_NE(stop, nullptr);
    EXPECT_EQ(stop->text(), "Stop macros");
    EXPECT_FALSE(stop->isVisible());
    tray.setStopMacrosCommand([this] { calls.push_back("stop"); });
    tray.setMacrosPlaying(true);
    EXPECT_TRUE(stop->isVisible());
    stop->trigger();
    tray.setMacrosPlaying(false);
    EXPECT_FALSE(stop->isVisible());
    EXPECT_EQ(calls, std::vector<std::string>{"stop"});
}

TEST_F(TrayControllerTest, WithoutANotificationAreaHidingMinimisesInstead) {
    notificationArea = false;
    tray.hideToTray();
    EXPECT_TRUE(window.isVisible()); // its taskbar entry stays
    EXPECT_TRUE(window.isMinimized());
    EXPECT_FALSE(tray.iconShown());
    tray.showAndRestore();
    EXPECT_FALSE(window.isMinimized());
}

TEST_F(TrayControllerTest, ClosingTheWindowEndsWithoutSendingAnything) {
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(calls.empty()); // the exit sequence runs once the close event is over
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, std::vector<std::string>{"exit"});
    // The exit sequence's own close of the window goes through.
    EXPECT_TRUE(window.close());
    QCoreApplication::processEvents();
    EXPECT_EQ(calls.size(), 1u);
}

TEST_F(TrayControllerTest, RemoveWithoutAnIconDoesNothing) {
    tray.removeIcon();
    EXPECT_FALSE(tray.iconShown());
    tray.hideToTray();
    tray.removeIcon();
    tray.removeIcon();
    EXPECT_FALSE(tray.iconShown());
    EXPECT_FALSE(window.isVisible()); // removing the icon does not show the window
}

} // namespace
} // namespace veldran
