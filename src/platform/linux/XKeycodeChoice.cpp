#include "platform/linux/XKeycodeChoice.h"

#include "formats/KeysymVirtualKeys.h"
#include "formats/VirtualKeys.h"
#include "formats/WindowsLayouts.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>

namespace veldran {
namespace {

struct PhysicalKey {
    std::uint8_t virtualKey;
    const char* name;
};

// Keys whose keysym depends on the layout, by virtual-key code, with their XKB names on a PC
// keyboard (row E: digits, D: QWERTY, C: ASDF, B: ZXCV).
constexpr PhysicalKey kPhysicalKeys[] = {
    {0x30, "AE10"}, {0x31, "AE01"}, {0x32, "AE02"}, {0x33, "AE03"}, {0x34, "AE04"}, {0x35, "AE05"},
    {0x36, "AE06"}, {0x37, "AE07"}, {0x38, "AE08"}, {0x39, "AE09"}, {0x41, "AC01"}, {0x42, "AB05"},
    {0x43, "AB03"}, {0x44, "AC03"}, {0x45, "AD03"}, {0x46, "AC04"}, {0x47, "AC05"}, {0x48, "AC06"},
    {0x49, "AD08"}, {0x4A, "AC07"}, {0x4B, "AC08"}, {0x4C, "AC09"}, {0x4D, "AB07"}, {0x4E, "AB06"},
    {0x4F, "AD09"}, {0x50, "AD10"}, {0x51, "AD01"}, {0x52, "AD04"}, {0x53, "AC02"}, {0x54, "AD05"},
    {0x55, "AD07"}, {0x56, "AB04"}, {0x57, "AD02"}, {0x58, "AB02"}, {0x59, "AD06"}, {0x5A, "AB01"},
    {0xBA, "AC10"}, {0xBB, "AE12"}, {0xBC, "AB08"}, {0xBD, "AE11"}, {0xBE, "AB09"}, {0xBF, "AB10"},
    {0xC0, "TLDE"}, {0xDB, "AD11"}, {0xDC, "BKSL"}, {0xDD, "AD12"}, {0xDE, "AC11"}, {0xE2, "LSGT"},
};

constexpr bool ascending() {
    for (std::size_t i = 1; i < std::size(kPhysicalKeys); ++i) {
        if (kPhysicalKeys[i - 1].virtualKey >= kPhysicalKeys[i].virtualKey) {
            return false;
        }
    }
    return true;
}
static_assert(ascending(), "the table is sorted by virtual key, each key once");

// As the server's own keysym lookup does: the first position (level) that any keycode has the
// keysym at wins, and among those the lowest keycode.
int keycodeProducing(const XKeyboardMap& map, std::uint32_t keysym) {
    std::size_t positions = 0;
    for (const auto& syms : map.keysyms) {
        positions = std::max(positions, syms.size());
    }
    for (std::size_t position = 0; position < positions; ++position) {
        for (std::size_t i = 0; i < map.keysyms.size(); ++i) {
            const auto& syms = map.keysyms[i];
            if (position < syms.size() && syms[position] == keysym) {
                return map.minKeycode + static_cast<int>(i);
            }
        }
    }
    return 0;
}

struct OtherKeysyms {
    std::uint8_t virtualKey;
    std::uint32_t keysyms[2];
};

// Keysyms that give the virtual key on layouts without its US keysym (0: none more).
constexpr OtherKeysyms kOtherKeysyms[] = {
    {0x15, {0xff31, 0xff2e}}, // KANA: Hangul, Kana_Shift
    {0x6E, {0xffac, 0}},      // DECIMAL: KP_Separator
    {0x92, {0xffbd, 0}},      // KP_Equal, which the US table does not name
};

int keycodeOfOtherKeysym(const XKeyboardMap& map, std::uint8_t virtualKey) {
    for (const OtherKeysyms& other : kOtherKeysyms) {
        if (other.virtualKey != virtualKey) {
            continue;
        }
        for (const std::uint32_t keysym : other.keysyms) {
            if (keysym == 0) {
                break;
            }
            if (const int keycode = keycodeProducing(map, keysym)) {
                return keycode;
            }
        }
    }
    return 0;
}

int keycodeNamed(const XKeyboardMap& map, const char* name) {
    for (std::size_t i = 0; i < map.names.size(); ++i) {
        if (map.names[i] == name) {
            return map.minKeycode + static_cast<int>(i);
        }
    }
    return 0;
}

constexpr std::uint32_t kNoSymbol = 0;

bool isKeypadKeysym(std::uint32_t keysym) {
    return (keysym >= 0xffb0 && keysym <= 0xffb9) || keysym == 0xffae || keysym == 0xffac;
}

// Codes of the punctuation keys, which depend on the layout: a keysym such as ";" names no key of
// its own (the French ";" is where a US keyboard has M), so these are taken from the key's place.
bool isLayoutCode(std::uint8_t code) {
    return (code >= 0xBA && code <= 0xC1) || (code >= 0xDB && code <= 0xDF) || code == 0xE2;
}

// Keys that keyboard maps define only to hold a modifier, which no keyboard has; a real key
// carrying the same modifier is pressed in their stead.
bool isModifierHolder(const std::string& name) {
    static constexpr std::array<std::string_view, 6> kHolders = {"LVL3", "MDSW", "ALT",
                                                                 "META", "SUPR", "HYPR"};
    return std::find(kHolders.begin(), kHolders.end(), name) != kHolders.end();
}

std::uint32_t keysymAt(const std::vector<std::uint32_t>& syms, std::size_t index) {
    return index < syms.size() ? syms[index] : kNoSymbol;
}

struct KeyCodes {
    std::uint8_t plain = 0;  // Num Lock off
    std::uint8_t keypad = 0; // the keypad digit it types with Num Lock on, 0 for other keys
};

KeyCodes keyCodes(const XKeyboardMap& map, std::size_t i, int group) {
    const auto& syms = map.keysyms[i];
    // The core map holds two groups: level 1 and 2 of group g at 2g and 2g + 1.
    std::size_t g = group == 1 ? 1 : 0;
    if (g == 1 && keysymAt(syms, 2) == kNoSymbol && keysymAt(syms, 3) == kNoSymbol) {
        g = 0; // a key the second group leaves as in the first
    }
    const std::uint32_t level1 = keysymAt(syms, 2 * g);
    const std::uint32_t level2 = keysymAt(syms, 2 * g + 1);
    KeyCodes codes;
    if (isKeypadKeysym(level2)) {
        codes.keypad = virtualKeyOfKeysym(level2);
    }
    codes.plain = virtualKeyOfKeysym(level1);
    if (codes.plain != 0 && !isLayoutCode(codes.plain)) {
        return codes;
    }
    codes.plain = 0;
    if (i < map.names.size() && !map.names[i].empty()) {
        const std::size_t layoutIndex = g < map.layouts.size() ? g : 0;
        const std::string_view layout =
            layoutIndex < map.layouts.size() ? std::string_view(map.layouts[layoutIndex]) : "us";
        codes.plain = layoutVirtualKey(layout, map.names[i]);
    }
    return codes;
}

// The key that stands for the virtual key: real keys before keypad keys (whose navigation codes
// hold only with Num Lock off) and before modifier holders, each kind in keycode order.
int keycodeStandingFor(const XKeyboardMap& map, std::uint8_t virtualKey, int group) {
    int fallback = 0;
    const bool digit = isKeypadDigit(virtualKey);
    for (std::size_t i = 0; i < map.keysyms.size(); ++i) {
        const KeyCodes codes = keyCodes(map, i, group);
        const int keycode = map.minKeycode + static_cast<int>(i);
        if (digit ? codes.keypad == virtualKey : codes.plain == virtualKey) {
            const bool second = (!digit && codes.keypad != 0) ||
                                (i < map.names.size() && isModifierHolder(map.names[i]));
            if (!second) {
                return keycode;
            }
            if (fallback == 0) {
                fallback = keycode;
            }
        }
    }
    return fallback;
}

} // namespace

bool isKeypadDigit(std::uint8_t virtualKey) {
    return (virtualKey >= 0x60 && virtualKey <= 0x69) || virtualKey == 0x6E;
}

std::uint8_t virtualKeyOfKeycode(const XKeyboardMap& map, int keycode, int group, bool numLock) {
    const int i = keycode - map.minKeycode;
    if (i < 0 || static_cast<std::size_t>(i) >= map.keysyms.size()) {
        return 0;
    }
    const KeyCodes codes = keyCodes(map, static_cast<std::size_t>(i), group);
    return numLock && codes.keypad != 0 ? codes.keypad : codes.plain;
}

const char* physicalKeyName(std::uint8_t virtualKey) {
    const auto* end = std::end(kPhysicalKeys);
    const auto* it = std::lower_bound(
        std::begin(kPhysicalKeys), end, virtualKey,
        [](const PhysicalKey& key, std::uint8_t code) { return key.virtualKey < code; });
    return it != end && it->virtualKey == virtualKey ? it->name : nullptr;
}

int chooseKeycode(const XKeyboardMap& map, std::uint8_t virtualKey, int group) {
    if (virtualKey == 0) {
        return 0;
    }
    // The key that a recording on this layout gives the code.
    if (const int keycode = keycodeStandingFor(map, virtualKey, group)) {
        return keycode;
    }
    // Codes no key stands for (the generic Shift, Ctrl and Alt of older macros, a key of another
    // layout): the key that types the code's US keysym, as the user's own keyboard would.
    const VirtualKey* key = findVirtualKey(virtualKey);
    if (key != nullptr && key->keysym != kNoSymbol) {
        if (const int keycode = keycodeProducing(map, key->keysym)) {
            return keycode;
        }
    }
    if (const int keycode = keycodeOfOtherKeysym(map, virtualKey)) {
        return keycode;
    }
    if (key == nullptr) {
        return 0;
    }
    const char* name = physicalKeyName(virtualKey);
    return name != nullptr ? keycodeNamed(map, name) : 0;
}

} // namespace veldran
