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

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace veldran {
namespace {

using fakes::VirtualMouseProcess;

bool waitFor(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done() && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return done();
}

// The mouse as many real ones are: one vendor interface holding a keyboard collection and both
// vendor collections. The driver finds both collections on that one interface, the start-up
// Apply reaches the mouse, keyboard reports never reach the reader, and a software button acts
// once the mouse has re-armed the driver on its own.
TEST(VirtualMouseCombined, ApplyAndASoftwareButtonThroughOneSharedInterface) {
    const std::string socket = VirtualMouseProcess::socketPathFor("combined");
    VirtualMouseProcess mouse(socket, {"--combined"});
    ASSERT_TRUE(mouse.started());
    VirtualHidBus bus(socket);
    const auto list = bus.enumerate();
    ASSERT_EQ(list.size(), 4u); // the standard mouse, then three collections of one interface
    for (std::size_t i = 1; i < list.size(); ++i) {
        ASSERT_TRUE(list[i].has_value());
        EXPECT_EQ(list[i]->path, "virtual-mouse/hid1");
    }
    EXPECT_EQ(list[1]->usagePage, 0x01);
    EXPECT_EQ(list[1]->usage, 0x06);
    EXPECT_EQ(list[2]->usagePage, 0xFF00);
    EXPECT_EQ(list[3]->usagePage, 0xFF01);

    DeviceLink link(bus);
    ASSERT_TRUE(link.discover()) << link.problem();
    EXPECT_EQ(link.problem(), "");
    EXPECT_EQ(link.devicePath(), "virtual-mouse/hid1");
    EXPECT_EQ(link.inputReportLength(), 8);
    EXPECT_EQ(link.featureReportLength(), 8);

    test::TempFolder folder;
    ConfigModel model;
    resetToFactory(model.profile);
    model.profile.setCode(3, 31); // button 3: Ctrl+C
    model.runtime.curConfig = 1;
    ProfileStore store(folder / "config.ini");
    fakes::FakeWindowPort window;
    DeviceProtocol protocol(link, model, store, window);
    protocol.apply();
    const std::vector<std::string> expected = {
        "feature 07 10 01 01 00 00 00 00", "feature 07 10 02 02 00 00 00 00",
        "feature 07 10 03 1f 00 00 00 00", "feature 07 10 05 05 00 00 00 00",
        "feature 07 10 04 04 00 00 00 00", "feature 07 10 06 1f 00 00 00 00",
        "feature 07 10 09 09 00 00 00 00", "feature 07 11 00 00 00 00 00 00",
        "feature 07 09 00 90 00 00 00 00"};
    for (const std::string& line : expected) {
        EXPECT_EQ(mouse.nextDataLine(), line);
    }
    EXPECT_FALSE(model.runtime.armed.load());

    // A keyboard report on the shared interface is passed over: the next report read is the
    // press of button 1 (not a software button, so it leaves the mouse's re-arming to come).
    mouse.command("key");
    EXPECT_TRUE(mouse.waitForLine("# keyboard report: 01 00 00 04 00 00 00 00 00 to 1 reader(s)"));
    mouse.command("press 1");
    std::array<std::uint8_t, 256> buffer{};
    ASSERT_EQ(link.readReport(buffer), 8);
    EXPECT_EQ(buffer[0], 6);
    EXPECT_EQ(buffer[1], 241);

    MacroTable macros;
    fakes::FakeInputSynth input;
    fakes::FakeShell shell;
    SystemClock clock;
    DeviceEventReader reader({link, protocol, model, macros, store, input, shell, clock, window});
    reader.start();
    // The first press of button 3 re-arms the driver, and does nothing else.
    mouse.command("key");
    mouse.command("press 3");
    ASSERT_TRUE(waitFor([&] { return model.runtime.armed.load(); }));
    EXPECT_TRUE(input.events().empty());
    // The next one types Ctrl+C; a keyboard report between them changes nothing.
    mouse.command("key");
    mouse.command("press 3");
    ASSERT_TRUE(waitFor([&] { return input.events().size() >= 4; }));
    EXPECT_EQ(input.events(),
              (std::vector<std::string>{"down 17 0", "down 67 1067", "up 67 1067", "up 17 0"}));
    reader.stop();
    EXPECT_EQ(mouse.finish(), 0);
}

TEST(VirtualMouseCombined, KeyNeedsTheCombinedInterfaceAndRearmEndsTheWait) {
    const std::string socket = VirtualMouseProcess::socketPathFor("separate");
    VirtualMouseProcess mouse(socket);
    ASSERT_TRUE(mouse.started());
    VirtualHidBus bus(socket);
    DeviceLink link(bus);
    ASSERT_TRUE(link.discover()) << link.problem();
    mouse.command("key");
    EXPECT_TRUE(mouse.waitForLine(
        "# key needs --combined: only then does the mouse have a keyboard collection"));

    // After a button report with device value 31, rearm sends the re-arming report at once, and
    // the presses after it are press reports.
    const std::array<std::uint8_t, 4> software{7, 0x10, 3, 0x1F};
    ASSERT_EQ(link.sendFeature(software), FeatureSendResult::Sent);
    mouse.command("rearm");
    mouse.command("press 3");
    std::array<std::uint8_t, 256> buffer{};
    ASSERT_EQ(link.readReport(buffer), 8);
    EXPECT_EQ(buffer[1], 0);
    ASSERT_EQ(link.readReport(buffer), 8);
    EXPECT_EQ(buffer[1], 243);
    // A new button report with device value 31 makes the next press re-arm again.
    ASSERT_EQ(link.sendFeature(software), FeatureSendResult::Sent);
    mouse.command("press 3");
    mouse.command("press 3");
    ASSERT_EQ(link.readReport(buffer), 8);
    EXPECT_EQ(buffer[1], 0);
    ASSERT_EQ(link.readReport(buffer), 8);
    EXPECT_EQ(buffer[1], 243);
    EXPECT_EQ(mouse.finish(), 0);
}

} // namespace
} // namespace veldran
