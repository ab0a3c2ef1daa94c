// Profiles follow the program in front on a wlroots compositor: sway's headless backend, run with
// its clients under another user (sway refuses root), two foot terminals as the programs, focus
// moved with swaymsg. The real driver (its window on the test's X server) follows sway's toplevel
// list through its own Wayland connection and sends each switch to the virtual mouse.
#include "e2e/DriverRig.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <memory>
#include <vector>

namespace veldran::testing {
namespace {

constexpr const char* kRunAs[] = {"--reuid=65534", "--regid=65534", "--clear-groups"};

// sway on its headless backend with pixman rendering, without XWayland, as uid 65534 in a folder
// of its own.
class HeadlessSway {
public:
    HeadlessSway() : home_(QDir::tempPath() + "/veldran-sway-XXXXXX") {}
    HeadlessSway(const HeadlessSway&) = delete;
    HeadlessSway& operator=(const HeadlessSway&) = delete;
    ~HeadlessSway() {
        for (auto& client : clients_) {
            stop(*client);
        }
        stop(sway_);
    }

    // Starts sway; false when sway, foot, swaymsg or setpriv is missing or sway shows no socket.
    bool start() {
        for (const char* tool : {"sway", "swaymsg", "foot", "setpriv"}) {
            if (QStandardPaths::findExecutable(tool).isEmpty()) {
                return false;
            }
        }
        const QString runtime = home_.path() + "/runtime";
        QFile config(home_.path() + "/config");
        if (!QDir().mkpath(runtime) || !config.open(QIODevice::WriteOnly)) {
            return false;
        }
        config.write("xwayland disable\n");
        config.close();
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(home_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                QFile::ExeOther);
        if (run("chown", {"-R", "65534:65534", home_.path()}) != QString() ||
            QFileInfo(runtime).ownerId() != 65534) {
            return false;
        }
        environment_.insert("PATH", env("PATH"));
        environment_.insert("HOME", home_.path());
        environment_.insert("XDG_RUNTIME_DIR", runtime);
        environment_.insert("LC_ALL", "C.UTF-8");
        QProcessEnvironment compositor = environment_;
        compositor.insert("WLR_BACKENDS", "headless");
        compositor.insert("WLR_RENDERER", "pixman");
        compositor.insert("WLR_LIBINPUT_NO_DEVICES", "1");
        startAsOther(sway_, compositor, {"sway", "-c", config.fileName()}, "sway.log");
        const bool up = QTest::qWaitFor(
            [&] {
                const QStringList found =
                    QDir(runtime).entryList({"wayland-*", "sway-ipc.*"}, QDir::System);
                for (const QString& name : found) {
                    if (name.startsWith("sway-ipc.")) {
                        ipc_ = runtime + '/' + name;
                    } else if (!name.endsWith(".lock")) {
                        socket_ = runtime + '/' + name;
                    }
                }
                return (!ipc_.isEmpty() && !socket_.isEmpty()) ||
                       sway_.state() == QProcess::NotRunning;
            },
            10000);
        return up && sway_.state() == QProcess::Running;
    }

    // The compositor's socket, by its absolute path (as WAYLAND_DISPLAY may name it).
    QString socket() const { return socket_; }

    // Opens a foot terminal with that app id; true once sway lists it.
    bool openTerminal(const QString& appId) {
        QProcessEnvironment client = environment_;
        client.insert("WAYLAND_DISPLAY", socket_);
        clients_.push_back(std::make_unique<QProcess>());
        startAsOther(*clients_.back(), client, {"foot", "--app-id=" + appId, "sleep", "600"},
                     "foot-" + appId + ".log");
        return QTest::qWaitFor(
            [&] {
                return message({"-t", "get_tree"}).contains("\"" + appId + "\"");
            },
            10000);
    }

    // swaymsg with these arguments; its output.
    QString message(const QStringList& arguments) {
        QStringList command{"setpriv"};
        for (const char* option : kRunAs) {
            command << option;
        }
        command << "swaymsg"
                << "-s" << ipc_ << arguments;
        return run(command.takeFirst(), command);
    }

private:
    void startAsOther(QProcess& process, const QProcessEnvironment& environment,
                      const QStringList& command, const QString& log) {
        QStringList arguments;
        for (const char* option : kRunAs) {
            arguments << option;
        }
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(home_.path());
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(home_.path() + '/' + log);
        process.start("setpriv", arguments + command);
        process.waitForStarted();
    }

    static void stop(QProcess& process) {
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            if (!process.waitForFinished(3000)) {
                process.kill();
                process.waitForFinished();
            }
        }
    }

    QTemporaryDir home_;
    QProcessEnvironment environment_;
    QProcess sway_;
    std::vector<std::unique_ptr<QProcess>> clients_;
    QString socket_;
    QString ipc_;
};

class SwayFocusTest : public DriverRig {
protected:
    void SetUp() override {
        if (!sway.start()) {
            GTEST_SKIP() << "needs sway, foot and setpriv (Debian packages sway, foot, "
                            "util-linux)";
        }
        ASSERT_TRUE(sway.openTerminal("veldran-game"));
        ASSERT_TRUE(sway.openTerminal("veldran-other"));
        extraEnvironment.insert("WAYLAND_DISPLAY", sway.socket());
        extraEnvironment.insert("XDG_SESSION_TYPE", "wayland");
        DriverRig::SetUp();
    }

    void prepareFolder(const QString& app) override {
        writeProgramRules(app, "[Programs]\nVeldran-Game=3\n");
    }

    // Gives the focus to the terminal of app id, the way a user's key binding does.
    void focus(const QString& appId) {
        ASSERT_TRUE(sway.message({QStringLiteral("[app_id=%1] focus").arg(appId)})
                        .contains("\"success\": true"));
    }

    HeadlessSway sway;
};

TEST_F(SwayFocusTest, TheProgramInFrontAppliesItsProfileAndLeavingItOrItsWorkspaceGivesTheUsers) {
    EXPECT_TRUE(driverStatus().contains("\nfocus-source wlroots\n"))
        << driverStatus().toStdString();
    // The last terminal opened has the focus and no rule: the user's profile stays.
    QTest::qWait(300);
    const int atStart = static_cast<int>(features().size());
    EXPECT_EQ(atStart, 9);

    QElapsedTimer sinceFocus;
    focus("veldran-game");
    sinceFocus.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return features().size() >= atStart + 9; }, 5000));
    EXPECT_LT(sinceFocus.elapsed(), 400);
    // DPI level 0 with code 3 and light mode 0: (3 + 8) x 16 = 0xb0.
    EXPECT_TRUE(features()[atStart + 8].startsWith("07 09 00 b0"));
    // The rule's profile goes to the mouse alone: the selected profile stays the user's.
    EXPECT_EQ(iniValue(configText(), "Init", "CurConfig"), "1");

    focus("veldran-other");
    ASSERT_TRUE(QTest::qWaitFor([&] { return features().size() >= atStart + 18; }, 5000));
    EXPECT_TRUE(features()[atStart + 17].startsWith("07 09 00 90"));
    EXPECT_EQ(iniValue(configText(), "Init", "CurConfig"), "1");

    // Through the game and back within the rest: nothing is sent.
    focus("veldran-game");
    QTest::qWait(50);
    focus("veldran-other");
    QTest::qWait(400);
    EXPECT_EQ(features().size(), atStart + 18);

    // An empty workspace has no window in front: the user's profile comes back.
    focus("veldran-game");
    ASSERT_TRUE(QTest::qWaitFor([&] { return features().size() >= atStart + 27; }, 5000));
    ASSERT_TRUE(sway.message({"workspace 2"}).contains("\"success\": true"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return features().size() >= atStart + 36; }, 5000));
    EXPECT_TRUE(features()[atStart + 35].startsWith("07 09 00 90"));
    EXPECT_EQ(iniValue(configText(), "Init", "CurConfig"), "1");

    // The driver follows sway itself: a report over D-Bus is refused and changes nothing.
    QDBusMessage report = QDBusMessage::createMethodCall(
        "org.veldran.Driver", "/org/veldran/Driver", "org.veldran.Driver1", "ActiveWindowChanged");
    report << QString("veldran-game") << QString() << 0u;
    const QDBusMessage answer = QDBusConnection::sessionBus().call(report);
    EXPECT_EQ(answer.errorName(), "org.veldran.Driver1.Error.NotReported");
    QTest::qWait(400);
    EXPECT_EQ(features().size(), atStart + 36);
}

} // namespace
} // namespace veldran::testing
