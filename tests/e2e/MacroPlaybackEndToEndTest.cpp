// Macros played by the real driver from the virtual mouse's presses under a private X server:
// what the server holds down afterwards (XQueryKeymap) and what a focused window receives. A
// macro that ends on a press, a driver ended in the middle of a macro, a stop from the command
// line and the end of a loop all leave nothing down; the other buttons act while a macro plays;
// the repeat modes of macros.ini play their passes.
#include "config/MacroRecord.h"
#include "config/MacroStore.h"
#include "e2e/DriverRig.h"
#include "e2e/XServerProbe.h"

#include <QElapsedTimer>
#include <X11/keysym.h>
#include <csignal>

namespace veldran::testing {
namespace {

MacroRecord macro(const char* name, const std::vector<MacroEvent>& events) {
    MacroRecord record;
    record.setName(name);
    record.eventCount = static_cast<std::uint8_t>(events.size());
    for (std::size_t k = 0; k < events.size(); ++k) {
        record.setEvent(static_cast<int>(k), events[k]);
    }
    return record;
}

class MacroPlaybackEndToEndTest : public DriverRig {
protected:
    // Slots 1 to 4 play macros 0 to 3; slot 5 steps the DPI up.
    void prepareFolder(const QString& app) override {
        const MacroRecord macros[] = {
            // Shift and A pressed, never released.
            macro("ShiftA", {{16, 1, 10}, {65, 1, 2000}}),
            macro("B", {{66, 1, 20}, {66, 2, 20}}),
            macro("C", {{67, 1, 5}, {67, 2, 5}}),
            macro("D", {{68, 1, 300}, {68, 2, 0}}),
        };
        QString text = "[Macros]\nmacroNum=4\n";
        for (int i = 0; i < 4; ++i) {
            text += QString("%1=%2\n").arg(i).arg(
                QString::fromStdString(MacroStore::encodeRecord(macros[i])));
        }
        writeFile(app + "/Macro.dat", text);
        writeFile(app + "/macros.ini", "[Repeat]\n1=3\n2=toggle\n3=1\n");
        QFile file(app + "/config.ini");
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QString config = QString::fromUtf8(file.readAll());
        file.close();
        const qsizetype at = config.indexOf("[Config1]");
        for (const auto& [key, code] : {std::pair{"K1=1", "K1=41"},
                                        {"K2=2", "K2=42"},
                                        {"K3=3", "K3=43"},
                                        {"K4=5", "K4=44"},
                                        {"K5=4", "K5=17"}}) {
            config.replace(config.indexOf(key, at), QString(key).size(), code);
        }
        writeFile(app + "/config.ini", config);
    }
    static void writeFile(const QString& path, const QString& text) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
    }

    void SetUp() override {
        DriverRig::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        ASSERT_TRUE(probe.ok());
        shift = probe.keycodeOf(XK_Shift_L);
        keyA = probe.keycodeOf(XK_a);
        // The first press after the Apply re-arms the driver.
        press(5);
        ASSERT_TRUE(QTest::qWaitFor([&] { return status().contains("armed yes"); }, 5000));
    }

    void press(int slot) {
        mouse.write(QString("press %1\n").arg(slot).toUtf8());
        mouse.waitForBytesWritten(1000);
    }
    QString request(const QStringList& args, int* exitCode = nullptr) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(dir.path() + "/veldran-driver", args);
        process.waitForFinished(10000);
        if (exitCode != nullptr) {
            *exitCode = process.exitCode();
        }
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    QString status() { return request({"--status"}); }
    // The Playing property on the session bus.
    QString busPlaying() {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start("gdbus",
                      {"call", "--session", "--dest", "org.veldran.Driver", "--object-path",
                       "/org/veldran/Driver", "--method", "org.freedesktop.DBus.Properties.Get",
                       "org.veldran.Driver1", "Playing"});
        process.waitForFinished(10000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    bool playing() { return status().contains("playing yes"); }
    bool down(int keycode) const { return probe.keysDown().contains(keycode); }
    // The macro holding Shift and A has started.
    void startShiftA() {
        press(1);
        ASSERT_TRUE(QTest::qWaitFor([&] { return down(shift) && down(keyA); }, 5000));
    }

    XServerProbe probe;
    int shift = 0;
    int keyA = 0;
};

TEST_F(MacroPlaybackEndToEndTest, OtherButtonsActAtOnceMacrosOverlapAndNothingStaysDown) {
    startShiftA();
    // A DPI press meanwhile reaches the mouse at once, not when the macro's 2 s are over.
    const qsizetype before = features().size();
    QElapsedTimer sinceDpiPress;
    sinceDpiPress.start();
    press(5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return features().size() > before; }, 3000));
    EXPECT_LT(sinceDpiPress.elapsed(), 100);
    EXPECT_TRUE(features().last().startsWith("07 09 01"));
    // Another macro plays beside it, and ends first.
    const int keyD = probe.keycodeOf(XK_d);
    press(4);
    ASSERT_TRUE(QTest::qWaitFor([&] { return down(keyD); }, 3000));
    EXPECT_TRUE(down(shift) && down(keyA));
    EXPECT_TRUE(playing());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !down(keyD); }, 3000));
    EXPECT_TRUE(down(keyA));

    // The macro ends on its presses: they go up with its end.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !playing(); }, 5000));
    EXPECT_FALSE(down(shift));
    EXPECT_FALSE(down(keyA));
}

TEST_F(MacroPlaybackEndToEndTest, RepeatModesLoopsAndTheStops) {
    probe.startKeyLog();
    const int keyB = probe.keycodeOf(XK_b);
    const int keyC = probe.keycodeOf(XK_c);
    press(2); // 3=... macro 1 plays three passes
    ASSERT_TRUE(QTest::qWaitFor([&] { return probe.keyPresses(keyB) >= 3; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !playing(); }, 5000));
    EXPECT_EQ(probe.keyPresses(keyB), 3);

    // A loop: the next press of its button stops it.
    press(3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return probe.keyPresses(keyC) >= 5; }, 5000));
    EXPECT_TRUE(playing());
    press(3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !playing(); }, 3000));
    const int passes = probe.keyPresses(keyC);
    QTest::qWait(200);
    EXPECT_EQ(probe.keyPresses(keyC), passes);
    EXPECT_FALSE(down(keyC));

    // A profile switch ends a loop.
    press(3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return playing(); }, 3000));
    request({"--profile", "2"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !playing(); }, 3000));
    request({"--profile", "1"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return status().contains("profile 1"); }, 3000));
    press(5); // the Apply disarmed the driver: the mouse re-arms it

    // The command line stops it as well, and a stop with nothing playing is no failure. The
    // bus tells of it.
    press(3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return playing(); }, 3000));
    EXPECT_TRUE(busPlaying().contains("true"));
    int exitCode = -1;
    request({"--stop-macros"}, &exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_FALSE(playing());
    EXPECT_FALSE(down(keyC));
    EXPECT_TRUE(QTest::qWaitFor([&] { return busPlaying().contains("false"); }, 3000));
    request({"--stop-macros", "--virtual-mouse=" + dir.path() + "/runtime/mouse.sock"}, &exitCode);
    EXPECT_EQ(exitCode, 0);
}

TEST_F(MacroPlaybackEndToEndTest, QuitInTheMiddleOfAMacroLeavesNothingDown) {
    startShiftA();
    int exitCode = -1;
    request({"--quit"}, &exitCode);
    EXPECT_EQ(exitCode, 0);
    ASSERT_TRUE(driver.waitForFinished(10000));
    EXPECT_FALSE(down(shift));
    EXPECT_FALSE(down(keyA));
}

TEST_F(MacroPlaybackEndToEndTest, UnpluggingTheMouseInTheMiddleOfAMacroLeavesNothingDown) {
    startShiftA();
    mouse.write("unplug\n");
    mouse.waitForBytesWritten(1000);
    ASSERT_TRUE(driver.waitForFinished(10000));
    EXPECT_FALSE(down(shift));
    EXPECT_FALSE(down(keyA));
}

TEST_F(MacroPlaybackEndToEndTest, SigtermInTheMiddleOfAMacroLeavesNothingDown) {
    startShiftA();
    driver.terminate();
    ASSERT_TRUE(driver.waitForFinished(10000));
    EXPECT_EQ(driver.exitStatus(), QProcess::NormalExit);
    EXPECT_FALSE(down(shift));
    EXPECT_FALSE(down(keyA));
}

} // namespace
} // namespace veldran::testing
