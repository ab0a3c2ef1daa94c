// The virtual key of each physical key of an X keyboard, read from the server's keyboard map:
// what a key is recorded as whatever the shift level it was typed at. A key's own keysym (its
// lowest level) names it; where that names no virtual key (the digit row of a French keyboard
// gives "&" there), the next level does. The keypad's keys give their digits while Num Lock is
// on and the keys they move like while it is off.
#pragma once

#include <array>
#include <cstdint>

struct _XDisplay;

namespace veldran {

class X11KeyMap {
public:
    // Reads the server's keyboard map and which modifier Num Lock is.
    void read(_XDisplay* display);

    // The virtual key of keycode with the modifier state of its event; 0 when none stands for it.
    std::uint8_t virtualKey(unsigned int keycode, unsigned int state) const;

private:
    std::array<std::uint8_t, 256> plain_{};  // the key's own code (Num Lock off)
    std::array<std::uint8_t, 256> numpad_{}; // keypad digits with Num Lock on, 0 for other keys
    unsigned int numLockMask_ = 0;
};

// The key map of the X server the application's windows are on; false when they are not on X11.
bool readApplicationKeyMap(X11KeyMap& map);

} // namespace veldran
