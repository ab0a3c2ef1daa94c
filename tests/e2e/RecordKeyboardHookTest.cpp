// Key capture through the X RECORD extension under a private X server: keys typed with XTest
// into another X client are handed on as keyboard messages and recorded, in order, with their
// pauses; outside a recording the server holds no recording context of ours and no capture
// thread runs.
// clang-format off
// gtest comes before Xlib, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>
// clang-format on

#include "config/MacroTable.h"
#include "formats/WindowsLayouts.h"
#include "macro/MacroRecorder.h"
#include "platform/Clock.h"
#include "platform/linux/X11KeyboardMap.h"
#include "platform/linux/X11RecordKeyboardHook.h"
#include "platform/linux/XTestInputSynth.h"

#include <QTest>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/record.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <sys/prctl.h>
#include <vector>

// Last: Xlib's macros (Bool, Status) must not come before the Qt headers.
#include "support/FocusedXWindow.h"

namespace veldran {
namespace {

using Steady = std::chrono::steady_clock;

// Threads of this process that the capture runs (by the name it gives them).
int captureThreads() {
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(entry.path() / "comm");
        std::string name;
        std::getline(comm, name);
        n += name == "key-capture" ? 1 : 0;
    }
    return n;
}

int lastXError = 0;
int rememberXError(Display*, XErrorEvent* error) {
    lastXError = error->error_code;
    return 0;
}

class RecordKeyboardHookTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "needs an X display";
        }
        display_ = XOpenDisplay(nullptr);
        ASSERT_NE(display_, nullptr);
        int major = 0;
        int minor = 0;
        if (!XRecordQueryVersion(display_, &major, &minor)) {
            GTEST_SKIP() << "the X server has no RECORD extension";
        }
        // Another X client with the keyboard focus: the keys are typed into it.
        window_ = veldran::testing::mapFocusedWindow(display_, 0, 0);
    }
    void TearDown() override {
        if (display_ != nullptr) {
            XDestroyWindow(display_, window_);
            XCloseDisplay(display_);
        }
    }

    // Whether the server still knows the recording context id.
    bool serverHasContext(unsigned long id) {
        lastXError = 0;
        auto* previous = XSetErrorHandler(rememberXError);
        XRecordState* state = nullptr;
        const Status ok = XRecordGetContext(display_, id, &state);
        XSync(display_, False);
        XSetErrorHandler(previous);
        if (state != nullptr) {
            XRecordFreeState(state);
        }
        return ok != 0 && lastXError == 0;
    }

    // Key events the other client received.
    int receivedKeys() {
        XSync(display_, False);
        int n = 0;
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            n += event.type == KeyPress || event.type == KeyRelease ? 1 : 0;
        }
        return n;
    }

    void type(std::uint8_t code, bool down) {
        if (down) {
            input_.keyDown(code, 0);
        } else {
            input_.keyUp(code, 0);
        }
    }

    Display* display_ = nullptr;
    Window window_ = 0;
    XTestInputSynth input_;
};

TEST_F(RecordKeyboardHookTest, ForwardsEveryKeyAsItsKeyboardMessage) {
    X11RecordKeyboardHook hook;
    std::vector<KeyMessage> seen;
    ASSERT_TRUE(hook.start([&](const KeyMessage& m) { seen.push_back(m); }));
    EXPECT_TRUE(serverHasContext(hook.contextId()));
    EXPECT_EQ(captureThreads(), 1);

    type(0xA0, true); // left shift
    type(0x41, true);
    type(0x41, false);
    type(0xA0, false);
    type(0xA4, true); // left alt: system messages while it is held
    type(0x46, true);
    type(0x46, false);
    type(0xA4, false);
    type(0xA3, true); // right control
    type(0xA3, false);
    type(0x0D, true);
    type(0x0D, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen.size() >= 12; }, 5000));
    hook.stop();

    const std::vector<KeyMessage> expected = {
        {WM_KEYDOWN, 0xA0},    {WM_KEYDOWN, 0x41},    {WM_KEYUP, 0x41},    {WM_KEYUP, 0xA0},
        {WM_SYSKEYDOWN, 0xA4}, {WM_SYSKEYDOWN, 0x46}, {WM_SYSKEYUP, 0x46}, {WM_SYSKEYUP, 0xA4},
        {WM_KEYDOWN, 0xA3},    {WM_KEYUP, 0xA3},      {WM_KEYDOWN, 0x0D},  {WM_KEYUP, 0x0D}};
    EXPECT_EQ(seen, expected);
    // The capture only watches: the focused client got every key.
    EXPECT_EQ(receivedKeys(), 12);
}

TEST_F(RecordKeyboardHookTest, TypedKeysLandInTheRecordWithTheirPauses) {
    X11RecordKeyboardHook hook;
    MacroTable table;
    table.setCount(1);
    MacroEditorState editor;
    SystemClock clock;
    MacroRecorder recorder(table, editor, clock, &hook);

    type(0x5A, true); // before the recording: not captured
    type(0x5A, false);
    QTest::qWait(50);
    recorder.toggle(0, "Typed");
    ASSERT_TRUE(hook.active());

    const std::vector<std::pair<std::uint8_t, bool>> keys = {
        {0x41, true}, {0x41, false}, {0xA1, true}, {0x42, true}, {0x42, false}, {0xA1, false}};
    const std::vector<int> gapsMs = {0, 80, 150, 40, 60, 120};
    std::vector<Steady::time_point> sent;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        QTest::qWait(gapsMs[i]);
        type(keys[i].first, keys[i].second);
        sent.push_back(Steady::now());
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.recordedCount() >= 6; }, 5000));
    recorder.toggle(0, "Typed");

    const MacroRecord record = table.snapshot(0);
    ASSERT_EQ(record.eventCount, 6);
    for (int k = 0; k < 6; ++k) {
        const MacroEvent e = record.event(k);
        EXPECT_EQ(e.code, keys[static_cast<std::size_t>(k)].first) << "event " << k;
        EXPECT_EQ(e.action, keys[static_cast<std::size_t>(k)].second ? 1 : 2) << "event " << k;
        if (k < 5) {
            const auto typed =
                std::chrono::duration_cast<std::chrono::milliseconds>(
                    sent[static_cast<std::size_t>(k) + 1] - sent[static_cast<std::size_t>(k)])
                    .count();
            // Wide enough for a loaded machine, narrow enough to catch a pause that is missing,
            // in the wrong unit or on the wrong event; record_hook_bench measures the precision.
            EXPECT_NEAR(e.pause, typed, 40) << "pause after event " << k;
        }
    }
}

TEST_F(RecordKeyboardHookTest, NothingOfTheCaptureOutlivesStopOrTheRecorder) {
    X11RecordKeyboardHook hook;
    MacroTable table;
    table.setCount(1);
    MacroEditorState editor;
    SystemClock clock;
    unsigned long context = 0;
    {
        MacroRecorder recorder(table, editor, clock, &hook);
        EXPECT_FALSE(hook.active());
        EXPECT_EQ(captureThreads(), 0);

        const int dumpable = prctl(PR_GET_DUMPABLE);
        recorder.toggle(0, "Once");
        context = hook.contextId();
        ASSERT_TRUE(serverHasContext(context));
        EXPECT_EQ(prctl(PR_GET_DUMPABLE), 0); // no core file holds the typed keys
        recorder.toggle(0, "Once");
        EXPECT_FALSE(serverHasContext(context));
        EXPECT_EQ(captureThreads(), 0);
        EXPECT_EQ(prctl(PR_GET_DUMPABLE), dumpable);

        // Keys after Stop go nowhere.
        type(0x43, true);
        type(0x43, false);
        QTest::qWait(100);
        EXPECT_EQ(table.snapshot(0).event(0), MacroEvent{});

        recorder.toggle(0, "Twice");
        context = hook.contextId();
        ASSERT_TRUE(serverHasContext(context));
        type(0x44, true);
        // The recorder (the main window) ends while the recording runs.
    }
    EXPECT_FALSE(hook.active());
    EXPECT_FALSE(serverHasContext(context));
    EXPECT_EQ(captureThreads(), 0);
    type(0x44, false);
    QTest::qWait(50); // a key posted before the end is not delivered afterwards
    EXPECT_EQ(table.snapshot(0).eventCount, 0);
}

// Sets the server's layout while this test's client keeps the server's keyboard map alive.
void setLayout(const std::string& layout, const std::string& variant = {}) {
    const std::string command =
        "setxkbmap -layout " + layout + (variant.empty() ? "" : " -variant " + variant);
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

int keycodeNamed(const XKeyboardMap& map, const std::string& name) {
    for (std::size_t i = 0; i < map.names.size(); ++i) {
        if (map.names[i] == name) {
            return map.minKeycode + static_cast<int>(i);
        }
    }
    return 0;
}

TEST_F(RecordKeyboardHookTest, EveryKeyOfEveryLayoutHasACodeThatPlaysOnTheSameKey) {
    if (std::system("setxkbmap -version >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "needs setxkbmap";
    }
    std::vector<std::string> mainBlock(layoutKeyNames().begin(), layoutKeyNames().end());
    mainBlock.insert(mainBlock.end(),
                     {"SPCE", "TAB", "RTRN", "BKSP", "LFSH", "RTSH", "LCTL", "RCTL", "LALT", "RALT",
                      "ESC", "FK01", "FK12", "KP1", "KPDL"});
    const std::pair<std::string, std::string> layouts[] = {{"us", ""}, {"de", ""}, {"fr", ""},
                                                           {"ru", ""}, {"jp", ""}, {"us", "intl"}};
    for (const auto& [layout, variant] : layouts) {
        setLayout(layout, variant);
        const XKeyboardMap map = readKeyboardMap(display_);
        for (const std::string& name : mainBlock) {
            const int keycode = keycodeNamed(map, name);
            // A Japanese keyboard has no key beside the left Shift, nor keys that only it has
            // beside the others.
            if (keycode == 0 || (layout == "jp" && name == "LSGT") ||
                (layout != "jp" && (name == "AE13" || name == "AB11"))) {
                continue;
            }
            // The keypad's keys as digits, with Num Lock on: without it they are the arrows and
            // Home, End, ..., which play on those keys.
            const bool keypad = name.rfind("KP", 0) == 0;
            const std::uint8_t code = virtualKeyOfKeycode(map, keycode, 0, keypad);
            EXPECT_NE(code, 0) << layout << variant << " " << name;
            EXPECT_EQ(chooseKeycode(map, code), keycode) << layout << variant << " " << name;
        }
    }
    setLayout("us");
}

TEST_F(RecordKeyboardHookTest, GermanAndFrenchKeysPlayBackAsTheKeysPressedAltGrIncluded) {
    struct Case {
        std::string layout;
        std::vector<std::pair<std::string, int>> keys; // XKB name and the code it records as
    };
    const std::vector<Case> cases = {
        {"de",
         {{"TLDE", 0xDC},
          {"AE11", 0xDB},
          {"AD11", 0xBA},
          {"AC10", 0xC0},
          {"BKSL", 0xBF},
          {"LSGT", 0xE2},
          {"AD06", 0x5A},
          {"AE12", 0xDD}}},
        {"fr", {{"AD01", 0x41}, {"AE11", 0xDB}, {"AC11", 0xC0}, {"AB10", 0xDF}, {"TLDE", 0xDE}}},
    };
    for (const Case& c : cases) {
        setLayout(c.layout);
        const XKeyboardMap map = readKeyboardMap(display_);
        X11RecordKeyboardHook hook;
        MacroTable table;
        table.setCount(1);
        MacroEditorState editor;
        SystemClock clock;
        MacroRecorder recorder(table, editor, clock, &hook);
        recorder.toggle(0, c.layout);
        std::vector<unsigned int> typed;
        for (const auto& [name, code] : c.keys) {
            const auto keycode = static_cast<unsigned int>(keycodeNamed(map, name));
            ASSERT_NE(keycode, 0u) << name;
            typed.push_back(keycode);
            XTestFakeKeyEvent(display_, keycode, True, 0);
            XTestFakeKeyEvent(display_, keycode, False, 0);
            XSync(display_, False);
        }
        const int events = static_cast<int>(2 * c.keys.size());
        ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.recordedCount() >= events; }, 5000));
        recorder.toggle(0, c.layout);
        const MacroRecord record = table.snapshot(0);
        for (std::size_t k = 0; k < c.keys.size(); ++k) {
            EXPECT_EQ(record.event(static_cast<int>(2 * k)).code, c.keys[k].second)
                << c.layout << " " << c.keys[k].first;
        }

        receivedKeys(); // what the recording typed
        for (int k = 0; k < record.eventCount; ++k) {
            type(record.event(k).code, record.event(k).action == 1);
        }
        XSync(display_, False);
        std::vector<unsigned int> played;
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type == KeyPress) {
                played.push_back(event.xkey.keycode);
            }
        }
        EXPECT_EQ(played, typed) << c.layout;
    }

    // AltGr+Q recorded on a German keyboard plays as the same two keys, typing "@".
    setLayout("de");
    const std::uint8_t altGr = 0xA5;
    const std::uint8_t q = 0x51;
    receivedKeys();
    type(altGr, true);
    type(q, true);
    type(q, false);
    type(altGr, false);
    XSync(display_, False);
    std::string text;
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        char buffer[8] = {};
        if (event.type == KeyPress &&
            XLookupString(&event.xkey, buffer, sizeof buffer, nullptr, nullptr) > 0) {
            text += buffer;
        }
    }
    EXPECT_EQ(text, "@");
    setLayout("us");
}

} // namespace
} // namespace veldran
