// Synthesised keyboard and mouse input on X11 through the XTEST extension. Virtual keys become
// X keycodes through the server's keyboard map: the key that types the virtual key's keysym, or
// for letters, digits and punctuation that the layout lacks the key at the same place on a PC
// keyboard (XKeycodeChoice); the map is read again after every keyboard map change. The adapter
// keeps its own display connection, used under a lock from any thread. Without a display (or
// without XTEST) it says so once on stderr and every call does nothing.
#pragma once

#include "platform/InputSynth.h"

#include <memory>
#include <string>

namespace veldran {

class XTestInputSynth final : public InputSynth {
public:
    // Connects to displayName, or to $DISPLAY when it is empty.
    explicit XTestInputSynth(const std::string& displayName = {});
    ~XTestInputSynth() override;
    XTestInputSynth(const XTestInputSynth&) = delete;
    XTestInputSynth& operator=(const XTestInputSynth&) = delete;

    // Whether input reaches an X server.
    bool available() const;

    // The X keycode of the key minus 8: under the evdev keyboard map that is the Linux key code,
    // which for the main block of a PC keyboard is also its set-1 scan code. 0 when the key has
    // no keycode on this server.
    std::uint16_t scanCode(std::uint8_t virtualKey) override;
    void keyDown(std::uint8_t virtualKey, std::uint16_t scanCode) override;
    void keyUp(std::uint8_t virtualKey, std::uint16_t scanCode) override;
    void mouseButton(MouseButton button, bool down) override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace veldran
