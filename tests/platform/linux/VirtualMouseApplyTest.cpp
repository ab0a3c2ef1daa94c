#include "config/FunctionCode.h"
#include "config/MacroTable.h"
#include "config/ProfileStore.h"
#include "device/DeviceEventReader.h"
#include "device/DeviceLink.h"
#include "device/DeviceProtocol.h"
#include "fakes/FakeInputSynth.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeWindowPort.h"
#include "fakes/VirtualMouseProcess.h"
#include "platform/Clock.h"
#include "platform/TempFolder.h"
#include "platform/linux/VirtualHidBus.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace veldran {
namespace {

using fakes::VirtualMouseProcess;

// The real virtual mouse process, found through its socket, and the factory profile (profile 1)
// ready to be applied to it.
class VirtualMouseApply : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(mouse.started());
        ASSERT_TRUE(link.discover()) << link.problem();
        resetToFactory(model.profile);
        model.runtime.curConfig = 1;
    }

    const std::string socket = VirtualMouseProcess::socketPathFor("apply");
    VirtualMouseProcess mouse{socket};
    VirtualHidBus bus{socket};
    DeviceLink link{bus};
    test::TempFolder folder;
    ConfigModel model;
    ProfileStore store{folder / "config.ini"};
    fakes::FakeWindowPort window;
    DeviceProtocol protocol{link, model, store, window};
};

// The start-up Apply of the factory profile, through the real virtual mouse process, and the
// Defaults that the tray's exit command sends.
TEST_F(VirtualMouseApply, TheMouseReceivesTheNineReportsAndTheReset) {

    protocol.apply();
    const std::vector<std::string> expected = {
        "feature 07 10 01 01 00 00 00 00", "feature 07 10 02 02 00 00 00 00",
        "feature 07 10 03 03 00 00 00 00", "feature 07 10 05 05 00 00 00 00",
        "feature 07 10 04 04 00 00 00 00", "feature 07 10 06 1f 00 00 00 00",
        "feature 07 10 09 09 00 00 00 00", "feature 07 11 00 00 00 00 00 00",
        "feature 07 09 00 90 00 00 00 00"};
    for (const std::string& line : expected) {
        EXPECT_EQ(mouse.nextDataLine(), line);
    }
    mouse.command("state");
    EXPECT_EQ(mouse.nextDataLine(),
              "state buttons 1=01 2=02 3=03 4=04 5=05 6=1f 9=09 wheel 0 dpi-level 0 dpi-value 90 "
              "plugged");

    // The mouse now reports presses of button 6; like the firmware, the first one re-arms the
    // driver instead, and the driver reads the later ones.
    mouse.command("press 6");
    std::array<std::uint8_t, 256> buffer{};
    ASSERT_EQ(link.readReport(buffer), 8);
    EXPECT_EQ(buffer[0], 6);
    EXPECT_EQ(buffer[1], 0);
    mouse.command("press 6");
    ASSERT_EQ(link.readReport(buffer), 8);
    EXPECT_EQ(buffer[1], 246);

    protocol.defaults();
    EXPECT_EQ(mouse.nextDataLine(), "feature 07 09 00 90 00 00 00 00");
    EXPECT_EQ(mouse.nextDataLine(), "feature 07 20 00 00 00 00 00 00");
    mouse.command("state");
    EXPECT_EQ(mouse.nextDataLine(),
              "state buttons 1=01 2=02 3=03 4=04 5=05 6=06 9=09 wheel 0 dpi-level 0 dpi-value 90 "
              "plugged");
    EXPECT_EQ(mouse.finish(), 0);
}

// A burst of presses of a macro button through the virtual mouse: the presses made while the
// macro plays are ignored (it plays once), not played one after another after the burst. A
// later press of another button (Ctrl+C) acts at once, while the macro is still in its pause.
TEST_F(VirtualMouseApply, PressesWhileItsMacroPlaysAreIgnoredAndOtherButtonsActMeanwhile) {
    model.profile.setCode(3, 41); // macro 1
    model.profile.setCode(4, 31); // Ctrl+C
    MacroTable macros;
    macros.setCount(1);
    macros.edit([](auto& records) {
        records[0].eventCount = 2;
        records[0].setEvent(0, {65, 1, 400});
        records[0].setEvent(1, {65, 2, 0});
    });
    fakes::FakeInputSynth input;
    fakes::FakeShell shell;
    SystemClock clock;
    DeviceEventReader reader({link, protocol, model, macros, store, input, shell, clock, window});
    protocol.apply();
    reader.start();
    mouse.command("press 3"); // the first press re-arms the driver
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!model.runtime.armed.load() && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(model.runtime.armed.load());

    std::string burst = "press 3";
    for (int i = 1; i < 20; ++i) {
        burst += "\npress 3";
    }
    mouse.command(burst + "\npress 4");
    while (input.events().size() < 6 && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100)); // room for a stray replay
    reader.stop();
    std::vector<std::string> events = input.events();
    ASSERT_EQ(events.size(), 6u);
    // The copy comes in the macro's pause, before its release.
    events.erase(std::find(events.begin(), events.end(), "down 65 1065"));
    EXPECT_EQ(events, (std::vector<std::string>{"down 17 0", "down 67 1067", "up 67 1067",
                                                "up 17 0", "up 65 1065"}));
}

} // namespace
} // namespace veldran
