#include "platform/linux/X11KeyMap.h"

#include "formats/KeysymVirtualKeys.h"
#include "platform/linux/QtXDisplay.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace veldran {
namespace {

bool isNumpadKeysym(KeySym keysym) {
    return (keysym >= XK_KP_0 && keysym <= XK_KP_9) || keysym == XK_KP_Decimal ||
           keysym == XK_KP_Separator;
}

} // namespace

void X11KeyMap::read(Display* display) {
    *this = X11KeyMap{};
    int minKeycode = 0;
    int maxKeycode = 0;
    XDisplayKeycodes(display, &minKeycode, &maxKeycode);
    int perKeycode = 0;
    const int count = maxKeycode - minKeycode + 1;
    KeySym* syms =
        XGetKeyboardMapping(display, static_cast<KeyCode>(minKeycode), count, &perKeycode);
    if (syms != nullptr) {
        for (int i = 0; i < count; ++i) {
            const auto keycode = static_cast<std::size_t>(minKeycode + i);
            const KeySym level0 = perKeycode > 0 ? syms[i * perKeycode] : NoSymbol;
            const KeySym level1 = perKeycode > 1 ? syms[i * perKeycode + 1] : NoSymbol;
            std::uint8_t code = virtualKeyOfKeysym(static_cast<std::uint32_t>(level0));
            if (code == 0) {
                code = virtualKeyOfKeysym(static_cast<std::uint32_t>(level1));
            }
            plain_[keycode] = code;
            if (isNumpadKeysym(level1)) {
                numpad_[keycode] = virtualKeyOfKeysym(static_cast<std::uint32_t>(level1));
            }
        }
        XFree(syms);
    }
    const KeyCode numLock = XKeysymToKeycode(display, XK_Num_Lock);
    XModifierKeymap* modifiers = XGetModifierMapping(display);
    if (modifiers != nullptr) {
        for (int m = 0; m < 8 && numLock != 0; ++m) {
            for (int k = 0; k < modifiers->max_keypermod; ++k) {
                if (modifiers->modifiermap[m * modifiers->max_keypermod + k] == numLock) {
                    numLockMask_ = 1u << m;
                }
            }
        }
        XFreeModifiermap(modifiers);
    }
}

std::uint8_t X11KeyMap::virtualKey(unsigned int keycode, unsigned int state) const {
    if (keycode > 255) {
        return 0;
    }
    if ((state & numLockMask_) != 0 && numpad_[keycode] != 0) {
        return numpad_[keycode];
    }
    return plain_[keycode];
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
