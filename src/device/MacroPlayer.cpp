#include "device/MacroPlayer.h"

#include "platform/Clock.h"
#include "platform/InputSynth.h"

#include <algorithm>

namespace veldran {
namespace {

// Macro codes 240 and above stand for mouse buttons: 240 left, 241 right, the rest middle.
constexpr std::uint8_t kLeftButtonCode = 240;
constexpr std::uint8_t kRightButtonCode = 241;

MouseButton buttonOf(std::uint8_t code) {
    if (code == kLeftButtonCode) {
        return MouseButton::Left;
    }
    if (code == kRightButtonCode) {
        return MouseButton::Right;
    }
    return MouseButton::Middle;
}

} // namespace

MacroPlayer::MacroPlayer(InputSynth& input, Clock& clock) : input_(input), clock_(clock) {}

void MacroPlayer::play(const MacroRecord& record, const std::atomic<bool>& stop) {
    const int count = record.usableEventCount();
    auto deadline = clock_.now();
    for (int k = 0; k < count && !stop.load(); ++k) {
        const MacroEvent event = record.event(k);
        perform(event);
        deadline += std::chrono::milliseconds(event.pause);
        pauseUntil(deadline, stop);
    }
}

void MacroPlayer::perform(const MacroEvent& event) {
    const bool press = event.action == static_cast<std::uint8_t>(MacroAction::Press);
    const bool release = event.action == static_cast<std::uint8_t>(MacroAction::Release);
    if (!press && !release) {
        return; // any other action only pauses
    }
    if (event.code >= kLeftButtonCode) {
        input_.mouseButton(buttonOf(event.code), press);
        return;
    }
    const std::uint16_t scan = input_.scanCode(event.code);
    if (press) {
        input_.keyDown(event.code, scan);
    } else {
        input_.keyUp(event.code, scan);
    }
}

void MacroPlayer::pauseUntil(std::chrono::steady_clock::time_point deadline,
                             const std::atomic<bool>& stop) {
    // One sleep for pauses up to a slice (the usual case), slices beyond that.
    do {
        const auto now = clock_.now();
        clock_.sleepUntil(std::min(deadline, now + kPauseSlice));
    } while (!stop.load() && clock_.now() < deadline);
}

} // namespace veldran
