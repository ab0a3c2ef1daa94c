// Synthesised keyboard and mouse input through a virtual input device made with /dev/uinput, for
// desktops (Wayland) where XTEST does not reach every program. It needs write access to
// /dev/uinput; without it the adapter says so once on stderr and does nothing. The device sends
// physical keys, which the desktop reads with its own layout: given the desktop's keyboard map
// (the X server of the session, XWayland under Wayland), a virtual key goes to the key that the
// layout gives that code, as the XTest adapter finds it; without one, to its US key.
#pragma once

#include "platform/InputSynth.h"

#include <memory>
#include <mutex>
#include <string>

namespace veldran {

class UinputInputSynth final : public InputSynth {
public:
    // keyboardMap, when given, tells each virtual key's Linux key code through its scanCode().
    explicit UinputInputSynth(const std::string& devicePath = "/dev/uinput",
                              std::unique_ptr<InputSynth> keyboardMap = nullptr);
    ~UinputInputSynth() override;
    UinputInputSynth(const UinputInputSynth&) = delete;
    UinputInputSynth& operator=(const UinputInputSynth&) = delete;

    bool available() const;

    // The Linux key code of the key (the PC set-1 scan code for the main block).
    std::uint16_t scanCode(std::uint8_t virtualKey) override;
    void keyDown(std::uint8_t virtualKey, std::uint16_t scanCode) override;
    void keyUp(std::uint8_t virtualKey, std::uint16_t scanCode) override;
    void mouseButton(MouseButton button, bool down) override;

private:
    std::uint16_t keyCodeOf(std::uint8_t virtualKey);
    void send(std::uint16_t code, bool down);
    std::unique_ptr<InputSynth> keyboardMap_;
    mutable std::mutex mutex_;
    int fd_ = -1;
};

} // namespace veldran
