#include "platform/linux/XTestInputSynth.h"

#include "platform/Log.h"
#include "platform/linux/XKeycodeChoice.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

namespace veldran {
namespace {

// X pointer buttons: 1 left, 2 middle, 3 right.
unsigned int xButtonOf(MouseButton button) {
    switch (button) {
    case MouseButton::Left:
        return 1;
    case MouseButton::Middle:
        return 2;
    case MouseButton::Right:
        return 3;
    }
    return 1;
}

// X keycodes lie in 8..255; the scan code reported for a key is its keycode minus this.
constexpr int kKeycodeOffset = 8;

// The server's keyboard map: keysyms by keycode and the XKB key names.
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
    return map;
}

} // namespace

struct XTestInputSynth::Impl {
    std::mutex mutex;
    Display* display = nullptr;
    int xkbEventType = -1; // the XKB extension's event type, -1 without XKB
    bool mapStale = true;
    XKeyboardMap map;
    // Keycode of each virtual key, looked up on first use; -1 not looked up yet, 0 none.
    std::array<int, 256> keycodes{};

    // Takes the notices of keyboard map changes (a new layout, xmodmap) queued on this
    // connection; the map is read again before the next key.
    void followMappingChanges() {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MappingNotify) {
                XRefreshKeyboardMapping(&event.xmapping);
                mapStale = true;
            } else if (event.type == xkbEventType) {
                mapStale = true;
            }
        }
        if (mapStale) {
            map = readKeyboardMap(display);
            keycodes.fill(-1);
            mapStale = false;
        }
    }

    int keycodeFor(std::uint8_t virtualKey) {
        followMappingChanges();
        int& cached = keycodes[virtualKey];
        if (cached < 0) {
            cached = chooseKeycode(map, virtualKey);
        }
        return cached;
    }

    void key(std::uint8_t virtualKey, bool down) {
        std::lock_guard lock(mutex);
        if (display == nullptr) {
            return;
        }
        const int keycode = keycodeFor(virtualKey);
        if (keycode == 0) {
            return; // no key of this server's keyboard map produces it
        }
        XTestFakeKeyEvent(display, static_cast<unsigned int>(keycode), down ? True : False,
                          CurrentTime);
        XFlush(display);
    }
};

XTestInputSynth::XTestInputSynth(const std::string& displayName) : impl_(std::make_unique<Impl>()) {
    impl_->keycodes.fill(-1);
    // The reader thread and the user-interface thread both call in; Xlib is made thread-safe
    // before the first connection, and the connection is used under a lock besides.
    XInitThreads();
    impl_->display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (impl_->display == nullptr) {
        logLine("cannot connect to the X display; mouse buttons set to keyboard shortcuts or "
                "macros will not send any input.");
        return;
    }
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(impl_->display, &eventBase, &errorBase, &major, &minor)) {
        logLine("the X server has no XTEST extension; mouse buttons set to keyboard shortcuts "
                "or macros will not send any input.");
        XCloseDisplay(impl_->display);
        impl_->display = nullptr;
        return;
    }
    // Keyboard map changes come as XKB notices (and core MappingNotify events, which every
    // client gets); either makes the map be read again.
    int xkbOpcode = 0;
    int xkbEvent = 0;
    int xkbError = 0;
    int xkbMajor = XkbMajorVersion;
    int xkbMinor = XkbMinorVersion;
    if (XkbQueryExtension(impl_->display, &xkbOpcode, &xkbEvent, &xkbError, &xkbMajor, &xkbMinor)) {
        impl_->xkbEventType = xkbEvent;
        const unsigned int mask = XkbNewKeyboardNotifyMask | XkbMapNotifyMask | XkbNamesNotifyMask;
        XkbSelectEvents(impl_->display, XkbUseCoreKbd, mask, mask);
    }
}

XTestInputSynth::~XTestInputSynth() {
    std::lock_guard lock(impl_->mutex);
    if (impl_->display != nullptr) {
        XCloseDisplay(impl_->display);
    }
}

bool XTestInputSynth::available() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->display != nullptr;
}

std::uint16_t XTestInputSynth::scanCode(std::uint8_t virtualKey) {
    std::lock_guard lock(impl_->mutex);
    if (impl_->display == nullptr) {
        return 0;
    }
    const int keycode = impl_->keycodeFor(virtualKey);
    return keycode >= kKeycodeOffset ? static_cast<std::uint16_t>(keycode - kKeycodeOffset) : 0;
}

void XTestInputSynth::keyDown(std::uint8_t virtualKey, std::uint16_t /*scanCode*/) {
    impl_->key(virtualKey, true);
}

void XTestInputSynth::keyUp(std::uint8_t virtualKey, std::uint16_t /*scanCode*/) {
    impl_->key(virtualKey, false);
}

void XTestInputSynth::mouseButton(MouseButton button, bool down) {
    std::lock_guard lock(impl_->mutex);
    if (impl_->display == nullptr) {
        return;
    }
    XTestFakeButtonEvent(impl_->display, xButtonOf(button), down ? True : False, CurrentTime);
    XFlush(impl_->display);
}

} // namespace veldran
