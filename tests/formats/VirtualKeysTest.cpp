// The virtual-key table: every named key of the macro editor and of a US keyboard has a keysym,
// side-specific keys are told apart, media keys map to their own keysyms.
#include "formats/VirtualKeys.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace veldran {
namespace {

std::uint32_t keysymOf(std::uint8_t code) {
    const VirtualKey* key = findVirtualKey(code);
    return key != nullptr ? key->keysym : 0;
}

TEST(VirtualKeysTest, EveryKeyOfAUsKeyboardHasAKeysym) {
    std::set<int> codes;
    for (int c = 0x30; c <= 0x39; ++c)
        codes.insert(c); // digits
    for (int c = 0x41; c <= 0x5A; ++c)
        codes.insert(c); // letters
    for (int c = 0x60; c <= 0x6F; ++c)
        codes.insert(c); // numeric pad
    for (int c = 0x70; c <= 0x87; ++c)
        codes.insert(c); // F1 to F24
    for (int c = 0xA0; c <= 0xB7; ++c)
        codes.insert(c); // sides, browser, media
    for (int c : {0x08, 0x09, 0x0C, 0x0D, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x17, 0x18, 0x19,
                  0x1B, 0x1C, 0x1D, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28,
                  0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F, 0x5B, 0x5C, 0x5D, 0x5F, 0x90, 0x91,
                  0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0, 0xDB, 0xDC, 0xDD, 0xDE, 0xE2}) {
        codes.insert(c);
    }
    for (int code : codes) {
        EXPECT_NE(keysymOf(static_cast<std::uint8_t>(code)), 0u) << std::hex << code;
    }
}

TEST(VirtualKeysTest, KeysymsOfLettersDigitsFunctionKeysAndPad) {
    EXPECT_EQ(keysymOf('A'), 0x61u); // letters as lower case
    EXPECT_EQ(keysymOf('Z'), 0x7Au);
    EXPECT_EQ(keysymOf('0'), 0x30u);
    EXPECT_EQ(keysymOf(0x70), 0xFFBEu); // F1
    EXPECT_EQ(keysymOf(0x87), 0xFFD5u); // F24
    EXPECT_EQ(keysymOf(0x60), 0xFFB0u); // KP_0
    EXPECT_EQ(keysymOf(0x6F), 0xFFAFu); // KP_Divide
    EXPECT_EQ(std::string(findVirtualKey(0x87)->name), "F24");
}

TEST(VirtualKeysTest, SideSpecificKeysAndGenericModifiers) {
    EXPECT_EQ(keysymOf(0xA0), 0xFFE1u); // Shift_L
    EXPECT_EQ(keysymOf(0xA1), 0xFFE2u); // Shift_R
    EXPECT_EQ(keysymOf(0xA2), 0xFFE3u); // Control_L
    EXPECT_EQ(keysymOf(0xA3), 0xFFE4u); // Control_R
    EXPECT_EQ(keysymOf(0xA4), 0xFFE9u); // Alt_L
    EXPECT_EQ(keysymOf(0xA5), 0xFFEAu); // Alt_R
    EXPECT_EQ(keysymOf(vk::Shift), keysymOf(0xA0));
    EXPECT_EQ(keysymOf(vk::Control), keysymOf(0xA2));
    EXPECT_EQ(keysymOf(vk::Menu), keysymOf(0xA4));
}

TEST(VirtualKeysTest, VolumeAndMediaKeys) {
    EXPECT_EQ(keysymOf(173), 0x1008FF12u); // XF86AudioMute
    EXPECT_EQ(keysymOf(174), 0x1008FF11u); // XF86AudioLowerVolume
    EXPECT_EQ(keysymOf(175), 0x1008FF13u); // XF86AudioRaiseVolume
    EXPECT_EQ(keysymOf(176), 0x1008FF17u); // XF86AudioNext
    EXPECT_EQ(keysymOf(177), 0x1008FF16u); // XF86AudioPrev
    EXPECT_EQ(keysymOf(178), 0x1008FF15u); // XF86AudioStop
    EXPECT_EQ(keysymOf(179), 0x1008FF14u); // XF86AudioPlay
}

TEST(VirtualKeysTest, UnassignedCodesAndMouseButtonCodesHaveNoKey) {
    for (int code : {0x00, 0x01, 0x07, 0x0A, 0x3A, 0x40, 0x5E, 0x88, 0x92, 0xC1, 0xDF, 0xF0, 0xF1,
                     0xF2, 0xFF}) {
        EXPECT_EQ(findVirtualKey(static_cast<std::uint8_t>(code)), nullptr) << std::hex << code;
    }
    std::set<std::string> names;
    for (const auto& key : virtualKeyTable()) {
        EXPECT_TRUE(names.insert(key.name).second) << key.name;
        EXPECT_EQ(findVirtualKey(key.code), &key);
    }
}

} // namespace
} // namespace veldran
