// The notification area of KDE Plasma, GNOME's AppIndicator extension and most panels today:
// a StatusNotifierItem host on the session bus. It sends an activation for a click and never a
// double-click, so the activation brings the window back; its context request opens the
// owner-drawn tray menu at once. Runs in a process of its own: Qt decides once per process
// whether it talks to such a host or docks into an XEmbed tray.
#include "app/TrayController.h"
#include "macro/CQelMenu.h"
#include "tray-host/FakeStatusNotifierHost.h"

#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace veldran {
namespace {

TEST(StatusNotifierTray, ActivationShowsTheWindowAndTheContextRequestOpensTheMenu) {
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
        GTEST_SKIP() << "needs a session bus (run under dbus-run-session)";
    }
    testing::FakeStatusNotifierHost host;
    ASSERT_TRUE(host.ok());
    ASSERT_TRUE(QSystemTrayIcon::isSystemTrayAvailable());

    std::vector<std::string> calls;
    QWidget window;
    window.setWindowFlags(Qt::FramelessWindowHint);
    window.setGeometry(100, 100, 300, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    CQelMenu trayMenu{kTrayMenuId};
    trayMenu.ConvertToOwnerDraw(trayMenu.menu());
    TrayController tray{window,
                        trayMenu,
                        {[&] { calls.push_back("defaults"); },
                         [&] { calls.push_back("pause"); },
                         [&] { calls.push_back("exit"); },
                         {}}};

    // Hidden into the host's panel: the icon registers with the watcher.
    tray.hideToTray();
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.items().size() == 1; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 2000));
    EXPECT_TRUE(tray.iconShown());

    // A middle click means nothing here; a click (Activate) brings the window back and takes
    // the icon away. (Whether it is also restored needs a window manager: without one, Qt keeps
    // a window it once minimised marked so.)
    host.click(host.items().last(), "SecondaryActivate", 5, 5);
    QTest::qWait(300);
    EXPECT_FALSE(window.isVisible());
    host.click(host.items().last(), "Activate", 5, 5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isVisible(); }, 5000));
    EXPECT_FALSE(tray.iconShown());

    // The context request opens the tray menu at once, at the pointer (where the panel was
    // clicked); its first item shows the window again.
    tray.hideToTray();
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.items().size() == 2; }, 5000));
    const QPoint pointer = QCursor::pos();
    host.click(host.items().last(), "ContextMenu", pointer.x(), pointer.y());
    QMenu* popup = trayMenu.popup();
    ASSERT_TRUE(QTest::qWaitFor([&] { return popup->isVisible(); }, 5000));
    EXPECT_LE((popup->geometry().topLeft() - pointer).manhattanLength(), 2);
    EXPECT_FALSE(window.isVisible());
    QAction* showItem = popup->actions().at(0);
    ASSERT_EQ(showItem->text(), "Mostrar a Janela UI");
    showItem->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isVisible(); }, 5000));
    EXPECT_FALSE(tray.iconShown());
    EXPECT_TRUE(calls.empty());
}

} // namespace
} // namespace veldran
