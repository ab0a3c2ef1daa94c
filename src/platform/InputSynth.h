// Synthesised keyboard and mouse input. Keys are named by Windows virtual-key codes, which is how
// the settings files and macros store them; the adapter maps them to the window system's keys.
#pragma once

#include <cstdint>

namespace veldran {

enum class MouseButton { Left, Right, Middle };

class InputSynth {
public:
    virtual ~InputSynth() = default;
    // The scan code of a virtual key (0 when the key has none).
    virtual std::uint16_t scanCode(std::uint8_t virtualKey) = 0;
    virtual void keyDown(std::uint8_t virtualKey, std::uint16_t scanCode) = 0;
    virtual void keyUp(std::uint8_t virtualKey, std::uint16_t scanCode) = 0;
    // Presses or releases a mouse button at the pointer's current position, without movement.
    virtual void mouseButton(MouseButton button, bool down) = 0;
};

} // namespace veldran
