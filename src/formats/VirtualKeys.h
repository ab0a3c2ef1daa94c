// The table of Windows virtual-key codes, which the settings files and macros use to name keys:
// for each code the X keysym that stands for the same key on a US keyboard layout and the code's
// short name. Pure data, shared by the X11 and uinput input adapters.
#pragma once

#include <cstdint>
#include <span>

namespace veldran {

struct VirtualKey {
    std::uint8_t code = 0;      // Windows virtual-key code
    std::uint32_t keysym = 0;   // X keysym of the key (letters as lower case)
    const char* name = nullptr; // short name, e.g. "LSHIFT", "F13", "VOLUME_MUTE"
};

// Virtual-key codes the input adapters and the reader refer to by name.
namespace vk {
inline constexpr std::uint8_t Shift = 0x10;
inline constexpr std::uint8_t Control = 0x11;
inline constexpr std::uint8_t Menu = 0x12; // Alt
inline constexpr std::uint8_t A = 0x41;
inline constexpr std::uint8_t C = 0x43;
inline constexpr std::uint8_t V = 0x56;
inline constexpr std::uint8_t Z = 0x5A;
inline constexpr std::uint8_t F4 = 0x73;
inline constexpr std::uint8_t VolumeMute = 0xAD;
inline constexpr std::uint8_t VolumeDown = 0xAE;
inline constexpr std::uint8_t VolumeUp = 0xAF;
} // namespace vk

// Every virtual key the table knows, in ascending order of code.
std::span<const VirtualKey> virtualKeyTable();

// The entry of a virtual-key code, or nullptr when no key has that code (reserved and unassigned
// codes, and 0xF0 and above, which macros use for mouse buttons).
const VirtualKey* findVirtualKey(std::uint8_t code);

} // namespace veldran
