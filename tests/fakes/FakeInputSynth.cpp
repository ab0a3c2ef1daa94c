#include "fakes/FakeInputSynth.h"

namespace veldran::fakes {

// A stand-in scan code: distinct per key and never 0 for a key, so tests can tell them apart.
std::uint16_t FakeInputSynth::scanCode(std::uint8_t virtualKey) {
    return static_cast<std::uint16_t>(virtualKey + 1000);
}

void FakeInputSynth::keyDown(std::uint8_t virtualKey, std::uint16_t scanCode) {
    add("down " + std::to_string(virtualKey) + " " + std::to_string(scanCode));
}

void FakeInputSynth::keyUp(std::uint8_t virtualKey, std::uint16_t scanCode) {
    add("up " + std::to_string(virtualKey) + " " + std::to_string(scanCode));
}

void FakeInputSynth::mouseButton(MouseButton button, bool down) {
    const char* name = button == MouseButton::Left    ? "left"
                       : button == MouseButton::Right ? "right"
                                                      : "middle";
    add(std::string("mouse ") + name + (down ? " down" : " up"));
}

std::vector<std::string> FakeInputSynth::events() const {
    std::lock_guard lock(mutex_);
    return events_;
}

void FakeInputSynth::clear() {
    std::lock_guard lock(mutex_);
    events_.clear();
}

void FakeInputSynth::add(std::string line) {
    std::lock_guard lock(mutex_);
    events_.push_back(std::move(line));
}

} // namespace veldran::fakes
