// The fixed software functions of the FunctionCode table that act on the desktop: the mute key,
// the copy, paste, select-all, undo and close-window shortcuts, the file manager, the session
// lock, the calculator and the terminal.
#pragma once

#include <cstdint>

namespace veldran {

class Clock;
class InputSynth;
class Shell;

class SoftwareFunctions {
public:
    SoftwareFunctions(InputSynth& input, Shell& shell, Clock& clock);

    // Carries out code 26 or 31 to 39 and returns true; any other code does nothing (false).
    bool run(std::int32_t code);

private:
    void controlShortcut(std::uint8_t key);
    void altF4();
    void mute();
    InputSynth& input_;
    Shell& shell_;
    Clock& clock_;
};

} // namespace veldran
