// Low-level capture of the keyboard while a macro is being recorded. Each key press and release
// of the whole session is handed to the user-interface thread as a keyboard message: the
// message number (key down or up, or their system variants while Alt is held) and the Windows
// virtual-key code, side-specific for Shift, Ctrl and Alt (0xA0 to 0xA5).
#pragma once

#include <cstdint>
#include <functional>

namespace veldran {

// Keyboard message numbers, as macros and the main window's pre-filter know them.
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;
inline constexpr std::uint32_t WM_KEYUP = 0x0101;
inline constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;
inline constexpr std::uint32_t WM_SYSKEYUP = 0x0105;

struct KeyMessage {
    std::uint32_t message = 0;    // WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN or WM_SYSKEYUP
    std::uint32_t virtualKey = 0; // the key's virtual-key code
    bool operator==(const KeyMessage&) const = default;
};

bool isKeyMessage(std::uint32_t message);
bool isKeyDownMessage(std::uint32_t message);

// The message a key event is delivered as: the system variant while Alt is held without Ctrl
// (Alt itself included) and for F10, the plain one otherwise. altHeld and ctrlHeld describe the
// modifiers before the event.
KeyMessage keyMessageOf(std::uint8_t virtualKey, bool down, bool altHeld, bool ctrlHeld);

class KeyboardHook {
public:
    using Handler = std::function<void(const KeyMessage&)>;
    virtual ~KeyboardHook() = default;
    // Starts handing every key event of the session to handler, on the thread that called
    // start() (the user-interface thread), in the order the keys were struck. Returns false
    // when capture is not available; nothing is captured then.
    virtual bool start(Handler handler) = 0;
    // Ends the capture: after it returns nothing is captured or delivered any more, and the
    // capture holds nothing of the window system.
    virtual void stop() = 0;
    virtual bool active() const = 0;
};

} // namespace veldran
