// The virtual key of each physical key of an X keyboard, read from the server's keyboard map:
// what a key is recorded as whatever the shift level it was typed at, by the same search that
// playback uses to find the key again (XKeycodeChoice): the key's own keysym where it names a
// Windows key, else its place in the position table of the layout in use. The keypad's keys give
// their digits while Num Lock is on and the keys they move like while it is off.
#pragma once

#include <array>
#include <cstdint>

struct _XDisplay;

namespace veldran {

class X11KeyMap {
public:
    // Reads the server's keyboard map, its layouts and which modifier Num Lock is.
    void read(_XDisplay* display);

    // The virtual key of keycode with the modifier state of its event (which carries the
    // keyboard group); 0 when none stands for it.
    std::uint8_t virtualKey(unsigned int keycode, unsigned int state) const;

private:
    static constexpr int kGroups = 2;
    // By group: the key's own code (Num Lock off), and the keypad digit with Num Lock on (0 for
    // other keys).
    std::array<std::array<std::uint8_t, 256>, kGroups> plain_{};
    std::array<std::array<std::uint8_t, 256>, kGroups> numpad_{};
    unsigned int numLockMask_ = 0;
};

// The key map of the X server the application's windows are on; false when they are not on X11.
bool readApplicationKeyMap(X11KeyMap& map);

} // namespace veldran
