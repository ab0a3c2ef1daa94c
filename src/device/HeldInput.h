// The keys and mouse buttons that playing macros hold down. Every macro's input goes through
// here: a press is noted against the macro that made it, a release lets go of it, and a macro
// that ends lets go of everything it still holds, in reverse order of pressing. A key that
// several macros hold goes up only when the last of them lets go of it, so one macro ending
// never lifts a key another is holding.
#pragma once

#include "platform/InputSynth.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace veldran {

class HeldInput {
public:
    explicit HeldInput(InputSynth& input) : input_(input) {}

    // Macro codes: virtual keys below 240; 240 the left, 241 the right, the rest the middle
    // mouse button.
    void press(int owner, std::uint8_t code);
    // A release of a code that owner holds is held back while another macro holds it too; a
    // release of a code owner never pressed is sent as it is.
    void release(int owner, std::uint8_t code);
    // Releases what owner still holds, last pressed first (each only when no other macro holds
    // it), and forgets owner.
    void releaseAll(int owner);

    // The codes owner holds, in the order they were pressed.
    std::vector<std::uint8_t> heldBy(int owner) const;
    bool anyHeld() const;

private:
    struct Hold {
        int owner;
        std::uint8_t code;
    };
    static std::uint8_t canonical(std::uint8_t code);
    bool heldByOther(int owner, std::uint8_t code) const;
    void send(std::uint8_t code, bool down);

    InputSynth& input_;
    mutable std::mutex mutex_; // also keeps the macros' input in one order
    std::vector<Hold> holds_;  // in the order of pressing
};

} // namespace veldran
