#include "control/ProfileController.h"

#include "config/FunctionCode.h"
#include "config/ProfileStore.h"
#include "device/DeviceLink.h"
#include "device/DeviceProtocol.h"
#include "fakes/FakeHidBus.h"
#include "fakes/FakeWindowPort.h"
#include "platform/TempFolder.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace veldran {
namespace {

using fakes::FakeHidBus;

// A mouse on a fake bus, five stored profiles that differ in their wheel mode (profile n: n % 2)
// and the start-up Apply of profile 1 already sent.
struct Rig {
    Rig() {
        bus.interfaces = FakeHidBus::mouseInterfaces("/dev/hidraw");
        link.discover();
        for (int n = 1; n <= kUserProfileCount; ++n) {
            resetToFactory(model.profile);
            model.profile.wheelMode = n % 2;
            store.save(n, model.profile);
        }
        model.runtime.curConfig = 1;
        store.load(1, model.profile);
        protocol.apply();
        bus.clearSent();
        controller.addSwitchListener(
            [this](int profile, SwitchCause cause) { told.emplace_back(profile, cause); });
    }

    test::TempFolder folder;
    FakeHidBus bus;
    DeviceLink link{bus};
    ConfigModel model;
    ProfileStore store{folder / "config.ini"};
    fakes::FakeWindowPort window;
    DeviceProtocol protocol{link, model, store, window};
    ProfileController controller{model, store, protocol, link};
    std::vector<std::pair<int, SwitchCause>> told;
};

TEST(ProfileController, SwitchesAppliesOnceAndTellsTheListeners) {
    Rig rig;
    EXPECT_TRUE(rig.controller.selectProfile(4, SwitchCause::CommandLine));
    ASSERT_EQ(rig.bus.sent().size(), 9U);
    EXPECT_EQ(rig.bus.sent()[7].bytes[2], 0); // profile 4's wheel mode
    EXPECT_EQ(rig.store.readCurConfig(), 4);
    EXPECT_EQ(rig.told, (std::vector<std::pair<int, SwitchCause>>{{4, SwitchCause::CommandLine}}));

    // The applied profile again: nothing reaches the mouse, nobody is told.
    EXPECT_TRUE(rig.controller.selectProfile(4, SwitchCause::DBus));
    EXPECT_EQ(rig.bus.sent().size(), 9U);
    EXPECT_EQ(rig.told.size(), 1U);

    EXPECT_FALSE(rig.controller.selectProfile(0, SwitchCause::DBus));
    EXPECT_FALSE(rig.controller.selectProfile(6, SwitchCause::DBus));
    EXPECT_EQ(rig.bus.sent().size(), 9U);
}

TEST(ProfileController, ARuleSwitchLeavesTheUsersChoiceAndAWindowApplyIsASwitchToo) {
    Rig rig;
    rig.controller.selectProfile(3, SwitchCause::DBus);
    rig.controller.selectProfile(5, SwitchCause::ProgramRule);
    EXPECT_EQ(rig.controller.currentProfile(), 5);
    EXPECT_EQ(rig.controller.userProfile(), 3);

    // The window's profile button and Apply, without the controller.
    rig.model.runtime.curConfig = 2;
    rig.store.load(2, rig.model.profile);
    rig.protocol.apply();
    EXPECT_EQ(rig.controller.userProfile(), 2);
    EXPECT_EQ(rig.told.back(), std::make_pair(2, SwitchCause::Window));
}

TEST(ProfileController, TheCycleButtonKeepsCyclingAndWrapsAfterFive) {
    Rig rig;
    rig.controller.selectProfile(5, SwitchCause::CommandLine);
    rig.bus.clearSent();
    rig.controller.cycleFromButton(6);
    EXPECT_EQ(rig.controller.currentProfile(), 1);
    EXPECT_EQ(rig.model.profile.code(6), 40);
    EXPECT_FALSE(rig.model.runtime.armed.load()); // code 40 is a software function
    EXPECT_EQ(rig.bus.sent().size(), 9U);
    EXPECT_EQ(rig.told.back(), std::make_pair(1, SwitchCause::Button));
}

TEST(ProfileController, RefusesWithoutTheMouse) {
    Rig rig;
    rig.bus.interfaces.clear();
    rig.link.discover();
    EXPECT_FALSE(rig.controller.selectProfile(2, SwitchCause::CommandLine));
    EXPECT_EQ(rig.store.readCurConfig(), 1);
}

} // namespace
} // namespace veldran
