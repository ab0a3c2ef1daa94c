#include "platform/linux/XKeycodeChoice.h"

#include "formats/VirtualKeys.h"

#include <algorithm>
#include <iterator>

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

} // namespace

const char* physicalKeyName(std::uint8_t virtualKey) {
    const auto* end = std::end(kPhysicalKeys);
    const auto* it = std::lower_bound(
        std::begin(kPhysicalKeys), end, virtualKey,
        [](const PhysicalKey& key, std::uint8_t code) { return key.virtualKey < code; });
    return it != end && it->virtualKey == virtualKey ? it->name : nullptr;
}

int chooseKeycode(const XKeyboardMap& map, std::uint8_t virtualKey) {
    const VirtualKey* key = findVirtualKey(virtualKey);
    // A layout that has the keysym (AZERTY's A, Dvorak's C) gets the key that types it, as
    // the user's own keyboard would.
    if (key != nullptr) {
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
