// Profiles follow the program in front on KDE Plasma: a headless KWin (its virtual backend) on the
// private session bus, two Weston demo clients as the programs, focus moved by scripts the test
// loads through KWin's /Scripting. The real driver loads its own script into that KWin, which
// calls it back over D-Bus; each switch reaches the virtual mouse. KWin's binary carries file
// capabilities that a sandbox may refuse to run: a copy of it is run.
#include "e2e/DriverRig.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <memory>
#include <vector>

namespace veldran::testing {
namespace {

class HeadlessKWin {
public:
    HeadlessKWin() = default;
    HeadlessKWin(const HeadlessKWin&) = delete;
    HeadlessKWin& operator=(const HeadlessKWin&) = delete;
    ~HeadlessKWin() {
        for (auto& client : clients_) {
            client->kill();
            client->waitForFinished();
        }
        if (kwin_.state() != QProcess::NotRunning) {
            kwin_.terminate();
            if (!kwin_.waitForFinished(5000)) {
                kwin_.kill();
                kwin_.waitForFinished();
            }
        }
    }

    // Starts KWin; false when it or the demo clients are missing or KWin does not come up.
    bool start() {
        const QString installed = QStandardPaths::findExecutable("kwin_wayland");
        if (installed.isEmpty() || QStandardPaths::findExecutable("weston-flower").isEmpty() ||
            QStandardPaths::findExecutable("weston-clickdot").isEmpty() || !home_.isValid()) {
            return false;
        }
        const QString copy = home_.path() + "/kwin_wayland";
        const QString runtime = home_.path() + "/runtime";
        if (!QFile::copy(installed, copy) || !QDir().mkpath(runtime) ||
            !QDir().mkpath(home_.path() + "/config")) {
            return false;
        }
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        environment_ = QProcessEnvironment::systemEnvironment();
        environment_.remove("DISPLAY");
        environment_.remove("WAYLAND_DISPLAY");
        environment_.remove("QT_QPA_PLATFORM");
        environment_.insert("XDG_RUNTIME_DIR", runtime);
        environment_.insert("XDG_CONFIG_HOME", home_.path() + "/config");
        kwin_.setProcessEnvironment(environment_);
        kwin_.setStandardOutputFile(QProcess::nullDevice());
        kwin_.setStandardErrorFile(log());
        kwin_.start(copy, {"--virtual", "--socket", "wayland-kwin", "--no-lockscreen",
                           "--no-global-shortcuts", "--no-kactivities", "--width", "1024",
                           "--height", "768"});
        socket_ = runtime + "/wayland-kwin";
        const bool up = QTest::qWaitFor(
            [&] {
                return (QFile::exists(socket_) && QDBusConnection::sessionBus()
                                                      .interface()
                                                      ->isServiceRegistered("org.kde.KWin")
                                                      .value()) ||
                       kwin_.state() == QProcess::NotRunning;
            },
            15000);
        // The scripting service comes a moment after the name.
        return up && kwin_.state() == QProcess::Running &&
               QTest::qWaitFor(
                   [&] {
                       return call("isScriptLoaded", {QString("none")}).type() ==
                              QDBusMessage::ReplyMessage;
                   },
                   5000);
    }

    QString socket() const { return socket_; }

    // Starts a Weston demo client; true once KWin has it as a window.
    bool open(const QString& program, const QString& appId) {
        QProcessEnvironment client = environment_;
        client.insert("WAYLAND_DISPLAY", socket_);
        clients_.push_back(std::make_unique<QProcess>());
        clients_.back()->setProcessEnvironment(client);
        clients_.back()->setStandardOutputFile(QProcess::nullDevice());
        clients_.back()->setStandardErrorFile(QProcess::nullDevice());
        clients_.back()->start(program, {});
        const QString marker = "veldran-sees " + appId;
        return QTest::qWaitFor(
            [&] {
                runScript(QStringLiteral("workspace.clientList().forEach(function (c) {"
                                         "  if (c.resourceClass == '%1') print('%2'); });")
                              .arg(appId, marker));
                QTest::qWait(100);
                QFile file(log());
                return file.open(QIODevice::ReadOnly) && file.readAll().contains(marker.toUtf8());
            },
            10000);
    }

    // Gives the focus to the window of that resource class.
    void focus(const QString& resourceClass) {
        runScript(QStringLiteral("workspace.clientList().forEach(function (c) {"
                                 "  if (c.resourceClass == '%1') workspace.activeClient = c; });")
                      .arg(resourceClass));
    }

    // Goes to a second virtual desktop, where no window is.
    void emptyDesktop() {
        runScript("workspace.desktops = 2;");
        runScript("workspace.currentDesktop = 2;");
    }

private:
    QString log() const { return home_.path() + "/kwin.log"; }

    // Loads a script into KWin, runs it and unloads it again.
    void runScript(const QString& code) {
        const QString name = QStringLiteral("veldran-test-%1").arg(++scripts_);
        const QString file = home_.path() + '/' + name + ".js";
        QFile script(file);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(code.toUtf8());
        script.close();
        const QDBusMessage loaded = call("loadScript", {file, name});
        ASSERT_EQ(loaded.type(), QDBusMessage::ReplyMessage) << loaded.errorMessage().toStdString();
        ASSERT_EQ(call("start", {}).type(), QDBusMessage::ReplyMessage);
        call("unloadScript", {name});
    }

    static QDBusMessage call(const QString& method, const QVariantList& arguments) {
        QDBusMessage message = QDBusMessage::createMethodCall("org.kde.KWin", "/Scripting",
                                                              "org.kde.kwin.Scripting", method);
        message.setArguments(arguments);
        return QDBusConnection::sessionBus().call(message);
    }

    QTemporaryDir home_;
    QProcessEnvironment environment_;
    QProcess kwin_;
    std::vector<std::unique_ptr<QProcess>> clients_;
    QString socket_;
    int scripts_ = 0;
};

constexpr const char* kGame = "org.freedesktop.weston.flower";
constexpr const char* kOther = "org.freedesktop.weston.wayland-clickdot";

class KWinFocusTest : public DriverRig {
protected:
    void SetUp() override {
        if (!kwin.start()) {
            GTEST_SKIP() << "needs KWin with its virtual backend and the Weston demo clients "
                            "(Debian packages kwin-wayland and weston: scripts/install-deps "
                            "--desktops)";
        }
        ASSERT_TRUE(kwin.open("weston-flower", kGame));
        ASSERT_TRUE(kwin.open("weston-clickdot", kOther));
        kwin.focus(kOther);
        extraEnvironment.insert("WAYLAND_DISPLAY", kwin.socket());
        extraEnvironment.insert("XDG_SESSION_TYPE", "wayland");
        DriverRig::SetUp();
    }

    void prepareFolder(const QString& app) override {
        // The rule names the program by its executable, as the pid KWin tells shows it.
        writeProgramRules(app, "[Programs]\nweston-flower=3\n");
        QDir().mkpath(app + "/kwin");
        ASSERT_TRUE(QFile::copy(env("VELDRAN_SOURCE_DIR") + "/packaging/kwin/veldran-focus.js",
                                app + "/kwin/veldran-focus.js"));
    }

    HeadlessKWin kwin;
};

TEST_F(KWinFocusTest, TheDriversScriptReportsTheWindowInFrontAndIsUnloadedWhenTheDriverEnds) {
    EXPECT_TRUE(driverStatus().contains("\nfocus-source kwin\n")) << driverStatus().toStdString();
    QTest::qWait(300);
    const int atStart = static_cast<int>(features().size());

    kwin.focus(kGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return features().size() >= atStart + 9; }, 5000));
    EXPECT_TRUE(features()[atStart + 8].startsWith("07 09 00 b0"));
    // The rule's profile goes to the mouse alone: the selected profile stays the user's.
    EXPECT_EQ(iniValue(configText(), "Init", "CurConfig"), "1");

    kwin.focus(kOther);
    ASSERT_TRUE(QTest::qWaitFor([&] { return features().size() >= atStart + 18; }, 5000));
    EXPECT_TRUE(features()[atStart + 17].startsWith("07 09 00 90"));

    // Through the game and back within the rest: nothing is sent.
    kwin.focus(kGame);
    QTest::qWait(50);
    kwin.focus(kOther);
    QTest::qWait(400);
    EXPECT_EQ(features().size(), atStart + 18);

    // An empty virtual desktop has no window in front.
    kwin.focus(kGame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return features().size() >= atStart + 27; }, 5000));
    kwin.emptyDesktop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return features().size() >= atStart + 36; }, 5000));
    EXPECT_EQ(iniValue(configText(), "Init", "CurConfig"), "1");

    // The driver ends: its script goes with it.
    QDBusMessage loaded = QDBusMessage::createMethodCall(
        "org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting", "isScriptLoaded");
    loaded << QString("veldran-focus");
    EXPECT_TRUE(QDBusConnection::sessionBus().call(loaded).arguments().value(0).toBool());
    QProcess quit;
    quit.setProcessEnvironment(environment);
    quit.start(dir.path() + "/veldran-driver", {"--quit"});
    ASSERT_TRUE(quit.waitForFinished(5000));
    ASSERT_TRUE(driver.waitForFinished(5000));
    EXPECT_FALSE(QDBusConnection::sessionBus().call(loaded).arguments().value(0).toBool());
}

} // namespace
} // namespace veldran::testing
