#include "platform/linux/XKeycodeChoice.h"

#include "formats/VirtualKeys.h"

#include <gtest/gtest.h>

namespace veldran {
namespace {

// Keysyms of the keys that matter here (X's numbers).
constexpr std::uint32_t kControlL = 0xffe3;
constexpr std::uint32_t kCyrillicEs = 0x6d3;     // the Cyrillic key where C is
constexpr std::uint32_t kCyrillicEm = 0x6cd;     // where V is
constexpr std::uint32_t kCyrillicEf = 0x6c6;     // where A is
constexpr std::uint32_t kCyrillicYa = 0x6d1;     // where Z is
constexpr std::uint32_t kCyrillicShorti = 0x6ca; // where Q is

// A made-up server map with evdev keycodes (Linux key code + 8): names and keysyms by keycode.
struct FakeMap {
    XKeyboardMap map;
    FakeMap() {
        map.minKeycode = 8;
        map.keysyms.resize(248);
        map.names.resize(248);
    }
    FakeMap& key(int keycode, const char* name, std::vector<std::uint32_t> keysyms) {
        map.names[static_cast<std::size_t>(keycode - 8)] = name;
        map.keysyms[static_cast<std::size_t>(keycode - 8)] = std::move(keysyms);
        return *this;
    }
};

FakeMap usLayout() {
    FakeMap m;
    m.key(37, "LCTL", {kControlL}).key(38, "AC01", {'a', 'A'}).key(24, "AD01", {'q', 'Q'});
    m.key(54, "AB03", {'c', 'C'}).key(55, "AB04", {'v', 'V'}).key(52, "AB01", {'z', 'Z'});
    m.key(25, "AD02", {'w', 'W'}).key(10, "AE01", {'1', '!'});
    return m;
}

TEST(XKeycodeChoice, TheKeyThatTypesTheLetterWhenTheLayoutHasIt) {
    const FakeMap us = usLayout();
    EXPECT_EQ(chooseKeycode(us.map, vk::Control), 37);
    EXPECT_EQ(chooseKeycode(us.map, vk::C), 54);
    EXPECT_EQ(chooseKeycode(us.map, vk::A), 38);

    // AZERTY: A and Q swap places; Ctrl+A must not become Ctrl+Q.
    FakeMap azerty = usLayout();
    azerty.key(24, "AD01", {'a', 'A'}).key(38, "AC01", {'q', 'Q'});
    EXPECT_EQ(chooseKeycode(azerty.map, vk::A), 24);
    EXPECT_EQ(chooseKeycode(azerty.map, 0x51), 38); // Q

    // Two layouts, Russian first: the Latin letter in group 2 is still found at its key.
    FakeMap twoGroups = usLayout();
    twoGroups.key(54, "AB03", {kCyrillicEs, 0x6f3, 'c', 'C'});
    EXPECT_EQ(chooseKeycode(twoGroups.map, vk::C), 54);
}

TEST(XKeycodeChoice, KeypadDecimalKanaAndEqualOnTheKeysOtherLayoutsHave) {
    FakeMap german = usLayout();
    german.key(91, "KPDL", {0xff9f, 0xffac}); // KP_Delete, KP_Separator
    german.key(125, "KPEQ", {0xffbd});        // KP_Equal
    EXPECT_EQ(chooseKeycode(german.map, 0x6E), 91);
    EXPECT_EQ(chooseKeycode(german.map, 0x92), 125);
    FakeMap korean = usLayout();
    korean.key(130, "HNGL", {0xff31}); // Hangul
    EXPECT_EQ(chooseKeycode(korean.map, 0x15), 130);
    EXPECT_EQ(chooseKeycode(usLayout().map, 0x15), 0);
}

TEST(XKeycodeChoice, ThePhysicalKeyUnderALayoutWithoutLatinLetters) {
    FakeMap russian = usLayout();
    russian.key(38, "AC01", {kCyrillicEf}).key(54, "AB03", {kCyrillicEs});
    russian.key(55, "AB04", {kCyrillicEm}).key(52, "AB01", {kCyrillicYa});
    russian.key(24, "AD01", {kCyrillicShorti});
    // Ctrl+C, V, A, Z are sent on the keys where C, V, A and Z are on a PC keyboard.
    EXPECT_EQ(chooseKeycode(russian.map, vk::C), 54);
    EXPECT_EQ(chooseKeycode(russian.map, vk::V), 55);
    EXPECT_EQ(chooseKeycode(russian.map, vk::A), 38);
    EXPECT_EQ(chooseKeycode(russian.map, vk::Z), 52);
    EXPECT_EQ(chooseKeycode(russian.map, vk::Control), 37);
    EXPECT_STREQ(physicalKeyName(vk::C), "AB03");
    EXPECT_EQ(physicalKeyName(vk::Control), nullptr);

    // A key that no keysym and no name gives, and codes that are no key, give nothing.
    FakeMap unnamed;
    unnamed.key(54, "", {kCyrillicEs});
    EXPECT_EQ(chooseKeycode(unnamed.map, vk::C), 0);
    EXPECT_EQ(chooseKeycode(russian.map, vk::F4), 0);
    EXPECT_EQ(chooseKeycode(russian.map, 0xF0), 0);
    EXPECT_EQ(chooseKeycode(XKeyboardMap{}, vk::C), 0);
}

} // namespace
} // namespace veldran
