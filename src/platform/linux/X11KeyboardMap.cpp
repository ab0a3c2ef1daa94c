#include "platform/linux/X11KeyboardMap.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <algorithm>
#include <cstring>
#include <string>

namespace veldran {
namespace {

// The layouts of the server's rules names: the root window's _XKB_RULES_NAMES holds rules, model,
// layouts, variants and options, each ended by a zero byte; the layouts are comma-separated.
std::vector<std::string> ruleLayouts(Display* display) {
    std::vector<std::string> layouts;
    const Atom names = XInternAtom(display, "_XKB_RULES_NAMES", True);
    if (names == 0) {
        return layouts;
    }
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, DefaultRootWindow(display), names, 0, 1024, False, XA_STRING,
                           &type, &format, &count, &after, &data) != Success ||
        data == nullptr) {
        return layouts;
    }
    std::string fields(reinterpret_cast<const char*>(data), count);
    XFree(data);
    std::size_t start = 0;
    for (int field = 0; field < 2 && start != std::string::npos; ++field) {
        start = fields.find('\0', start);
        start = start == std::string::npos ? start : start + 1;
    }
    if (start == std::string::npos) {
        return layouts;
    }
    const std::string list = fields.substr(start, fields.find('\0', start) - start);
    std::size_t from = 0;
    while (from <= list.size()) {
        const std::size_t comma = std::min(list.find(',', from), list.size());
        layouts.push_back(list.substr(from, comma - from));
        from = comma + 1;
    }
    return layouts;
}

} // namespace

XKeyboardMap readKeyboardMap(Display* display) {
    XKeyboardMap map;
    int minKeycode = 0;
    int maxKeycode = 0;
    XDisplayKeycodes(display, &minKeycode, &maxKeycode);
    if (maxKeycode < minKeycode) {
        return map;
    }
    map.minKeycode = minKeycode;
    const int count = maxKeycode - minKeycode + 1;
    int perKeycode = 0;
    KeySym* syms =
        XGetKeyboardMapping(display, static_cast<KeyCode>(minKeycode), count, &perKeycode);
    map.keysyms.resize(static_cast<std::size_t>(count));
    map.names.resize(static_cast<std::size_t>(count));
    if (syms != nullptr) {
        for (int i = 0; i < count; ++i) {
            for (int j = 0; j < perKeycode; ++j) {
                map.keysyms[static_cast<std::size_t>(i)].push_back(
                    static_cast<std::uint32_t>(syms[i * perKeycode + j]));
            }
        }
        XFree(syms);
    }
    if (XkbDescPtr xkb = XkbGetMap(display, 0, XkbUseCoreKbd)) {
        if (XkbGetNames(display, XkbKeyNamesMask, xkb) == Success && xkb->names != nullptr &&
            xkb->names->keys != nullptr) {
            for (int keycode = std::max(minKeycode, static_cast<int>(xkb->min_key_code));
                 keycode <= std::min(maxKeycode, static_cast<int>(xkb->max_key_code)); ++keycode) {
                const char* name = xkb->names->keys[keycode].name;
                map.names[static_cast<std::size_t>(keycode - minKeycode)] =
                    std::string(name, strnlen(name, XkbKeyNameLength));
            }
        }
        XkbFreeKeyboard(xkb, 0, True);
    }
    map.layouts = ruleLayouts(display);
    return map;
}

int currentKeyboardGroup(Display* display) {
    XkbStateRec state{};
    if (XkbGetState(display, XkbUseCoreKbd, &state) != Success) {
        return 0;
    }
    return state.group;
}

unsigned int numLockMask(Display* display) {
    unsigned int mask = 0;
    const KeyCode numLock = XKeysymToKeycode(display, XK_Num_Lock);
    XModifierKeymap* modifiers = XGetModifierMapping(display);
    if (modifiers != nullptr) {
        for (int m = 0; m < 8 && numLock != 0; ++m) {
            for (int k = 0; k < modifiers->max_keypermod; ++k) {
                if (modifiers->modifiermap[m * modifiers->max_keypermod + k] == numLock) {
                    mask = 1u << m;
                }
            }
        }
        XFreeModifiermap(modifiers);
    }
    return mask;
}

bool numLockOn(Display* display) {
    XkbStateRec state{};
    const unsigned int mask = numLockMask(display);
    return mask != 0 && XkbGetState(display, XkbUseCoreKbd, &state) == Success &&
           (state.locked_mods & mask) != 0;
}

} // namespace veldran
