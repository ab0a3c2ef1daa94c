// From X keysyms back to Windows virtual-key codes, the reverse of the virtual-key table: what a
// captured or typed key is recorded as. Shift, Ctrl and Alt come out side-specific (0xA0 to
// 0xA5), the Print key as SNAPSHOT, letters of either case as their letter code, and the keypad's
// navigation keysyms (Num Lock off) as the navigation keys they stand for.
#pragma once

#include <cstdint>

namespace veldran {

// The virtual-key code of keysym, or 0 when no virtual key stands for it.
std::uint8_t virtualKeyOfKeysym(std::uint32_t keysym);

// The generic code of a side-specific modifier (0xA0/0xA1 Shift 0x10, 0xA2/0xA3 Control 0x11,
// 0xA4/0xA5 Alt 0x12); every other code unchanged.
std::uint8_t genericModifier(std::uint8_t virtualKey);

} // namespace veldran
