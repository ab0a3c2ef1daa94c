// Which X keycode the XTest adapter presses for a virtual key, from the server's keyboard map:
// the key that produces the virtual key's keysym when the layout has one, else the key at the
// virtual key's place on a PC keyboard (its XKB key name), so that shortcuts such as Ctrl+C
// still reach programs under a layout without Latin letters (Cyrillic, Greek, ...). Pure, so
// that it can be checked with a made-up keyboard map.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace veldran {

struct XKeyboardMap {
    int minKeycode = 8;
    // The keysyms of keycode minKeycode + i, in the server's order (group 1 levels 1 and 2,
    // then group 2, ...); 0 where a position is empty.
    std::vector<std::vector<std::uint32_t>> keysyms;
    // The XKB name of keycode minKeycode + i ("AB03"), empty where the server names none.
    std::vector<std::string> names;
};

// The XKB name of the key at the virtual key's place on a PC keyboard ("AB03" for C), or
// nullptr for a key whose keysym is the same under every layout (modifiers, function keys, ...).
const char* physicalKeyName(std::uint8_t virtualKey);

// The keycode to press for the virtual key, or 0 when the map has none for it.
int chooseKeycode(const XKeyboardMap& map, std::uint8_t virtualKey);

} // namespace veldran
