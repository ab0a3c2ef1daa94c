// Key capture through the X RECORD extension under a private X server: keys typed with XTest
// into another X client are handed on as keyboard messages and recorded, in order, with their
// pauses; outside a recording the server holds no recording context of ours and no capture
// thread runs.
// clang-format off
// gtest comes before Xlib, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>
// clang-format on

#include "config/MacroTable.h"
#include "macro/MacroRecorder.h"
#include "platform/Clock.h"
#include "platform/linux/X11RecordKeyboardHook.h"
#include "platform/linux/XTestInputSynth.h"

#include <QTest>
#include <X11/Xlib.h>
#include <X11/extensions/record.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

} // namespace
} // namespace veldran
