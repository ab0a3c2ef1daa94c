#include "control/ProfileController.h"

#include "config/FunctionCode.h"
#include "config/ProfileStore.h"
#include "device/DeviceLink.h"
#include "device/DeviceProtocol.h"
#include "fakes/FakeHidBus.h"
#include "fakes/FakeWindowPort.h"
#include "platform/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
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
        controller.startUp();
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

using Outcome = SwitchResult::Outcome;

std::string fileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ProfileController, SwitchesAppliesOnceAndTellsTheListeners) {
    Rig rig;
    EXPECT_EQ(rig.controller.selectProfile(4, SwitchCause::CommandLine).outcome, Outcome::Switched);
    ASSERT_EQ(rig.bus.sent().size(), 9U);
    EXPECT_EQ(rig.bus.sent()[7].bytes[2], 0); // profile 4's wheel mode
    EXPECT_EQ(rig.store.readCurConfig(), 4);
    EXPECT_EQ(rig.told, (std::vector<std::pair<int, SwitchCause>>{{4, SwitchCause::CommandLine}}));

    // The applied profile again: nothing reaches the mouse, nobody is told.
    EXPECT_EQ(rig.controller.selectProfile(4, SwitchCause::DBus).outcome, Outcome::Unchanged);
    EXPECT_EQ(rig.bus.sent().size(), 9U);
    EXPECT_EQ(rig.told.size(), 1U);

    EXPECT_EQ(rig.controller.selectProfile(0, SwitchCause::DBus).outcome, Outcome::InvalidProfile);
    EXPECT_EQ(rig.controller.selectProfile(6, SwitchCause::DBus).outcome, Outcome::InvalidProfile);
    EXPECT_EQ(rig.bus.sent().size(), 9U);
}

TEST(ProfileController, ARuleSwitchWritesNothingAndKeepsTheWindowsUnappliedEdits) {
    Rig rig;
    rig.model.profile.wheelMode = 0; // profile 1 edited in the window, not applied
    const std::string before = fileText(rig.store.path());

    EXPECT_TRUE(rig.controller.selectProfile(4, SwitchCause::ProgramRule).ok());
    EXPECT_EQ(rig.bus.sent()[7].bytes[2], 0); // profile 4's own wheel mode
    EXPECT_EQ(rig.model.applied.wheelMode.load(), 0);
    EXPECT_EQ(rig.controller.currentProfile(), 4);
    EXPECT_EQ(rig.controller.userProfile(), 1);
    EXPECT_EQ(rig.model.runtime.curConfig.load(), 1);

    // Back to the user's profile: what the user applied goes to the mouse, not the edit.
    EXPECT_TRUE(rig.controller.selectProfile(1, SwitchCause::ProgramRule).ok());
    ASSERT_EQ(rig.bus.sent().size(), 18U);
    EXPECT_EQ(rig.bus.sent()[16].bytes[2], 1);
    EXPECT_EQ(rig.model.profile.wheelMode.load(), 0); // the edit is still the window's
    EXPECT_EQ(fileText(rig.store.path()), before);
    EXPECT_EQ(rig.told, (std::vector<std::pair<int, SwitchCause>>{{4, SwitchCause::ProgramRule},
                                                                  {1, SwitchCause::ProgramRule}}));

    // The window's Apply applies the edit and counts as the user's choice.
    rig.controller.selectProfile(1, SwitchCause::WindowApply);
    EXPECT_EQ(rig.model.applied.wheelMode.load(), 0);
}

TEST(ProfileController, AskingForTheProfileOnTheMouseSendsNothingButTheWindowFollows) {
    Rig rig;
    rig.controller.selectProfile(4, SwitchCause::WindowChoice);
    EXPECT_EQ(rig.model.runtime.curConfig.load(), 4);
    EXPECT_TRUE(rig.bus.sent().empty());
    EXPECT_EQ(rig.controller.currentProfile(), 1);

    EXPECT_EQ(rig.controller.selectProfile(1, SwitchCause::CommandLine).outcome,
              Outcome::Unchanged);
    EXPECT_TRUE(rig.bus.sent().empty());
    EXPECT_EQ(rig.model.runtime.curConfig.load(), 1);
    EXPECT_EQ(rig.model.profile.wheelMode.load(), 1); // profile 1 as the mouse holds it
    // next counts from the profile on the mouse.
    rig.controller.selectNextProfile(SwitchCause::CommandLine);
    EXPECT_EQ(rig.controller.currentProfile(), 2);
}

TEST(ProfileController, TheCycleButtonKeepsCyclingAndWrapsAfterFive) {
    Rig rig;
    rig.controller.selectProfile(5, SwitchCause::CommandLine);
    rig.bus.clearSent();
    rig.controller.cycleFromButton(6);
    EXPECT_EQ(rig.controller.currentProfile(), 1);
    EXPECT_EQ(rig.model.profile.code(6), 40);
    EXPECT_EQ(rig.model.applied.code(6), 40);
    EXPECT_FALSE(rig.model.runtime.armed.load()); // code 40 is a software function
    EXPECT_EQ(rig.bus.sent().size(), 9U);
    EXPECT_EQ(rig.told.back(), std::make_pair(1, SwitchCause::Button));
}

TEST(ProfileController, RefusesWithoutTheMouseAndSaysWhenTheSettingsWereNotSaved) {
    Rig rig;
    rig.bus.interfaces.clear();
    rig.link.discover();
    EXPECT_EQ(rig.controller.selectProfile(2, SwitchCause::CommandLine).outcome,
              Outcome::NotConnected);
    EXPECT_EQ(rig.store.readCurConfig(), 1);
    // A start for --profile 3 without the mouse writes nothing.
    const std::string before = fileText(rig.store.path());
    rig.controller.setStartProfile(3);
    EXPECT_EQ(rig.controller.startUp().outcome, Outcome::NotConnected);
    EXPECT_EQ(fileText(rig.store.path()), before);

    Rig unwritable;
    std::filesystem::remove(unwritable.store.path());
    std::filesystem::create_directory(unwritable.store.path()); // a folder in the file's place
    const SwitchResult result = unwritable.controller.selectProfile(2, SwitchCause::DBus);
    EXPECT_EQ(result.outcome, Outcome::SettingsNotSaved);
    EXPECT_EQ(result.text(), "settings not saved: " + unwritable.store.path().string() +
                                 " is not a file that can be read");
    EXPECT_EQ(unwritable.bus.sent().size(), 9U); // the mouse has it all the same
}

} // namespace
} // namespace veldran
