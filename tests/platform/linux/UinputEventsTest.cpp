// The uinput adapter's encoding: virtual keys to Linux key codes and the event pair of a change.
#include "platform/linux/UinputEvents.h"

#include "platform/VirtualKeys.h"
#include "platform/linux/DesktopInputSynth.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace veldran {
namespace {

TEST(UinputEventsTest, KeyCodesOfTheKeysTheReaderSends) {
    EXPECT_EQ(linuxKeyCodeOf(vk::Control), KEY_LEFTCTRL);
    EXPECT_EQ(linuxKeyCodeOf(vk::Menu), KEY_LEFTALT);
    EXPECT_EQ(linuxKeyCodeOf(vk::C), KEY_C);
    EXPECT_EQ(linuxKeyCodeOf(vk::V), KEY_V);
    EXPECT_EQ(linuxKeyCodeOf(vk::A), KEY_A);
    EXPECT_EQ(linuxKeyCodeOf(vk::Z), KEY_Z);
    EXPECT_EQ(linuxKeyCodeOf(vk::F4), KEY_F4);
    EXPECT_EQ(linuxKeyCodeOf(vk::VolumeMute), KEY_MUTE);
    EXPECT_EQ(linuxKeyCodeOf(0xA1), KEY_RIGHTSHIFT);
    EXPECT_EQ(linuxKeyCodeOf(0xA5), KEY_RIGHTALT);
    EXPECT_EQ(linuxKeyCodeOf(0x87), KEY_F24);
    EXPECT_EQ(linuxKeyCodeOf(0x60), KEY_KP0);
    EXPECT_EQ(linuxKeyCodeOf(0xF1), 0); // a mouse button code of macros, not a key
    EXPECT_EQ(linuxKeyCodeOf(0x00), 0);
}

TEST(UinputEventsTest, EveryTableKeyWithAKernelCodeIsADeclaredCapability) {
    const auto capabilities = uinputKeyCapabilities();
    std::vector<int> unmapped;
    for (const auto& key : virtualKeyTable()) {
        const auto code = linuxKeyCodeOf(key.code);
        if (code == 0) {
            unmapped.push_back(key.code);
            continue;
        }
        EXPECT_TRUE(std::binary_search(capabilities.begin(), capabilities.end(), code)) << key.name;
    }
    // Only FINAL, MODECHANGE and EXECUTE have no key of their own in the kernel's list.
    EXPECT_EQ(unmapped, (std::vector<int>{0x18, 0x1F, 0x2B}));
    for (auto button : {MouseButton::Left, MouseButton::Right, MouseButton::Middle}) {
        EXPECT_TRUE(std::binary_search(capabilities.begin(), capabilities.end(),
                                       linuxButtonCodeOf(button)));
    }
}

TEST(UinputEventsTest, AChangeIsOneKeyEventAndASynchronisation) {
    const auto down = keyChangeEvents(BTN_RIGHT, true);
    ASSERT_EQ(down.size(), 2u);
    EXPECT_EQ(down[0].type, EV_KEY);
    EXPECT_EQ(down[0].code, BTN_RIGHT);
    EXPECT_EQ(down[0].value, 1);
    EXPECT_EQ(down[1].type, EV_SYN);
    EXPECT_EQ(down[1].code, SYN_REPORT);
    EXPECT_EQ(down[1].value, 0);
    EXPECT_EQ(keyChangeEvents(KEY_A, false)[0].value, 0);
}

TEST(UinputEventsTest, UinputIsChosenOnlyOnWaylandWithAWritableDevice) {
    EXPECT_EQ(chooseInputAdapter("wayland", true, true), InputAdapter::Uinput);
    EXPECT_EQ(chooseInputAdapter("", true, true), InputAdapter::Uinput);
    EXPECT_EQ(chooseInputAdapter("wayland", true, false), InputAdapter::XTest);
    EXPECT_EQ(chooseInputAdapter("x11", false, true), InputAdapter::XTest);
    EXPECT_EQ(chooseInputAdapter("", false, false), InputAdapter::XTest);
}

} // namespace
} // namespace veldran
