// The driver as a user installs it: cmake --install into a private prefix, the installed program
// started with a private HOME under X with the virtual mouse. Its settings go to the user's
// configuration folder and nowhere else, a Save lands there, a second start keeps them and clears
// what a killed write left; a copy beside its own config.ini keeps its settings there. --hidden
// starts hidden (docked in a notification area, minimised where there is none) and without the
// mouse ends quietly.
#include "e2e/FakeSystemTray.h"
#include "e2e/XServerProbe.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QString env(const char* name) {
    return QString::fromLocal8Bit(qgetenv(name));
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString iniValue(const QString& path, const QString& section, const QString& key) {
    bool inSection = false;
    for (const QString& raw : QString::fromUtf8(readAll(path)).split('\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith('[')) {
            inSection = line.compare('[' + section + ']', Qt::CaseInsensitive) == 0;
        } else if (inSection && line.section('=', 0, 0).trimmed() == key) {
            return line.section('=', 1).trimmed();
        }
    }
    return {};
}

// Every file below folder whose name is config.ini or Macro.dat, relative to folder.
QStringList settingsFilesBelow(const QString& folder) {
    QStringList found;
    QDirIterator it(folder, {"config.ini", "Macro.dat"}, QDir::Files | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        found << QDir(folder).relativeFilePath(it.next());
    }
    found.sort();
    return found;
}

QString xdotool(const QStringList& args) {
    QProcess process;
    process.start("xdotool", args);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

bool mainWindowVisible() {
    return !xdotool({"search", "--onlyvisible", "--name", "^VELDRAN GAMING MOUSE$"}).isEmpty();
}

// A pid that no process has: a child that has already ended and been reaped.
pid_t endedPid() {
    const pid_t child = fork();
    if (child == 0) {
        _exit(0);
    }
    waitpid(child, nullptr, 0);
    return child;
}

class InstalledDriverTest : public ::testing::Test {
protected:
    // One installation for every test of the suite.
    static void SetUpTestSuite() {
        installRoot = new QTemporaryDir();
        const QString build = env("VELDRAN_BIN_DIR") + "/..";
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start("cmake", {"--install", build, "--prefix", installRoot->path() + "/usr"});
        installed = install.waitForFinished(120000) && install.exitCode() == 0;
        if (!installed) {
            std::fprintf(stderr, "%s\n", install.readAll().constData());
        }
    }
    static void TearDownTestSuite() {
        delete installRoot;
        installRoot = nullptr;
    }

    void SetUp() override {
        if (env("DISPLAY").isEmpty() || QStandardPaths::findExecutable("xdotool").isEmpty()) {
            GTEST_SKIP() << "needs an X server and xdotool";
        }
        ASSERT_TRUE(installed) << "cmake --install failed";
        ASSERT_TRUE(home.isValid());
        QDir().mkpath(home.path() + "/runtime");
        QFile::setPermissions(home.path() + "/runtime",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.path());
        environment.remove("XDG_CONFIG_HOME");
        environment.insert("XDG_RUNTIME_DIR", home.path() + "/runtime");
        environment.insert("VELDRAN_RUNTIME_DIR", home.path() + "/runtime");
        socket = home.path() + "/runtime/mouse.sock";
    }

    void TearDown() override {
        stopDriver();
        if (mouse.state() != QProcess::NotRunning) {
            mouse.write("quit\n");
            if (!mouse.waitForFinished(3000)) {
                mouse.kill();
                mouse.waitForFinished();
            }
        }
    }

    QString prefix() const { return installRoot->path() + "/usr"; }
    QString userFolder() const { return home.path() + "/.config/veldran"; }

    void startMouse() {
        mouse.setProcessEnvironment(environment);
        mouse.start(env("VELDRAN_BIN_DIR") + "/veldran-virtual-mouse", {"--socket", socket});
        ASSERT_TRUE(mouse.waitForStarted());
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(socket); }, 5000));
    }

    void startDriver(const QString& program, QStringList args = {}) {
        args << "--virtual-mouse=" + socket;
        driver.setProcessEnvironment(environment);
        driver.start(program, args);
        ASSERT_TRUE(driver.waitForStarted());
    }

    // Waits for the start-up Apply (seven buttons, the wheel, the DPI stage) to reach the mouse.
    bool startupApplied() {
        return QTest::qWaitFor(
                   [&] {
                       printed += QString::fromUtf8(mouse.readAllStandardOutput());
                       return printed.count(QRegularExpression(
                                  "^feature 07 09 ", QRegularExpression::MultilineOption)) >=
                              appliesSeen + 1;
                   },
                   8000) &&
               ++appliesSeen > 0;
    }

    QString mainWindow() {
        return xdotool({"search", "--sync", "--onlyvisible", "--name", "^VELDRAN GAMING MOUSE$"})
            .section('\n', 0, 0);
    }

    void clickElement(const QString& window, int index) {
        const QString layout =
            QString::fromUtf8(readAll(prefix() + "/share/veldran/skins/skin_main_en.ini"));
        const QRegularExpressionMatch m =
            QRegularExpression(
                QStringLiteral("^%1=[^,]*,(-?\\d+),(-?\\d+),(\\d+),(\\d+),").arg(index),
                QRegularExpression::MultilineOption)
                .match(layout);
        ASSERT_TRUE(m.hasMatch()) << "element " << index;
        const int x = m.captured(1).toInt() + m.captured(3).toInt() / 2;
        const int y = m.captured(2).toInt() + m.captured(4).toInt() / 2;
        xdotool({"mousemove", "--window", window, QString::number(x), QString::number(y)});
        QTest::qWait(100);
        xdotool({"click", "1"});
        QTest::qWait(300);
    }

    void stopDriver() {
        if (driver.state() != QProcess::NotRunning) {
            driver.terminate();
            if (!driver.waitForFinished(3000)) {
                driver.kill();
                driver.waitForFinished();
            }
        }
    }

    static inline QTemporaryDir* installRoot = nullptr;
    static inline bool installed = false;
    QTemporaryDir home;
    QProcessEnvironment environment;
    QString socket;
    QProcess mouse;
    QProcess driver;
    QString printed;
    int appliesSeen = 0;
};

TEST_F(InstalledDriverTest, SettingsLiveInTheUserFolderAndSurviveASecondStart) {
    const QString data = prefix() + "/share/veldran";
    const QByteArray defaultConfig = readAll(data + "/config.ini");
    const QByteArray defaultMacros = readAll(data + "/Macro.dat");
    ASSERT_FALSE(defaultConfig.isEmpty());
    ASSERT_FALSE(QFile::exists(prefix() + "/bin/config.ini"));
    startMouse();
    startDriver(prefix() + "/bin/veldran-driver");
    ASSERT_TRUE(startupApplied());

    // The first start made the folder and filled it from the installed defaults.
    EXPECT_EQ(settingsFilesBelow(home.path()),
              (QStringList{".config/veldran/Macro.dat", ".config/veldran/config.ini"}));
    EXPECT_EQ(settingsFilesBelow(installRoot->path()),
              (QStringList{"usr/share/veldran/Macro.dat", "usr/share/veldran/config.ini"}));
    EXPECT_EQ(readAll(userFolder() + "/Macro.dat"), defaultMacros);
    EXPECT_EQ(iniValue(userFolder() + "/config.ini", "Init", "CurConfig"), "1");

    // Profile 2, a DPI choice, Save: it lands in the user's file.
    const QString window = mainWindow();
    ASSERT_FALSE(window.isEmpty());
    clickElement(window, 5);
    clickElement(window, 47);
    clickElement(window, 15);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return iniValue(userFolder() + "/config.ini", "Config2", "DPI_SET1") == "2"; },
        3000));
    stopDriver();
    EXPECT_EQ(readAll(data + "/config.ini"), defaultConfig); // the installed file is untouched

    // What a write killed half-way left behind goes at the next start; the settings stay.
    const QString stale =
        QStringLiteral("%1/.config.ini.tmp-%2-0").arg(userFolder()).arg(endedPid());
    QFile staleFile(stale);
    ASSERT_TRUE(staleFile.open(QIODevice::WriteOnly));
    staleFile.write("[Init]\nCurConf");
    staleFile.close();
    const QString foreign = userFolder() + "/notes.tmp-1-0";
    ASSERT_TRUE(QFile::copy(data + "/Macro.dat", foreign));

    startDriver(prefix() + "/bin/veldran-driver");
    ASSERT_TRUE(startupApplied());
    EXPECT_EQ(iniValue(userFolder() + "/config.ini", "Config2", "DPI_SET1"), "2");
    EXPECT_EQ(readAll(userFolder() + "/Macro.dat"), defaultMacros);
    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_TRUE(QFile::exists(foreign)); // not ours: left alone
}

TEST_F(InstalledDriverTest, ACopyBesideItsOwnSettingsKeepsThemThere) {
    // The build folder's layout: the executable with config.ini, Macro.dat and skins beside it.
    const QString app = home.path() + "/portable";
    ASSERT_TRUE(QDir().mkpath(app + "/skins"));
    ASSERT_TRUE(QFile::copy(prefix() + "/bin/veldran-driver", app + "/veldran-driver"));
    const QString data = prefix() + "/share/veldran";
    for (const QString& name : QStringList{"config.ini", "Macro.dat"}) {
        ASSERT_TRUE(QFile::copy(data + '/' + name, app + '/' + name));
        QFile::setPermissions(app + '/' + name, QFile::ReadOwner | QFile::WriteOwner);
    }
    for (const QString& name : QDir(data + "/skins").entryList(QDir::Files)) {
        ASSERT_TRUE(QFile::copy(data + "/skins/" + name, app + "/skins/" + name));
    }
    startMouse();
    startDriver(app + "/veldran-driver");
    ASSERT_TRUE(startupApplied());
    const QString window = mainWindow();
    ASSERT_FALSE(window.isEmpty());
    clickElement(window, 5);
    clickElement(window, 47);
    clickElement(window, 15);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return iniValue(app + "/config.ini", "Config2", "DPI_SET1") == "2"; }, 3000));
    EXPECT_EQ(settingsFilesBelow(home.path()),
              (QStringList{"portable/Macro.dat", "portable/config.ini"}));
}

TEST_F(InstalledDriverTest, HiddenWithoutTheMouseEndsQuietlyAndWithoutADisplayFails) {
    // Nothing listens on the socket: no mouse.
    driver.setProcessEnvironment(environment);
    driver.start(prefix() + "/bin/veldran-driver", {"--hidden", "--virtual-mouse=" + socket});
    ASSERT_TRUE(driver.waitForFinished(15000)) << "waiting for a message box?";
    EXPECT_EQ(driver.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(driver.exitCode(), 0);
    // Two lines: which way keys and clicks would go, and why it ends.
    const QStringList said = QString::fromUtf8(driver.readAllStandardError()).trimmed().split('\n');
    ASSERT_EQ(said.size(), 2) << said.join('\n').toStdString();
    EXPECT_TRUE(said[0].startsWith("veldran-driver: software keys and clicks go through XTest"))
        << said[0].toStdString();
    EXPECT_EQ(said[1], "veldran-driver: no VELDRAN GAMING MOUSE is connected; ending");

    // Before the session's display is known: a failure (the user unit tries again), no abort.
    QProcessEnvironment noDisplay = environment;
    noDisplay.remove("DISPLAY");
    noDisplay.remove("WAYLAND_DISPLAY");
    noDisplay.remove("QT_QPA_PLATFORM");
    QProcess early;
    early.setProcessEnvironment(noDisplay);
    early.start(prefix() + "/bin/veldran-driver", {"--hidden", "--virtual-mouse=" + socket});
    ASSERT_TRUE(early.waitForFinished(15000));
    EXPECT_EQ(early.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(early.exitCode(), 1);
    EXPECT_EQ(QString::fromUtf8(early.readAllStandardError()).trimmed().count('\n'), 0);
}

TEST_F(InstalledDriverTest, HiddenWithoutANotificationAreaStartsMinimised) {
    veldran::testing::XServerProbe probe;
    ASSERT_TRUE(probe.ok());
    probe.watchRootMessages();
    startMouse();
    startDriver(prefix() + "/bin/veldran-driver", {"--hidden"});
    ASSERT_TRUE(startupApplied()); // a normal start in every other way
    // Nothing could bring a hidden window back: it asks to be minimised instead.
    const QString window =
        xdotool({"search", "--sync", "--name", "^VELDRAN GAMING MOUSE$"}).section('\n', 0, 0);
    ASSERT_FALSE(window.isEmpty());
    EXPECT_TRUE(probe.askedToIconify(window.toULong(), 3000));
    // A second start (the menu entry) shows it and ends.
    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(prefix() + "/bin/veldran-driver", {});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor([] { return mainWindowVisible(); }, 5000));
    EXPECT_EQ(driver.state(), QProcess::Running);
}

TEST_F(InstalledDriverTest, HiddenDocksInTheNotificationArea) {
    veldran::testing::FakeSystemTray tray;
    ASSERT_TRUE(tray.ok());
    startMouse();
    startDriver(prefix() + "/bin/veldran-driver", {"--hidden"});
    ASSERT_TRUE(startupApplied());
    EXPECT_TRUE(QTest::qWaitFor([&] { return tray.dockedCount() >= 1; }, 5000));
    EXPECT_FALSE(mainWindowVisible());
    // A double-click on the icon brings the window back.
    QTest::qWait(200);
    veldran::testing::FakeSystemTray::click(tray.iconCenter(), 1, 2);
    EXPECT_TRUE(QTest::qWaitFor([] { return mainWindowVisible(); }, 5000));
}

} // namespace
