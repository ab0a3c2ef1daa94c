// The driver in a real Wayland session: Weston's headless backend with XWayland, and the driver
// started in it as a desktop starts its programs (WAYLAND_DISPLAY and XDG_SESSION_TYPE=wayland
// set, DISPLAY naming XWayland, no QT_QPA_PLATFORM). Through XWayland: the driver chose X (its
// window is an X window there), shaped as the mask says; a function menu opens right under its
// field and a choice reaches the virtual mouse after Apply; with no notification area, hiding
// minimises. The headless backend has no input devices and XWayland without a seat cannot take
// XTest input, so the pointer's moves and clicks are sent to the windows directly.
#include "e2e/DriverRig.h"
#include "e2e/XServerProbe.h"

#include <QImage>
#include <memory>

namespace veldran::testing {
namespace {

constexpr const char* kWaylandSocket = "wayland-veldran";

// Weston with its headless backend and XWayland, its sockets in a runtime folder of the test's.
class WestonSession {
public:
    WestonSession() = default;
    WestonSession(const WestonSession&) = delete;
    WestonSession& operator=(const WestonSession&) = delete;
    ~WestonSession() { stop(); }

    // Starts Weston; returns the X display its XWayland listens on, empty when Weston or
    // XWayland is missing or Weston names no display within the time-out.
    QString start(const QString& runtime) {
        if (QStandardPaths::findExecutable("weston").isEmpty() ||
            QStandardPaths::findExecutable("Xwayland").isEmpty()) {
            return {};
        }
        log_ = runtime + "/weston.log";
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", runtime);
        environment.insert("VELDRAN_RUNTIME_DIR", runtime);
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        weston_.setProcessEnvironment(environment);
        weston_.setStandardOutputFile(QProcess::nullDevice());
        weston_.setStandardErrorFile(runtime + "/weston.err");
        weston_.start("weston", {"--backend=headless-backend.so", "--xwayland", "--no-config",
                                 QStringLiteral("--socket=") + kWaylandSocket, "--width=1280",
                                 "--height=1024", "--idle-time=0", "--log=" + log_});
        if (!weston_.waitForStarted()) {
            return {};
        }
        QString display;
        const bool named = QTest::qWaitFor(
            [&] {
                display = displayFromLog();
                return !display.isEmpty() || weston_.state() == QProcess::NotRunning;
            },
            10000);
        return named ? display : QString();
    }

    void stop() {
        if (weston_.state() != QProcess::NotRunning) {
            weston_.terminate();
            if (!weston_.waitForFinished(5000)) {
                weston_.kill();
                weston_.waitForFinished();
            }
        }
    }

private:
    QString displayFromLog() const {
        QFile file(log_);
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        static const QRegularExpression listening(
            QStringLiteral("xserver listening on display (:\\d+)"));
        const QRegularExpressionMatch m = listening.match(QString::fromUtf8(file.readAll()));
        return m.hasMatch() ? m.captured(1) : QString();
    }

    QProcess weston_;
    QString log_;
};

class WaylandSessionTest : public DriverRig {
protected:
    void SetUp() override {
        // The rig gives the driver this runtime folder: the session's, with Weston's socket.
        const QString runtime = dir.path() + "/runtime";
        ASSERT_TRUE(QDir().mkpath(runtime));
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString display = weston.start(runtime);
        if (display.isEmpty()) {
            GTEST_SKIP() << "needs Weston with its headless backend and XWayland (Debian "
                            "packages weston and xwayland)";
        }
        savedDisplay = qgetenv("DISPLAY");
        qputenv("DISPLAY", display.toLocal8Bit());
        extraEnvironment.insert("WAYLAND_DISPLAY", kWaylandSocket);
        extraEnvironment.insert("XDG_SESSION_TYPE", "wayland");
        unsetEnvironment << "QT_QPA_PLATFORM";
        probe = std::make_unique<XServerProbe>();
        ASSERT_TRUE(probe->ok());
        DriverRig::SetUp();
    }

    void TearDown() override {
        DriverRig::TearDown();
        probe.reset();
        weston.stop();
        qputenv("DISPLAY", savedDisplay);
    }

    void click(unsigned long target, QPoint at) {
        probe->sendPointerMove(target, at);
        probe->sendClick(target, at);
        QTest::qWait(300);
    }

    WestonSession weston;
    QByteArray savedDisplay;
    std::unique_ptr<XServerProbe> probe;
};

TEST_F(WaylandSessionTest, RunsOnXWaylandShapedWithMenusUnderTheirFieldsAndHidesByMinimising) {
    // The rig found the window on XWayland's display: the driver chose X.
    const unsigned long main = window.toULong();
    const QImage mask(dir.path() + "/skins/main_mask.jpg");
    ASSERT_FALSE(mask.isNull());
    EXPECT_EQ(probe->geometry(main).size(), mask.size());
    const QRegion shape = probe->boundingShape(main);
    int wrong = 0;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            const QRgb p = mask.pixel(x, y);
            const bool opaque = !(qRed(p) > 100 && qGreen(p) > 100 && qBlue(p) > 100);
            wrong += shape.contains(QPoint(x, y)) != opaque;
        }
    }
    EXPECT_EQ(wrong, 0);

    // Button 3's field opens its menu right under it; the menu's first row (the left button,
    // function 1) and Apply send button 3 that function.
    const QRect field = elementRect(layout, 19);
    click(main, field.center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return windowVisible("MainMenuDlg"); }, 3000));
    // (Weston holds the window in a frame of its own: the server's position, not xdotool's.)
    const unsigned long menu =
        probe->topLevelAt(probe->geometry(main).topLeft() + field.bottomLeft() + QPoint(0, 1));
    ASSERT_NE(menu, 0u);
    const QSize menuSize = probe->geometry(menu).size();
    click(menu, QPoint(menuSize.width() / 2, menuSize.height() / 20));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !windowVisible("MainMenuDlg"); }, 3000));
    const qsizetype before = features().size();
    click(main, elementCentre(layout, 3));
    ASSERT_TRUE(QTest::qWaitFor([&] { return features().size() >= before + 9; }, 5000));
    EXPECT_TRUE(features().mid(before)[2].startsWith("07 10 03 01"))
        << features().mid(before).join('\n').toStdString();
    EXPECT_EQ(iniValue(configText(), "Config6", "K3"), "1");

    // No notification area in this session: hiding minimises, and the driver keeps running.
    probe->watchRootMessages();
    click(main, elementCentre(layout, 13));
    EXPECT_TRUE(probe->askedToIconify(main, 3000));
    EXPECT_EQ(driver.state(), QProcess::Running);
}

} // namespace
} // namespace veldran::testing
