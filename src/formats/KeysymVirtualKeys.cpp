#include "formats/KeysymVirtualKeys.h"

#include "formats/VirtualKeys.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace veldran {
namespace {

struct Entry {
    std::uint32_t keysym;
    std::uint8_t code;
};

// Keysyms that the virtual-key table does not list, or lists for more than one code: the
// side-specific modifier codes win over the generic ones, SNAPSHOT over PRINT (the Print Screen
// key), and the keypad's keysyms without Num Lock give the keys they move like.
constexpr Entry kPreferred[] = {
    {0xffe1, 0xA0}, // Shift_L
    {0xffe3, 0xA2}, // Control_L
    {0xffe9, 0xA4}, // Alt_L
    {0xffe7, 0xA4}, // Meta_L (Alt on some maps)
    {0xffe8, 0xA5}, // Meta_R
    {0xfe03, 0xA5}, // ISO_Level3_Shift (AltGr)
    {0xff61, 0x2C}, // Print
    {0xff8d, 0x0D}, // KP_Enter
    {0xff95, 0x24}, // KP_Home
    {0xff96, 0x25}, // KP_Left
    {0xff97, 0x26}, // KP_Up
    {0xff98, 0x27}, // KP_Right
    {0xff99, 0x28}, // KP_Down
    {0xff9a, 0x21}, // KP_Prior
    {0xff9b, 0x22}, // KP_Next
    {0xff9c, 0x23}, // KP_End
    {0xff9d, 0x0C}, // KP_Begin
    {0xff9e, 0x2D}, // KP_Insert
    {0xff9f, 0x2E}, // KP_Delete
    {0xfe20, 0x09}, // ISO_Left_Tab (Shift+Tab)
    // Keys that other layouts name differently from a US keyboard, as Windows reports them.
    {0xffac, 0x6E}, // KP_Separator: the keypad's decimal key (German, Nordic, Polish, Russian)
    {0xff31, 0x15}, // Hangul (Korean)
    {0xff30, 0x14}, // Eisu_toggle: the Japanese keyboard's Caps Lock key
    {0xffbd, 0x92}, // KP_Equal
};

std::vector<Entry> buildIndex() {
    std::vector<Entry> index;
    for (const Entry& entry : kPreferred) {
        index.push_back(entry);
    }
    for (const VirtualKey& key : virtualKeyTable()) {
        index.push_back({key.keysym, key.code});
        // Upper-case letter keysyms equal their virtual-key code.
        if (key.code >= 0x41 && key.code <= 0x5A) {
            index.push_back({key.code, key.code});
        }
    }
    // Sorted by keysym; among equal keysyms the first listed (the preferred one) stays.
    std::stable_sort(index.begin(), index.end(),
                     [](const Entry& a, const Entry& b) { return a.keysym < b.keysym; });
    index.erase(std::unique(index.begin(), index.end(),
                            [](const Entry& a, const Entry& b) { return a.keysym == b.keysym; }),
                index.end());
    return index;
}

} // namespace

std::uint8_t virtualKeyOfKeysym(std::uint32_t keysym) {
    static const std::vector<Entry> index = buildIndex();
    const auto it = std::lower_bound(index.begin(), index.end(), keysym,
                                     [](const Entry& e, std::uint32_t k) { return e.keysym < k; });
    return it != index.end() && it->keysym == keysym ? it->code : 0;
}

std::uint8_t genericModifier(std::uint8_t virtualKey) {
    switch (virtualKey) {
    case 0xA0:
    case 0xA1:
        return 0x10;
    case 0xA2:
    case 0xA3:
        return 0x11;
    case 0xA4:
    case 0xA5:
        return 0x12;
    default:
        return virtualKey;
    }
}

} // namespace veldran
