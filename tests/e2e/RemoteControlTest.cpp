// The command line's requests and the D-Bus interface against the real driver and the virtual
// mouse: what reaches the mouse, config.ini, and what a script or a D-Bus client sees.
#include "e2e/DriverRig.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <cerrno>
#include <cstring>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace veldran::testing {
namespace {

// Config3's wheel report and DPI report (level 2, DPI code 3) once Config3 holds wheel mode 1
// and DPI level 2; its button reports are the factory ones.
const std::string kButtonReports = "07 10 01 01 00 00 00 00\n07 10 02 02 00 00 00 00\n"
                                   "07 10 03 03 00 00 00 00\n07 10 05 05 00 00 00 00\n"
                                   "07 10 04 04 00 00 00 00\n07 10 06 1f 00 00 00 00\n"
                                   "07 10 09 09 00 00 00 00\n";
const std::string kConfig3Reports =
    kButtonReports + "07 11 01 00 00 00 00 00\n07 09 02 b0 00 00 00 00";
// Config4 as shipped: wheel mode 0, DPI level 0 with code 1.
const std::string kConfig4Reports =
    kButtonReports + "07 11 00 00 00 00 00 00\n07 09 00 90 00 00 00 00";

// What an introspection document says of org.veldran.Driver1, one line a member, argument,
// property and annotation, in document order (comments and blanks left out).
QStringList driverInterface(const QString& xml) {
    QStringList members;
    QXmlStreamReader reader(xml);
    bool inside = false;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement) {
            if (reader.isEndElement() && reader.name() == u"interface") {
                inside = false;
            }
            continue;
        }
        const auto attributes = reader.attributes();
        if (reader.name() == u"interface") {
            inside = attributes.value("name") == u"org.veldran.Driver1";
            continue;
        }
        if (inside) {
            QStringList line{reader.name().toString()};
            for (const char* key : {"name", "type", "direction", "access", "value"}) {
                if (attributes.hasAttribute(key)) {
                    line << QString::fromLatin1(key) + '=' + attributes.value(key).toString();
                }
            }
            members << line.join(' ');
        }
    }
    return members;
}

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

class RemoteControl : public DriverRig {
protected:
    void prepareFolder(const QString& app) override {
        QFile file(app + "/config.ini");
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        QString text = QString::fromUtf8(file.readAll());
        const qsizetype section = text.indexOf("[Config3]");
        text.replace(text.indexOf("DPI_LEVEL=0", section), 11, "DPI_LEVEL=2");
        text.replace(text.indexOf("WHEEL_STATUS=0", section), 14, "WHEEL_STATUS=1");
        file.resize(0);
        file.write(text.toUtf8());
    }

    void TearDown() override {
        // A driver that a test started in the background ends with the test.
        if (startedInBackground) {
            request({"--quit"});
        }
        DriverRig::TearDown();
    }

    Outcome request(const QStringList& args) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(dir.path() + "/veldran-driver", args);
        process.waitForFinished(30000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    Outcome gdbus(const QStringList& args) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start("gdbus", QStringList{"call", "--session", "--dest", "org.veldran.Driver",
                                           "--object-path", "/org/veldran/Driver", "--method"} +
                                   args);
        process.waitForFinished(10000);
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    // The next Apply's nine reports at the mouse after the first `from` reports, one a line.
    std::string applyAfter(qsizetype from) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return features().size() >= from + 9; }, 10000));
        return features().mid(from, 9).join('\n').toLower().toStdString();
    }

    QString mouseSocket() const { return dir.path() + "/runtime/mouse.sock"; }
    bool startedInBackground = false;
};

TEST_F(RemoteControl, ProfileSwitchesOnceStatusTellsItAndBadLinesAreRefused) {
    const qsizetype before = features().size();
    Outcome switched = request({"--profile", "3"});
    EXPECT_EQ(switched.status, 0) << switched.err.toStdString();
    EXPECT_EQ(applyAfter(before), kConfig3Reports);
    EXPECT_EQ(iniValue(configText(), "Init", "CurConfig"), "3");

    // The applied profile again: the mouse hears nothing, so the next reports are the next
    // profile's.
    EXPECT_EQ(request({"--profile=3", "--virtual-mouse=" + mouseSocket()}).status, 0);
    EXPECT_EQ(request({"--profile", "next"}).status, 0);
    EXPECT_EQ(applyAfter(before + 9), kConfig4Reports);

    // Profile 3 chosen in the window but not applied: the status is the mouse's.
    clickElement(6);
    const Outcome status = request({"--status"});
    EXPECT_EQ(status.status, 0);
    EXPECT_EQ(status.out.toStdString(),
              "profile 4\nconnected yes\narmed no\nrecording no\ndpi-stage 1\nplaying no\n"
              "focus-source x11\n");
    const Outcome json = request({"--status", "--json"});
    EXPECT_EQ(json.status, 0);
    const QJsonObject object = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(object["profile"].toInt(), 4);
    EXPECT_EQ(object["dpiStage"].toInt(), 1);
    EXPECT_EQ(object["focusSource"].toString(), "x11");
    EXPECT_EQ(object["dpi"].toArray().size(), 4);
    EXPECT_FALSE(object["armed"].toBool());
    const QJsonArray buttons = object["buttons"].toArray();
    ASSERT_EQ(buttons.size(), 7);
    EXPECT_EQ(buttons[5].toObject()["code"].toInt(), 6);
    EXPECT_FALSE(buttons[5].toObject()["name"].toString().isEmpty());
    EXPECT_EQ(request({"--json"}).status, 2);

    // Asked for the profile on the mouse: nothing is sent, and next counts from it.
    const qsizetype onFour = features().size();
    EXPECT_EQ(request({"--profile", "4"}).status, 0);
    EXPECT_EQ(request({"--profile", "next"}).status, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return features().size() >= onFour + 9; }, 5000));
    EXPECT_EQ(features().size(), onFour + 9);
    EXPECT_EQ(iniValue(configText(), "Init", "CurConfig"), "5");
    EXPECT_EQ(request({"--profile", "6"}).status, 2);
    EXPECT_EQ(request({"--status", "--hidden"}).status, 2);

    // The socket: a line over its limit and a silent client are dropped; the driver goes on.
    QLocalSocket longLine;
    longLine.connectToServer(dir.path() + "/runtime/CQEL_GMouseApp");
    ASSERT_TRUE(longLine.waitForConnected(5000));
    longLine.write(QByteArray(5000, 'x'));
    ASSERT_TRUE(longLine.waitForReadyRead(5000));
    EXPECT_EQ(longLine.readLine(), "error request line too long\n");
    QLocalSocket silent;
    silent.connectToServer(dir.path() + "/runtime/CQEL_GMouseApp");
    ASSERT_TRUE(silent.waitForConnected(5000));
    EXPECT_TRUE(silent.waitForDisconnected(10000));
    EXPECT_EQ(request({"--status"}).status, 0);
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST_F(RemoteControl, ExportAndImportCarryTheWholeSetByteForByteWithAndWithoutTheDriver) {
    const QString app = dir.path();
    writeFile(app + "/programs.ini", "[Programs]\nFooCls=3\n");
    const QByteArray config = fileBytes(app + "/config.ini");
    const QByteArray macros = fileBytes(app + "/Macro.dat");
    const QString exported = app + "/set.json";
    Outcome outcome = request({"--export", exported});
    ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();
    QJsonObject set = QJsonDocument::fromJson(fileBytes(exported)).object();
    EXPECT_EQ(set["format"].toString(), "veldran-profiles");
    EXPECT_EQ(set["version"].toInt(), 1);
    EXPECT_EQ(set["profiles"].toArray().size(), 5);
    EXPECT_EQ(set["macros"].toArray().size(), 3);
    EXPECT_EQ(set["programs"].toObject()["rules"].toArray()[0].toObject()["program"].toString(),
              "FooCls");

    // The same set with profile 3 selected: the mouse gets it at once; the files it replaced
    // are kept.
    set["selectedProfile"] = 3;
    writeFile(app + "/three.json", QJsonDocument(set).toJson());
    const qsizetype before = features().size();
    outcome = request({"--import", app + "/three.json"});
    ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();
    EXPECT_EQ(applyAfter(before), kConfig3Reports);
    EXPECT_EQ(iniValue(configText(), "Init", "CurConfig"), "3");
    const QStringList backups = QDir(app).entryList({"backup-*"}, QDir::Dirs);
    ASSERT_EQ(backups.size(), 1);
    EXPECT_EQ(fileBytes(app + '/' + backups[0] + "/config.ini"), config);
    EXPECT_EQ(fileBytes(app + '/' + backups[0] + "/programs.ini"), "[Programs]\nFooCls=3\n");

    // A broken file changes nothing: one line names the field, and the mouse hears nothing.
    const QByteArray configOnThree = fileBytes(app + "/config.ini");
    writeFile(app + "/broken.json",
              QByteArray(fileBytes(exported)).replace("\"version\": 1", "\"version\": \"1\""));
    const qsizetype onThree = features().size();
    outcome = request({"--import", app + "/broken.json"});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_TRUE(outcome.err.contains("broken.json: version: a whole number"))
        << outcome.err.toStdString();
    EXPECT_EQ(fileBytes(app + "/config.ini"), configOnThree);

    // The first export again: the files are what they were, byte for byte.
    outcome = request({"--import", exported});
    ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return features().size() >= onThree + 9; }, 5000));
    EXPECT_EQ(features().size(), onThree + 9);
    EXPECT_EQ(fileBytes(app + "/config.ini"), config);
    EXPECT_EQ(fileBytes(app + "/Macro.dat"), macros);

    // No driver (another runtime folder) and a fresh settings folder: the same bytes there.
    const QString fresh = app + "/fresh";
    ASSERT_TRUE(QDir().mkpath(fresh + "/bin"));
    ASSERT_TRUE(QDir().mkpath(fresh + "/runtime"));
    QFile::setPermissions(fresh + "/runtime",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_TRUE(QFile::copy(app + "/veldran-driver", fresh + "/bin/veldran-driver"));
    QProcess alone;
    QProcessEnvironment aloneEnvironment = environment;
    aloneEnvironment.insert("VELDRAN_RUNTIME_DIR", fresh + "/runtime");
    aloneEnvironment.insert("XDG_CONFIG_HOME", fresh + "/config");
    alone.setProcessEnvironment(aloneEnvironment);
    alone.start(fresh + "/bin/veldran-driver", {"--import", exported});
    ASSERT_TRUE(alone.waitForFinished(10000));
    EXPECT_EQ(alone.exitCode(), 0) << alone.readAllStandardError().toStdString();
    EXPECT_EQ(fileBytes(fresh + "/config/veldran/config.ini"), config);
    EXPECT_EQ(fileBytes(fresh + "/config/veldran/Macro.dat"), macros);
    EXPECT_TRUE(fileBytes(fresh + "/config/veldran/programs.ini").contains("FooCls=3"));
}

TEST_F(RemoteControl, DBusClientsSwitchReadPropertiesAndHearEverySwitch) {
    QProcess monitor;
    monitor.setProcessEnvironment(environment);
    monitor.start("gdbus", {"monitor", "--session", "--dest", "org.veldran.Driver"});
    ASSERT_TRUE(monitor.waitForStarted());
    QTest::qWait(500);

    const Outcome invalid = gdbus({"org.veldran.Driver1.SelectProfile", "9"});
    EXPECT_NE(invalid.status, 0);
    EXPECT_TRUE(invalid.err.contains("org.veldran.Driver1.Error.InvalidProfile"));

    const qsizetype before = features().size();
    EXPECT_EQ(gdbus({"org.veldran.Driver1.SelectProfile", "3"}).status, 0);
    EXPECT_EQ(applyAfter(before), kConfig3Reports);
    EXPECT_EQ(request({"--profile", "next"}).status, 0);
    EXPECT_EQ(iniValue(configText(), "Init", "CurConfig"), "4");

    const Outcome properties =
        gdbus({"org.freedesktop.DBus.Properties.GetAll", "org.veldran.Driver1"});
    EXPECT_TRUE(properties.out.contains("'CurrentProfile': <uint32 4>"))
        << properties.out.toStdString();
    EXPECT_TRUE(properties.out.contains("'Connected': <true>"));
    EXPECT_TRUE(properties.out.contains("'Recording': <false>"));
    EXPECT_TRUE(properties.out.contains("'Playing': <false>"));
    EXPECT_EQ(gdbus({"org.veldran.Driver1.StopMacros"}).status, 0);

    QString heard;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            heard += QString::fromUtf8(monitor.readAllStandardOutput());
            return heard.contains("ProfileChanged (uint32 4,)");
        },
        5000));
    EXPECT_TRUE(heard.contains("ProfileChanged (uint32 3,)"));
    EXPECT_TRUE(heard.contains("{'CurrentProfile': <uint32 4>}"));
    monitor.kill();
    monitor.waitForFinished();
}

TEST_F(RemoteControl, TheBusShowsTheInterfaceAsItsDescriptionSaysIt) {
    QFile description(env("VELDRAN_SOURCE_DIR") + "/packaging/dbus/org.veldran.Driver1.xml");
    ASSERT_TRUE(description.open(QIODevice::ReadOnly));
    const QStringList described = driverInterface(QString::fromUtf8(description.readAll()));
    ASSERT_GE(described.size(), 10);

    QProcess introspect;
    introspect.setProcessEnvironment(environment);
    introspect.start("gdbus", {"introspect", "--session", "--xml", "--dest", "org.veldran.Driver",
                               "--object-path", "/org/veldran/Driver"});
    ASSERT_TRUE(introspect.waitForFinished(10000));
    EXPECT_EQ(driverInterface(QString::fromUtf8(introspect.readAllStandardOutput())), described);
}

// The window's state as the window manager keeps it: "Normal", "Iconic" or "" (withdrawn).
QString wmState(const QString& window) {
    const QString out = run("xprop", {"-id", window, "WM_STATE"});
    return out.contains("Normal")   ? QStringLiteral("Normal")
           : out.contains("Iconic") ? QStringLiteral("Iconic")
                                    : QString();
}

TEST_F(RemoteControl, ShowMapsTheWindowNormalRaisedAndFocusedEveryTime) {
    if (QStandardPaths::findExecutable("openbox").isEmpty()) {
        GTEST_SKIP() << "needs openbox";
    }
    QProcess windowManager;
    windowManager.setProcessEnvironment(environment);
    windowManager.start("openbox", {"--sm-disable"});
    ASSERT_TRUE(windowManager.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return wmState(window) == "Normal"; }, 5000));
    for (int round = 0; round < 10; ++round) {
        ASSERT_EQ(request({"--hide"}).status, 0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return wmState(window) != "Normal"; }, 5000))
            << "round " << round << ": " << run("xprop", {"-id", window}).toStdString();
        ASSERT_EQ(request({"--show"}).status, 0);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return wmState(window) == "Normal" && run("xdotool", {"getactivewindow"}) == window;
            },
            3000))
            << "round " << round << ": " << wmState(window).toStdString();
    }
    windowManager.terminate();
    windowManager.waitForFinished();
}

TEST_F(RemoteControl, ProfileStartsAHiddenDriverWhenNoneRuns) {
    ASSERT_EQ(request({"--quit"}).status, 0);
    ASSERT_TRUE(driver.waitForFinished(10000));
    // As "Sair do Driver": the mouse is reset last.
    EXPECT_TRUE(QTest::qWaitFor([&] { return features().last().startsWith("07 20 00 00"); }, 5000));
    const Outcome none = request({"--status"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err.count('\n'), 1);

    // No driver and no mouse: nothing is applied, so config.ini stays as it was.
    const QString configBefore = configText();
    mouse.write("unplug\n");
    QTest::qWait(300);
    const Outcome noMouse = request({"--profile", "3", "--virtual-mouse=" + mouseSocket()});
    EXPECT_EQ(noMouse.status, 1);
    EXPECT_EQ(noMouse.err.toStdString(), "veldran-driver: no mouse connected\n");
    EXPECT_EQ(configText(), configBefore);
    mouse.write("plug\n");
    QTest::qWait(300);

    const qsizetype before = features().size();
    startedInBackground = true;
    // Started from a shell that holds descriptor 7 open on a file, in a folder of its own.
    const QString held = dir.path() + "/held";
    QProcess shell;
    shell.setProcessEnvironment(environment);
    shell.setWorkingDirectory(dir.path());
    shell.start("/bin/sh", {"-c", "exec 7>\"$0\"; exec \"$1\" --profile 3 --virtual-mouse=\"$2\"",
                            held, dir.path() + "/veldran-driver", mouseSocket()});
    ASSERT_TRUE(shell.waitForFinished(30000));
    EXPECT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().toStdString();
    // One start-up Apply, of profile 3.
    EXPECT_EQ(applyAfter(before), kConfig3Reports);
    EXPECT_EQ(iniValue(configText(), "Init", "CurConfig"), "3");

    // The started driver keeps neither the caller's descriptor nor its working folder.
    const QString program = dir.path() + "/veldran-driver";
    QString started;
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
        if (QFileInfo("/proc/" + pid + "/exe").symLinkTarget() == program) {
            started = pid;
        }
    }
    ASSERT_FALSE(started.isEmpty());
    EXPECT_EQ(QFileInfo("/proc/" + started + "/cwd").symLinkTarget(), "/");
    for (const QString& fd :
         QDir("/proc/" + started + "/fd").entryList(QDir::Files | QDir::System)) {
        EXPECT_NE(QFileInfo("/proc/" + started + "/fd/" + fd).symLinkTarget(), held)
            << fd.toStdString();
    }
}

// A switch whose settings cannot be written reaches the mouse, is answered at once with the
// reason, and shows its message once, without a loop of its own: fifty D-Bus calls meanwhile all
// get their answers, and no second box opens. --quit then ends the driver, box and all.
TEST_F(RemoteControl, ASwitchThatCannotSaveIsAnsweredAtOnceAndShowsOneMessage) {
    const QString config = dir.path() + "/config.ini";
    const QString text = configText();
    ASSERT_TRUE(QFile::remove(config));
    ASSERT_TRUE(QDir().mkdir(config)); // a folder in the file's place: no write can succeed
    const qsizetype before = features().size();
    const Outcome refused = request({"--profile", "3"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err.toStdString(),
              "veldran-driver: settings not saved: " + config.toStdString() +
                  " is not a file that can be read\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return features().size() >= before + 9; }, 5000));

    int answeredAsNotSaved = 0;
    qint64 slowest = 0;
    for (int i = 0; i < 50; ++i) {
        QElapsedTimer clock;
        clock.start();
        const Outcome call =
            gdbus({"org.veldran.Driver1.SelectProfile", QString::number(i % 2 == 0 ? 2 : 3)});
        slowest = std::max(slowest, clock.elapsed());
        answeredAsNotSaved +=
            call.status != 0 && call.err.contains("org.veldran.Driver1.Error.SettingsNotSaved");
    }
    EXPECT_EQ(answeredAsNotSaved, 50);
    // Each call, gdbus's own start included: none waits for the box to be closed.
    EXPECT_LT(slowest, 2000);
    EXPECT_EQ(request({"--status"}).status, 0);
    const QStringList boxes =
        run("xdotool", {"search", "--onlyvisible", "--name", "^veldran-driver$"})
            .split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(boxes.size(), 1) << "one message box, however many switches failed";

    EXPECT_EQ(request({"--quit"}).status, 0);
    EXPECT_TRUE(driver.waitForFinished(5000));
    EXPECT_TRUE(QDir(config).exists());
}

// The start-up's "no mouse" box waits for the user, but --quit ends the driver, box and all.
TEST_F(RemoteControl, QuitEndsADriverWaitingInItsNoMouseBox) {
    ASSERT_EQ(request({"--quit"}).status, 0);
    ASSERT_TRUE(driver.waitForFinished(10000));
    QProcess lonely;
    lonely.setProcessEnvironment(environment);
    lonely.start(dir.path() + "/veldran-driver",
                 {"--virtual-mouse=" + dir.path() + "/runtime/nobody.sock"});
    ASSERT_TRUE(lonely.waitForStarted());
    EXPECT_FALSE(
        run("xdotool", {"search", "--sync", "--onlyvisible", "--name", "^veldran-driver$"}, 10000)
            .isEmpty());
    EXPECT_EQ(request({"--quit"}).status, 0);
    EXPECT_TRUE(lonely.waitForFinished(5000));
    if (lonely.state() != QProcess::NotRunning) {
        lonely.kill();
        lonely.waitForFinished();
    }
}

// More idle connections than the driver has descriptors (its limit held at 1024 by prlimit, so
// that raising the soft limit cannot help): the socket keeps listening, and --status is answered
// while they are open and after they are closed.
class FloodedRemoteControl : public RemoteControl {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable("prlimit").isEmpty()) {
            GTEST_SKIP() << "needs prlimit";
        }
        driverLauncher = {"prlimit", "--nofile=1024:1024", "--"};
        RemoteControl::SetUp();
    }
};

TEST_F(FloodedRemoteControl, AnswersWhile1100IdleConnectionsAreOpenAndAfter) {
    constexpr int kIdle = 1100;
    rlimit own{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &own), 0);
    if (own.rlim_max < kIdle + 100) {
        GTEST_SKIP() << "the test itself needs " << kIdle + 100 << " descriptors";
    }
    own.rlim_cur = own.rlim_max;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &own), 0);
    const QString pid = QString::number(driver.processId());
    QFile limits("/proc/" + pid + "/limits");
    ASSERT_TRUE(limits.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromLatin1(limits.readAll())
                    .contains(QRegularExpression("Max open files +1024 +1024 ")));
    const Outcome before = request({"--status"});
    ASSERT_EQ(before.status, 0) << before.err.toStdString();

    const QByteArray path = QFile::encodeName(dir.path() + "/runtime/CQEL_GMouseApp");
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(static_cast<std::size_t>(path.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    std::vector<int> idle;
    for (int i = 0; i < kIdle; ++i) {
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        ASSERT_GE(fd, 0);
        idle.push_back(fd);
        ASSERT_EQ(connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0)
            << "connection " << i << ": " << std::strerror(errno);
    }
    // The request's connection comes after them all: the driver has met each of them first.
    const Outcome flooded = request({"--status"});
    EXPECT_EQ(flooded.status, 0) << flooded.err.toStdString();
    EXPECT_EQ(flooded.out.toStdString(), before.out.toStdString());

    for (const int fd : idle) {
        close(fd);
    }
    const Outcome after = request({"--status"});
    EXPECT_EQ(after.status, 0) << after.err.toStdString();
    EXPECT_EQ(after.out.toStdString(), before.out.toStdString());
}

// Another user who made the runtime folder first, or listens in it, gets no request: the command
// line refuses in one line and starts no driver.
TEST(RemoteCommandLine, RefusesAPlantedFolderAndAForeignPeer) {
    if (getuid() != 0 || access("/usr/bin/setpriv", X_OK) != 0) {
        GTEST_SKIP() << "needs root and setpriv to act as two users";
    }
    const QString victim = "65533";
    const QByteArray folder = "/tmp/veldran-" + victim.toLatin1();
    QDir(QString::fromLatin1(folder)).removeRecursively();
    ASSERT_EQ(mkdir(folder.constData(), 0777), 0);
    ASSERT_EQ(chmod(folder.constData(), 0777), 0);
    ASSERT_EQ(chown(folder.constData(), 65534, 65534), 0);
    auto commandLine = [&](const QStringList& args) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("VELDRAN_RUNTIME_DIR");
        environment.remove("XDG_RUNTIME_DIR");
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory("/");
        process.start("/usr/bin/setpriv",
                      QStringList{"--reuid=" + victim, "--regid=" + victim, "--clear-groups",
                                  env("VELDRAN_BIN_DIR") + "/veldran-driver"} +
                          args);
        process.waitForFinished(15000);
        return Outcome{process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                       QString::fromUtf8(process.readAllStandardError())};
    };
    const Outcome planted = commandLine({"--profile", "3"});
    EXPECT_EQ(planted.status, 1);
    EXPECT_EQ(planted.err.toStdString(),
              "veldran-driver: cannot reach the driver: " + folder.toStdString() +
                  " belongs to uid 65534, not to this user\n");

    // The folder is the user's, but the listener in it is not.
    ASSERT_EQ(chown(folder.constData(), 65533, 65533), 0);
    ASSERT_EQ(chmod(folder.constData(), 0700), 0);
    QLocalServer foreign; // run by root, open to everyone
    foreign.setSocketOptions(QLocalServer::WorldAccessOption);
    ASSERT_TRUE(foreign.listen(QString::fromLatin1(folder) + "/CQEL_GMouseApp"));
    const Outcome peer = commandLine({"--status"});
    EXPECT_EQ(peer.status, 1);
    EXPECT_EQ(peer.err.toStdString(), "veldran-driver: refusing the driver at " +
                                          folder.toStdString() +
                                          "/CQEL_GMouseApp: it runs as uid 0, not this user\n");
    EXPECT_EQ(peer.out, "");
    foreign.close();
    QDir(QString::fromLatin1(folder)).removeRecursively();
}

} // namespace
} // namespace veldran::testing
