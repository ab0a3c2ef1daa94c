// Recording the keys typed into one of the program's own windows, as a session without the key
// capture does (an X server without RECORD): a Qt window of this test under the private X server
// gets real keys typed with XTest, with the server's own auto-repeat and keyboard layouts, and
// hands them to a recorder without a capture the way the main window does.
#include "config/MacroTable.h"
#include "macro/MacroRecorder.h"
#include "macro/WindowKeyMessages.h"
#include "platform/Clock.h"
#include "platform/linux/X11DetectableAutoRepeat.h"
#include "platform/linux/X11KeyMap.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

namespace veldran {
namespace {

// A window whose keys go to a recorder, each named by its key in the keyboard map.
class TypingWindow final : public QWidget {
public:
    TypingWindow(MacroRecorder& recorder, const X11KeyMap& keys)
        : recorder_(recorder), keys_(keys) {}

protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const auto message = windowKeyMessage(
                *key, keys_.virtualKey(key->nativeScanCode(), key->nativeModifiers()));
            if (message) {
                recorder_.recordKey(*message, MacroRecorder::Source::Window);
            }
            return true;
        }
        return QWidget::event(event);
    }

private:
    MacroRecorder& recorder_;
    const X11KeyMap& keys_;
};

// Runs a program and keeps the event loop turning until it ends, so that the window takes each
// key as it comes (the recorded pauses are measured as the keys arrive).
void runLive(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    ASSERT_TRUE(process.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 10000));
    QTest::qWait(200);
}

class WindowKeyRecordingTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QLatin1String("xcb") ||
            QStandardPaths::findExecutable("xdotool").isEmpty() ||
            QStandardPaths::findExecutable("setxkbmap").isEmpty()) {
            GTEST_SKIP() << "needs an X server, xdotool and setxkbmap";
        }
    }
    void TearDown() override {
        if (!IsSkipped()) {
            QProcess::execute("setxkbmap", {"us"}); // the layout the other tests type with
        }
    }

    // The (code, action) pairs of record 0.
    std::vector<std::pair<int, int>> recorded() const {
        std::vector<std::pair<int, int>> pairs;
        const MacroRecord record = table.snapshot(0);
        for (int k = 0; k < record.eventCount; ++k) {
            pairs.emplace_back(record.event(k).code, record.event(k).action);
        }
        return pairs;
    }

    MacroTable table;
    MacroEditorState editor;
    SystemClock clock;
    X11KeyMap keys;
};

TEST_F(WindowKeyRecordingTest, HeldAndShiftedKeysRecordTheKeysThemselvesOnEveryLayout) {
    ASSERT_TRUE(enableDetectableAutoRepeat());
    table.setCount(1);
    MacroRecorder recorder(table, editor, clock, nullptr);
    TypingWindow window(recorder, keys);
    window.setGeometry(100, 100, 200, 100);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    runLive("xdotool", {"windowfocus", "--sync", QString::number(window.winId())});

    // US layout: K held for 1.5 s (the server repeats it), then Shift+1 and Shift+/.
    ASSERT_TRUE(readApplicationKeyMap(keys));
    recorder.toggle(0, "Typed");
    runLive("xdotool", {"keydown", "k", "sleep", "1.5", "keyup", "k"});
    runLive("xdotool", {"key", "shift+1", "shift+slash"});
    // French layout: the key 1 gives "&" without Shift; it is still the key 1.
    runLive("setxkbmap", {"fr"});
    ASSERT_TRUE(readApplicationKeyMap(keys));
    runLive("xdotool", {"key", "ampersand"});
    recorder.toggle(0, "Typed");

    // (xdotool lets go of Shift first.)
    const std::vector<std::pair<int, int>> expected = {{0x4B, 1}, {0x4B, 2}, {0x10, 1}, {0x31, 1},
                                                       {0x10, 2}, {0x31, 2}, {0x10, 1}, {0xBF, 1},
                                                       {0x10, 2}, {0xBF, 2}, {0x31, 1}, {0x31, 2}};
    EXPECT_EQ(recorded(), expected);
    ASSERT_GE(table.snapshot(0).eventCount, 1);
    EXPECT_NEAR(table.snapshot(0).event(0).pause, 1500, 100); // the hold, in one pause
}

} // namespace
} // namespace veldran
