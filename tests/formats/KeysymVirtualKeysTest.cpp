// What a captured key is recorded as: keysyms back to virtual-key codes, and the keyboard
// message of a key event.
#include "formats/KeysymVirtualKeys.h"

#include "formats/VirtualKeys.h"
#include "platform/KeyboardHook.h"

#include <gtest/gtest.h>

namespace veldran {
namespace {

TEST(KeysymVirtualKeys, EveryKeyOfTheTableComesBackAsItsCode) {
    const std::uint8_t leftKeys[] = {0xA0, 0xA2, 0xA4}; // LSHIFT, LCONTROL, LMENU
    for (const VirtualKey& key : virtualKeyTable()) {
        const std::uint8_t back = virtualKeyOfKeysym(key.keysym);
        switch (key.code) {
        case 0x10: // Shift_L, Control_L and Alt_L are the left keys
        case 0x11:
        case 0x12:
            EXPECT_EQ(back, leftKeys[key.code - 0x10]) << key.name;
            break;
        case 0x2A: // Print is the Print Screen key
            EXPECT_EQ(back, 0x2C);
            break;
        case 0x6C: // KP_Separator is the decimal key of the layouts that have it
            EXPECT_EQ(back, 0x6E);
            break;
        default:
            EXPECT_EQ(back, key.code) << key.name;
        }
    }
    EXPECT_EQ(virtualKeyOfKeysym(0x0041), 0x41); // upper-case A
    EXPECT_EQ(virtualKeyOfKeysym(0xffe4), 0xA3); // Control_R
    EXPECT_EQ(virtualKeyOfKeysym(0xff95), 0x24); // KP_Home: Home
    EXPECT_EQ(virtualKeyOfKeysym(0xff8d), 0x0D); // KP_Enter: Return
    EXPECT_EQ(virtualKeyOfKeysym(0xff31), 0x15); // Hangul
    EXPECT_EQ(virtualKeyOfKeysym(0xffbd), 0x92); // KP_Equal
    EXPECT_EQ(virtualKeyOfKeysym(0x00e9), 0);    // eacute: no virtual key
    EXPECT_EQ(virtualKeyOfKeysym(0), 0);
    EXPECT_EQ(genericModifier(0xA1), 0x10);
    EXPECT_EQ(genericModifier(0xA5), 0x12);
    EXPECT_EQ(genericModifier(0x41), 0x41);
}

TEST(KeyMessages, SystemVariantsWhileAltIsHeldWithoutControl) {
    EXPECT_EQ(keyMessageOf(0x41, true, false, false), (KeyMessage{WM_KEYDOWN, 0x41}));
    EXPECT_EQ(keyMessageOf(0x41, false, false, false), (KeyMessage{WM_KEYUP, 0x41}));
    EXPECT_EQ(keyMessageOf(0xA4, true, false, false), (KeyMessage{WM_SYSKEYDOWN, 0xA4}));
    EXPECT_EQ(keyMessageOf(0xA4, false, true, false), (KeyMessage{WM_SYSKEYUP, 0xA4}));
    EXPECT_EQ(keyMessageOf(0x46, true, true, false), (KeyMessage{WM_SYSKEYDOWN, 0x46}));
    EXPECT_EQ(keyMessageOf(0x46, true, true, true), (KeyMessage{WM_KEYDOWN, 0x46}));
    EXPECT_EQ(keyMessageOf(0x79, true, false, false), (KeyMessage{WM_SYSKEYDOWN, 0x79})); // F10
}

} // namespace
} // namespace veldran
