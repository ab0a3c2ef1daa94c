// Synthesised input reaches a real X client: an Xlib window with the focus and the pointer
// receives the key and button presses and releases that the XTest adapter and the reader's
// software functions send.
// clang-format off
// gtest comes before Xlib, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>
// clang-format on

#include "device/SoftwareFunctions.h"
#include "fakes/FakeShell.h"
#include "formats/VirtualKeys.h"
#include "platform/Clock.h"
#include "platform/linux/X11KeyboardMap.h"
#include "platform/linux/XTestInputSynth.h"

#include <X11/XF86keysym.h>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

// Last: Xlib's macros (Bool, Status) must not come before the Qt headers.
#include "support/FocusedXWindow.h"

namespace veldran {
namespace {

struct Received {
    int type;
    unsigned int detail; // keycode or button
    unsigned int state;  // modifier state at the event
};

class XTestDeliveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "needs an X display";
        }
        display_ = XOpenDisplay(nullptr);
        ASSERT_NE(display_, nullptr);
        window_ = veldran::testing::mapFocusedWindow(display_, 0, 0, 300, 200,
                                                     ButtonPressMask | ButtonReleaseMask);
        XWarpPointer(display_, None, window_, 0, 0, 0, 0, 150, 100);
        XSync(display_, False);
    }
    void TearDown() override {
        if (display_ != nullptr) {
            XDestroyWindow(display_, window_);
            XCloseDisplay(display_);
        }
    }

    // Key and button events received until count of them arrived or a few seconds passed.
    std::vector<Received> receive(std::size_t count) {
        std::vector<Received> out;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (out.size() < count && std::chrono::steady_clock::now() < end) {
            while (XPending(display_) > 0 && out.size() < count) {
                XEvent event;
                XNextEvent(display_, &event);
                if (event.type == KeyPress || event.type == KeyRelease) {
                    out.push_back({event.type, event.xkey.keycode, event.xkey.state});
                } else if (event.type == ButtonPress || event.type == ButtonRelease) {
                    out.push_back({event.type, event.xbutton.button, event.xbutton.state});
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return out;
    }
    unsigned int keycodeOf(unsigned long keysym) {
        return XKeysymToKeycode(display_, static_cast<KeySym>(keysym));
    }

    Display* display_ = nullptr;
    Window window_ = 0;
};

TEST_F(XTestDeliveryTest, KeyPressAndReleaseReachTheFocusedWindow) {
    XTestInputSynth input;
    ASSERT_TRUE(input.available());
    const unsigned int a = keycodeOf(XK_a);
    ASSERT_NE(a, 0u);
    EXPECT_EQ(input.scanCode(vk::A), a - 8);

    input.keyDown(vk::A, input.scanCode(vk::A));
    input.keyUp(vk::A, input.scanCode(vk::A));

    const auto events = receive(2);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].type, KeyPress);
    EXPECT_EQ(events[0].detail, a);
    EXPECT_EQ(events[1].type, KeyRelease);
    EXPECT_EQ(events[1].detail, a);
}

TEST_F(XTestDeliveryTest, AKeypadDigitTypesItsDigitWhateverTheNumLockState) {
    XTestInputSynth input;
    const std::uint8_t numpad5 = 0x65;
    const unsigned int keypad5 = keycodeOf(XK_KP_5);
    const unsigned int numLock = numLockMask(display_);
    ASSERT_NE(numLock, 0u);
    auto keysymOf = [&](unsigned int keycode) {
        int per = 0;
        KeySym* syms = XGetKeyboardMapping(display_, static_cast<KeyCode>(keycode), 1, &per);
        const KeySym first = syms != nullptr && per > 0 ? syms[0] : NoSymbol;
        XFree(syms);
        return first;
    };

    XkbLockModifiers(display_, XkbUseCoreKbd, numLock, numLock);
    XSync(display_, False);
    input.keyDown(numpad5, 0);
    input.keyUp(numpad5, 0);
    auto events = receive(2);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].detail, keypad5); // Num Lock on: the keypad's own key

    // Num Lock off: a spare key holds the digit alone for as long as it is pressed.
    XkbLockModifiers(display_, XkbUseCoreKbd, numLock, 0);
    XSync(display_, False);
    input.keyDown(numpad5, 0);
    events = receive(1);
    ASSERT_EQ(events.size(), 1u);
    const unsigned int lent = events[0].detail;
    EXPECT_NE(lent, keypad5);
    EXPECT_EQ(keysymOf(lent), static_cast<KeySym>(XK_KP_5));
    input.keyUp(numpad5, 0);
    events = receive(1);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].detail, lent);
    EXPECT_EQ(keysymOf(lent), static_cast<KeySym>(NoSymbol)); // the map as it was
}

TEST_F(XTestDeliveryTest, MouseButtonsActAtThePointer) {
    XTestInputSynth input;
    input.mouseButton(MouseButton::Right, true);
    input.mouseButton(MouseButton::Right, false);
    input.mouseButton(MouseButton::Middle, true);
    input.mouseButton(MouseButton::Middle, false);
    const auto events = receive(4);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].type, ButtonPress);
    EXPECT_EQ(events[0].detail, 3u);
    EXPECT_EQ(events[1].type, ButtonRelease);
    EXPECT_EQ(events[2].detail, 2u);
    EXPECT_EQ(events[3].type, ButtonRelease);
}

TEST_F(XTestDeliveryTest, CopyShortcutArrivesAsControlC) {
    XTestInputSynth input;
    fakes::FakeShell shell;
    SystemClock clock;
    SoftwareFunctions functions(input, shell, clock);
    ASSERT_TRUE(functions.run(31));

    const auto events = receive(4);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].detail, keycodeOf(XK_Control_L));
    EXPECT_EQ(events[1].type, KeyPress);
    EXPECT_EQ(events[1].detail, keycodeOf(XK_c));
    EXPECT_TRUE(events[1].state & ControlMask);
    EXPECT_EQ(events[2].type, KeyRelease);
    EXPECT_EQ(events[2].detail, keycodeOf(XK_c));
    EXPECT_EQ(events[3].type, KeyRelease);
    EXPECT_EQ(events[3].detail, keycodeOf(XK_Control_L));
}

// The keyboard map changes while the adapter runs (a new layout, xmodmap): first the C key loses
// its Latin letter, as under a Cyrillic layout, so Ctrl+C goes to the key where C is on a PC
// keyboard; then the letter c moves to another key, which Ctrl+C then uses.
TEST_F(XTestDeliveryTest, CopyFollowsKeyboardMapChanges) {
    const KeyCode c = static_cast<KeyCode>(keycodeOf(XK_c));
    const KeyCode x = static_cast<KeyCode>(keycodeOf(XK_x));
    ASSERT_NE(c, 0);
    ASSERT_NE(x, 0);
    // The server's map of both keys is put back however the test ends.
    struct SavedKeys {
        Display* display;
        KeyCode first, second;
        int perFirst = 0, perSecond = 0;
        KeySym* firstSyms = XGetKeyboardMapping(display, first, 1, &perFirst);
        KeySym* secondSyms = XGetKeyboardMapping(display, second, 1, &perSecond);
        ~SavedKeys() {
            XChangeKeyboardMapping(display, first, perFirst, firstSyms, 1);
            XChangeKeyboardMapping(display, second, perSecond, secondSyms, 1);
            XSync(display, False);
            XFree(firstSyms);
            XFree(secondSyms);
        }
    } saved{display_, c, x};

    XTestInputSynth input;
    fakes::FakeShell shell;
    SystemClock clock;
    SoftwareFunctions functions(input, shell, clock);
    ASSERT_TRUE(functions.run(31));
    ASSERT_EQ(receive(4).size(), 4u); // the keys are looked up and remembered

    KeySym cyrillic[] = {XK_Cyrillic_es, XK_Cyrillic_ES};
    XChangeKeyboardMapping(display_, c, 2, cyrillic, 1);
    XSync(display_, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_TRUE(functions.run(31));
    auto events = receive(4);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[1].type, KeyPress);
    EXPECT_EQ(events[1].detail, c) << "the key where C is";
    EXPECT_TRUE(events[1].state & ControlMask);

    KeySym latin[] = {XK_c, XK_C};
    XChangeKeyboardMapping(display_, x, 2, latin, 1);
    XSync(display_, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_TRUE(functions.run(31));
    events = receive(4);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[1].detail, x) << "the key that now types c";
    EXPECT_EQ(events[2].detail, x);
}

TEST_F(XTestDeliveryTest, MuteIsPressedOnceAndNotLeftDown) {
    const unsigned int mute = keycodeOf(XF86XK_AudioMute);
    if (mute == 0) {
        GTEST_SKIP() << "the server's keyboard map has no mute key";
    }
    XTestInputSynth input;
    fakes::FakeShell shell;
    SystemClock clock;
    SoftwareFunctions functions(input, shell, clock);
    ASSERT_TRUE(functions.run(26));
    const auto events = receive(2);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].type, KeyPress);
    EXPECT_EQ(events[0].detail, mute);
    EXPECT_EQ(events[1].type, KeyRelease);
    char keys[32];
    XQueryKeymap(display_, keys);
    EXPECT_EQ(keys[mute / 8] & (1 << (mute % 8)), 0) << "the mute key is still down";
}

} // namespace
} // namespace veldran
