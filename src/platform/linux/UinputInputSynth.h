// Synthesised keyboard and mouse input through a virtual input device made with /dev/uinput, for
// desktops (Wayland) where XTEST does not reach every program. It needs write access to
// /dev/uinput; without it the adapter says so once on stderr and does nothing.
#pragma once

#include "platform/InputSynth.h"

#include <mutex>
#include <string>

namespace veldran {

class UinputInputSynth final : public InputSynth {
public:
    explicit UinputInputSynth(const std::string& devicePath = "/dev/uinput");
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
    void send(std::uint16_t code, bool down);
    mutable std::mutex mutex_;
    int fd_ = -1;
};

} // namespace veldran
