// Low-level capture of the keyboard while a macro is being recorded. Key codes are Windows
// virtual-key codes, side-specific for Shift, Ctrl and Alt (0xA0 to 0xA5).
#pragma once

#include <cstdint>
#include <functional>

namespace veldran {

struct KeyboardEvent {
    std::uint8_t virtualKey = 0;
    bool down = true;        // true for a key press, false for a release
    std::uint32_t timeMs = 0; // the window system's time stamp in milliseconds
};

class KeyboardHook {
public:
    using Handler = std::function<void(const KeyboardEvent&)>;
    virtual ~KeyboardHook() = default;
    // Starts delivering every key event of the session to handler, on the user-interface thread.
    // Returns false when capture is not available.
    virtual bool start(Handler handler) = 0;
    virtual void stop() = 0;
    virtual bool active() const = 0;
};

} // namespace veldran
