// The command line's requests and the D-Bus interface against the real driver and the virtual
// mouse: what reaches the mouse, config.ini, and what a script or a D-Bus client sees.
#include "e2e/DriverRig.h"

#include <QLocalSocket>
#include <QXmlStreamReader>

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

    const Outcome status = request({"--status"});
    EXPECT_EQ(status.status, 0);
    EXPECT_EQ(status.out.toStdString(),
              "profile 4\nconnected yes\narmed no\nrecording no\ndpi-stage 1\nfocus-source x11\n");
    EXPECT_EQ(request({"--profile", "6"}).status, 2);
    EXPECT_EQ(request({"--status", "--hidden"}).status, 2);

    // The socket: a line over 256 bytes and a silent client are dropped; the driver goes on.
    QLocalSocket longLine;
    longLine.connectToServer(dir.path() + "/runtime/CQEL_GMouseApp");
    ASSERT_TRUE(longLine.waitForConnected(5000));
    longLine.write(QByteArray(300, 'x'));
    ASSERT_TRUE(longLine.waitForReadyRead(5000));
    EXPECT_EQ(longLine.readLine(), "error request line too long\n");
    QLocalSocket silent;
    silent.connectToServer(dir.path() + "/runtime/CQEL_GMouseApp");
    ASSERT_TRUE(silent.waitForConnected(5000));
    EXPECT_TRUE(silent.waitForDisconnected(10000));
    EXPECT_EQ(request({"--status"}).status, 0);
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

TEST_F(RemoteControl, ProfileStartsAHiddenDriverWhenNoneRuns) {
    ASSERT_EQ(request({"--quit"}).status, 0);
    ASSERT_TRUE(driver.waitForFinished(10000));
    // As "Sair do Driver": the mouse is reset last.
    EXPECT_TRUE(QTest::qWaitFor([&] { return features().last().startsWith("07 20 00 00"); }, 5000));
    const Outcome none = request({"--status"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err.count('\n'), 1);

    const qsizetype before = features().size();
    startedInBackground = true;
    const Outcome started = request({"--profile", "3", "--virtual-mouse=" + mouseSocket()});
    EXPECT_EQ(started.status, 0) << started.err.toStdString();
    // One start-up Apply, of profile 3.
    EXPECT_EQ(applyAfter(before), kConfig3Reports);
    EXPECT_EQ(iniValue(configText(), "Init", "CurConfig"), "3");
}

} // namespace
} // namespace veldran::testing
