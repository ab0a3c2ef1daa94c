// Profiles follow the program in front on GNOME: the driver's Shell extension, run by gjs on a
// stand-in of the Shell's display and windows (GNOME Shell itself does not start headless), calls
// the real driver back over the private session bus, and each switch reaches the virtual mouse.
// A rule names the program by the executable of the window's pid. Both kinds of the extension:
// focus@veldran.org (GNOME 45 and later) and focus-legacy@veldran.org (43 and 44, as the build
// writes it), each loaded the way its Shells load it, make the same calls.
#include "e2e/DriverRig.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace veldran::testing {
namespace {

class GnomeShellFocusTest : public DriverRig, public ::testing::WithParamInterface<std::string> {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable("gjs").isEmpty()) {
            GTEST_SKIP() << "needs gjs (Debian package gjs)";
        }
        // A GNOME session on Wayland, whose compositor offers no toplevel list to the driver.
        extraEnvironment.insert("XDG_SESSION_TYPE", "wayland");
        extraEnvironment.insert("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
        unsetEnvironment << "WAYLAND_DISPLAY";
        DriverRig::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        game.start("sleep", {"600"});
        ASSERT_TRUE(game.waitForStarted());
        shell.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QStringList arguments = {"-m", env("VELDRAN_SOURCE_DIR") +
                                           "/tests/e2e/wayland/gnome-shell-stand-in.js"};
        if (GetParam() == "legacy") {
            arguments << "legacy"
                      << env("VELDRAN_BIN_DIR") +
                             "/../packaging/gnome-shell/focus-legacy@veldran.org";
        }
        shell.start("gjs", arguments);
        ASSERT_TRUE(shell.waitForStarted());
    }

    void TearDown() override {
        shell.write("quit\n");
        if (!shell.waitForFinished(3000)) {
            shell.kill();
            shell.waitForFinished();
        }
        game.kill();
        game.waitForFinished();
        DriverRig::TearDown();
    }

    void prepareFolder(const QString& app) override {
        writeProgramRules(app, "[Programs]\nsleep=3\n");
    }

    // Moves the stand-in Shell's focus and waits until it has told the driver.
    void shellFocus(const QString& command) {
        shell.write((command + '\n').toUtf8());
        ASSERT_TRUE(shell.waitForReadyRead(3000));
        ASSERT_EQ(shell.readLine().trimmed(), "ok");
    }
    QString gameWindow() const {
        return QStringLiteral("window - - Game %1").arg(game.processId());
    }

    QProcess game; // the process of the game's window
    QProcess shell;
};

TEST_P(GnomeShellFocusTest, TheExtensionsReportsSwitchToTheRuleOfTheWindowsExecutableAndBack) {
    EXPECT_TRUE(driverStatus().contains("\nfocus-source gnome-shell\n"))
        << driverStatus().toStdString();
    const int atStart = static_cast<int>(features().size());

    shellFocus(gameWindow());
    ASSERT_TRUE(QTest::qWaitFor([&] { return features().size() >= atStart + 9; }, 5000));
    EXPECT_TRUE(features()[atStart + 8].startsWith("07 09 00 b0"));
    // The rule's profile goes to the mouse alone: the selected profile stays the user's.
    EXPECT_EQ(iniValue(configText(), "Init", "CurConfig"), "1");

    shellFocus("window org.example.Editor editor Editor 0");
    ASSERT_TRUE(QTest::qWaitFor([&] { return features().size() >= atStart + 18; }, 5000));
    EXPECT_TRUE(features()[atStart + 17].startsWith("07 09 00 90"));

    // Through the game and back within the rest: nothing is sent.
    shellFocus(gameWindow());
    QTest::qWait(50);
    shellFocus("window org.example.Editor editor Editor 0");
    QTest::qWait(400);
    EXPECT_EQ(features().size(), atStart + 18);

    // The desktop's own window, and no focus at all, are no window in front.
    shellFocus(gameWindow());
    ASSERT_TRUE(QTest::qWaitFor([&] { return features().size() >= atStart + 27; }, 5000));
    shellFocus("desktop");
    ASSERT_TRUE(QTest::qWaitFor([&] { return features().size() >= atStart + 36; }, 5000));
    EXPECT_EQ(iniValue(configText(), "Init", "CurConfig"), "1");
    shellFocus(gameWindow());
    ASSERT_TRUE(QTest::qWaitFor([&] { return features().size() >= atStart + 45; }, 5000));
    shellFocus("none");
    ASSERT_TRUE(QTest::qWaitFor([&] { return features().size() >= atStart + 54; }, 5000));
    EXPECT_TRUE(features()[atStart + 53].startsWith("07 09 00 90"));
}

INSTANTIATE_TEST_SUITE_P(Extensions, GnomeShellFocusTest, ::testing::Values("modern", "legacy"),
                         [](const auto& info) { return info.param; });

} // namespace
} // namespace veldran::testing
