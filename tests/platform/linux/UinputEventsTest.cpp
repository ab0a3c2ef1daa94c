// The uinput adapter's encoding: virtual keys to Linux key codes and the event pair of a change.
#include "platform/linux/UinputEvents.h"

#include "formats/VirtualKeys.h"
#include "platform/linux/DesktopInputSynth.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <linux/uinput.h>
#include <set>

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

// What udev's input_id (and from it libinput) looks at: a keyboard has the keys Esc to S (codes
// 1 to 31), a mouse has relative X and Y beside its left button.
TEST(UinputEventsTest, TheDeviceDeclaresAKeyboardAndAPointer) {
    std::set<int> types;
    std::set<int> keys;
    std::set<int> axes;
    for (const auto& capability : uinputCapabilityRequests()) {
        if (capability.request == UI_SET_EVBIT) {
            types.insert(capability.value);
        } else if (capability.request == UI_SET_KEYBIT) {
            keys.insert(capability.value);
        } else if (capability.request == UI_SET_RELBIT) {
            axes.insert(capability.value);
        } else {
            ADD_FAILURE() << "unexpected request " << capability.request;
        }
    }
    EXPECT_EQ(types, (std::set<int>{EV_SYN, EV_KEY, EV_REL}));
    for (int code = KEY_ESC; code <= KEY_S; ++code) {
        EXPECT_EQ(keys.count(code), 1u) << "key " << code;
    }
    for (int button : {BTN_LEFT, BTN_RIGHT, BTN_MIDDLE}) {
        EXPECT_EQ(keys.count(button), 1u);
    }
    EXPECT_EQ(axes.count(REL_X), 1u);
    EXPECT_EQ(axes.count(REL_Y), 1u);
    EXPECT_EQ(axes.count(REL_WHEEL), 1u);
    // Every key the adapter sends is declared.
    for (const std::uint16_t code : uinputKeyCapabilities()) {
        EXPECT_EQ(keys.count(code), 1u);
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
