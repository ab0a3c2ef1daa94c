#include "platform/linux/X11KeyMap.h"

#include "platform/linux/QtXDisplay.h"
#include "platform/linux/X11KeyboardMap.h"

#include <X11/Xlib.h>

namespace veldran {

void X11KeyMap::read(Display* display) {
    *this = X11KeyMap{};
    const XKeyboardMap map = readKeyboardMap(display);
    for (int group = 0; group < kGroups; ++group) {
        for (std::size_t i = 0; i < map.keysyms.size(); ++i) {
            const int keycode = map.minKeycode + static_cast<int>(i);
            if (keycode < 0 || keycode > 255) {
                continue;
            }
            const auto k = static_cast<std::size_t>(keycode);
            const auto g = static_cast<std::size_t>(group);
            plain_[g][k] = virtualKeyOfKeycode(map, keycode, group, false);
            const std::uint8_t withNumLock = virtualKeyOfKeycode(map, keycode, group, true);
            numpad_[g][k] = withNumLock != plain_[g][k] ? withNumLock : 0;
        }
    }
    numLockMask_ = numLockMask(display);
}

std::uint8_t X11KeyMap::virtualKey(unsigned int keycode, unsigned int state) const {
    if (keycode > 255) {
        return 0;
    }
    // The group travels in bits 13 and 14 of an event's state.
    const auto group = static_cast<std::size_t>(((state >> 13) & 3u) == 1 ? 1 : 0);
    if ((state & numLockMask_) != 0 && numpad_[group][keycode] != 0) {
        return numpad_[group][keycode];
    }
    return plain_[group][keycode];
}

bool readApplicationKeyMap(X11KeyMap& map) {
    Display* display = qtXDisplay();
    if (display == nullptr) {
        return false;
    }
    map.read(display);
    return true;
}

} // namespace veldran
