#include "platform/linux/XTestInputSynth.h"

#include "platform/VirtualKeys.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <array>
#include <cstdio>
#include <mutex>

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

} // namespace

struct XTestInputSynth::Impl {
    std::mutex mutex;
    Display* display = nullptr;
    // Keycode of each virtual key, looked up on first use; -1 not looked up yet, 0 none.
    std::array<int, 256> keycodes{};

    int keycodeFor(std::uint8_t virtualKey) {
        int& cached = keycodes[virtualKey];
        if (cached < 0) {
            const VirtualKey* key = findVirtualKey(virtualKey);
            cached = key != nullptr ? XKeysymToKeycode(display, key->keysym) : 0;
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
        std::fprintf(stderr,
                     "veldran: cannot connect to the X display; mouse buttons set to keyboard "
                     "shortcuts or macros will not send any input.\n");
        return;
    }
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(impl_->display, &eventBase, &errorBase, &major, &minor)) {
        std::fprintf(stderr,
                     "veldran: the X server has no XTEST extension; mouse buttons set to keyboard "
                     "shortcuts or macros will not send any input.\n");
        XCloseDisplay(impl_->display);
        impl_->display = nullptr;
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
