// Which virtual key each X keycode stands for, and which keycode plays a virtual key, from the
// server's keyboard map: the same search both ways, so that a macro plays the very keys that were
// recorded. A key is known by its keysym where that names a Windows key (letters, digits, the named
// keys, the keypad), else by its place on the keyboard (its XKB key name) in the position table of
// the Windows layout of the same name (WindowsLayouts). Pure, so that it can be checked with a
// made-up keyboard map.
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
    // The XKB layout of each keyboard group ("de", "us"), as the server was set up; empty when
    // unknown (the US positions are used then).
    std::vector<std::string> layouts;
};

// The XKB name of the key at the virtual key's place on a US PC keyboard ("AB03" for C), or
// nullptr for a key whose keysym is the same under every layout (modifiers, function keys, ...).
const char* physicalKeyName(std::uint8_t virtualKey);

// The virtual key that keycode stands for in group (0 for the first), with the keypad's digits
// while numLock is on; 0 when none does.
std::uint8_t virtualKeyOfKeycode(const XKeyboardMap& map, int keycode, int group, bool numLock);

// The keycode to press for the virtual key in group: the key that stands for it (a keypad digit's
// key for the digit), else the key that types its US keysym, else the key at its US place. 0 when
// the map has none.
int chooseKeycode(const XKeyboardMap& map, std::uint8_t virtualKey, int group = 0);

// Whether the virtual key is one the keypad types only while Num Lock is on (0 to 9, decimal).
bool isKeypadDigit(std::uint8_t virtualKey);

} // namespace veldran
