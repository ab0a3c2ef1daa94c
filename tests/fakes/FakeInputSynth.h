// Synthesised input that records what it is asked, in order, as readable lines such as
// "down 17 0", "up 67 46", "mouse right down".
#pragma once

#include "platform/InputSynth.h"

#include <mutex>
#include <string>
#include <vector>

namespace veldran::fakes {

class FakeInputSynth final : public InputSynth {
public:
    std::uint16_t scanCode(std::uint8_t virtualKey) override;
    void keyDown(std::uint8_t virtualKey, std::uint16_t scanCode) override;
    void keyUp(std::uint8_t virtualKey, std::uint16_t scanCode) override;
    void mouseButton(MouseButton button, bool down) override;

    std::vector<std::string> events() const;
    void clear();

private:
    void add(std::string line);
    mutable std::mutex mutex_;
    std::vector<std::string> events_;
};

} // namespace veldran::fakes
