#include "platform/linux/XTestInputSynth.h"

#include "platform/Log.h"
#include "platform/linux/X11KeyboardMap.h"
#include "platform/linux/XKeycodeChoice.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
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
constexpr int kGroups = 4;

} // namespace

struct XTestInputSynth::Impl {
    std::mutex mutex;
    Display* display = nullptr;
    int xkbEventType = -1; // the XKB extension's event type, -1 without XKB
    bool mapStale = true;
    XKeyboardMap map;
    // Keycode of each virtual key in each keyboard group, looked up on first use; -1 not looked
    // up yet, 0 none.
    std::array<std::array<int, 256>, kGroups> keycodes{};
    // The keycode lent to a keypad digit pressed while Num Lock is off, until its release.
    std::array<int, 256> lent{};

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
            for (auto& group : keycodes) {
                group.fill(-1);
            }
            mapStale = false;
        }
    }

    int keycodeFor(std::uint8_t virtualKey) {
        followMappingChanges();
        const int group = std::clamp(currentKeyboardGroup(display), 0, kGroups - 1);
        int& cached = keycodes[static_cast<std::size_t>(group)][virtualKey];
        if (cached < 0) {
            cached = chooseKeycode(map, virtualKey, group);
        }
        return cached;
    }

    // A keycode no key of the map uses, the highest, or 0.
    int spareKeycode() const {
        for (std::size_t i = map.keysyms.size(); i-- > 0;) {
            const auto& syms = map.keysyms[i];
            if (std::all_of(syms.begin(), syms.end(), [](std::uint32_t k) { return k == 0; })) {
                return map.minKeycode + static_cast<int>(i);
            }
        }
        return 0;
    }

    void setKeysym(int keycode, KeySym keysym) {
        XChangeKeyboardMapping(display, keycode, 1, &keysym, 1);
        XSync(display, False);
    }

    // A keypad digit recorded with Num Lock on types the digit whatever the Num Lock state: with
    // Num Lock off it is pressed on a spare keycode that holds only the digit's keysym for the
    // duration of the press, as command-line XTest tools do; the release empties it again.
    int keypadDigitKeycode(std::uint8_t virtualKey, bool down, int keycode) {
        int& borrowed = lent[virtualKey];
        if (!down) {
            return borrowed != 0 ? borrowed : keycode;
        }
        if (borrowed != 0 || numLockOn(display)) {
            return borrowed != 0 ? borrowed : keycode;
        }
        const int spare = spareKeycode();
        if (spare == 0) {
            return keycode;
        }
        const KeySym digit = virtualKey == 0x6E ? XK_KP_Decimal : XK_KP_0 + (virtualKey - 0x60);
        setKeysym(spare, digit);
        borrowed = spare;
        return spare;
    }

    void key(std::uint8_t virtualKey, bool down) {
        std::lock_guard lock(mutex);
        if (display == nullptr) {
            return;
        }
        int keycode = keycodeFor(virtualKey);
        if (keycode == 0) {
            return; // no key of this server's keyboard map produces it
        }
        if (isKeypadDigit(virtualKey)) {
            keycode = keypadDigitKeycode(virtualKey, down, keycode);
        }
        XTestFakeKeyEvent(display, static_cast<unsigned int>(keycode), down ? True : False,
                          CurrentTime);
        XFlush(display);
        int& borrowed = lent[virtualKey];
        if (!down && borrowed == keycode && borrowed != 0) {
            XSync(display, False);
            setKeysym(borrowed, NoSymbol);
            borrowed = 0;
        }
    }
};

XTestInputSynth::XTestInputSynth(const std::string& displayName) : impl_(std::make_unique<Impl>()) {
    for (auto& group : impl_->keycodes) {
        group.fill(-1);
    }
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
