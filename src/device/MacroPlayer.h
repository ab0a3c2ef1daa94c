// Plays one macro record as synthesised input: key and mouse-button presses and releases, each
// followed by its pause. Pauses are timed against absolute deadlines taken from the clock, so the
// time spent synthesising input does not add up over a long macro.
#pragma once

#include "config/MacroRecord.h"

#include <atomic>
#include <chrono>

namespace veldran {

class Clock;
class InputSynth;

class MacroPlayer {
public:
    MacroPlayer(InputSynth& input, Clock& clock);

    // Plays the record's events (at most 41) and their pauses, the pause after the last event
    // included. A macro is not interrupted by the mouse; only stop (the program ending) cuts it
    // short, at the latest one pause slice after it is set.
    void play(const MacroRecord& record, const std::atomic<bool>& stop);

    // Longest single sleep, so that the program's end is noticed during a long pause.
    static constexpr std::chrono::milliseconds kPauseSlice{100};

private:
    void perform(const MacroEvent& event);
    void pauseUntil(std::chrono::steady_clock::time_point deadline, const std::atomic<bool>& stop);
    InputSynth& input_;
    Clock& clock_;
};

} // namespace veldran
