// The macro editor end to end: the driver runs against the virtual mouse under a private X server;
// real pointer events (xdotool) open the advanced page, choose a macro, open the event list's
// context menu and choose "Apagar item" and "Modificar Delay" from it; a pause typed over its line
// and the Save button then reach Macro.dat. Keys typed during a recording, and the ways a
// recording ends, are checked in the saved bytes and in the driver's threads.
#include "e2e/DriverRig.h"
#include "macro/MacroControlStyle.h"

#include <QGuiApplication>
#include <QImage>
#include <QListWidget>
#include <QScreen>
#include <vector>

namespace {

using namespace veldran::testing;

// The value of key in the [Macros] section of a Macro.dat text.
QString macroValue(const QString& text, const QString& key) {
    for (const QString& line : text.split('\n')) {
        if (line.startsWith(key + '=')) {
            return line.mid(key.size() + 1).trimmed();
        }
    }
    return {};
}

class MacroEditorEndToEndTest : public DriverRig {
protected:
    void SetUp() override {
        DriverRig::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        advancedLayout = readText(dir.path() + "/skins/skin_advance_en.ini");
        ASSERT_FALSE(advancedLayout.isEmpty());
    }

    static QString readText(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    QString macroFile() { return readText(dir.path() + "/Macro.dat"); }

    // The pointer to a point of the window, and a button pressed and released there.
    void pointAt(QPoint at) {
        run("xdotool",
            {"mousemove", "--window", window, QString::number(at.x()), QString::number(at.y())});
        QTest::qWait(150);
    }
    void clickAt(QPoint at, int button = 1) {
        pointAt(at);
        run("xdotool", {"click", QString::number(button)});
        QTest::qWait(400);
    }
    // A click on row `row` of the context menu that opened at the pointer: rows are 20 pixels
    // high below the menu's 1-pixel frame.
    void chooseMenuRow(QPoint menuAt, int row) { clickAt(menuAt + QPoint(30, 1 + 20 * row + 10)); }

    // The recorded events of a saved record: (code, action, pause) for each counted event.
    struct Event {
        int code;
        int action;
        int pause;
    };
    static std::vector<Event> savedEvents(const QString& record) {
        std::vector<Event> events;
        const int count = record.mid(60, 3).toInt();
        for (int k = 0; k < count; ++k) {
            const QString e = record.mid(63 + 12 * k, 12);
            events.push_back({e.mid(0, 3).toInt(), e.mid(3, 3).toInt(),
                              e.mid(6, 3).toInt() + 256 * e.mid(9, 3).toInt()});
        }
        return events;
    }
    // The (code, action) pairs of a saved record's events.
    static std::vector<std::pair<int, int>> keyActions(const QString& record) {
        std::vector<std::pair<int, int>> pairs;
        for (const Event& e : savedEvents(record)) {
            pairs.emplace_back(e.code, e.action);
        }
        return pairs;
    }
    // The record of the default Macro.dat under key.
    static QString originalMacro(const char* key) {
        return macroValue(readText(env("VELDRAN_SOURCE_DIR") + "/resources/Macro.dat"), key);
    }
    // Presses "Save macros" and waits until the record under key differs from the default one.
    bool saveMacrosChanging(const char* key) {
        clickAt(skinRect(advancedLayout, "BUTTONPOS", 20).center());
        return QTest::qWaitFor([&] { return macroValue(macroFile(), key) != originalMacro(key); },
                               3000);
    }

    // The centre of line k of the event list, from the lines' height in the editor's look.
    QPoint eventLineCentre(int k) {
        QListWidget probe;
        veldran::applyMacroControlStyle(probe);
        probe.addItem(QStringLiteral("[Down]SHIFT"));
        const int line = probe.sizeHintForRow(0);
        EXPECT_GT(line, 0);
        return skinRect(advancedLayout, "MACRODISPLAY", 2).topLeft() +
               QPoint(40, 2 + line * k + line / 2);
    }

    // Threads of the driver that the key capture runs.
    int driverCaptureThreads() {
        int n = 0;
        const QString tasks = QStringLiteral("/proc/%1/task").arg(driver.processId());
        for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            n += readText(tasks + '/' + task + "/comm").trimmed() == "key-capture" ? 1 : 0;
        }
        return n;
    }

    QString advancedLayout;
};

TEST_F(MacroEditorEndToEndTest, HeldModifiedAndFastKeysRecordOnceInOrderThenSave) {
    clickAt(skinRect(layout, "BUTTONPOS", 10).center()); // the Macros tab
    const QRect names = skinRect(advancedLayout, "MACRODISPLAY", 1);
    clickAt(names.topLeft() + QPoint(30, 6)); // "Hello"
    const QPoint record = skinRect(advancedLayout, "BUTTONPOS", 19).center();
    clickAt(record);
    ASSERT_TRUE(QTest::qWaitFor([&] { return driverCaptureThreads() == 1; }, 3000));

    run("xdotool", {"keydown", "k", "sleep", "1.5", "keyup", "k"});
    run("xdotool", {"keydown", "shift", "key", "a", "keyup", "shift"});
    run("xdotool", {"type", "--delay", "1", "abcdefghij"});
    // Ctrl+A and Enter go into the macro; no pause editor opens and no other macro changes.
    run("xdotool", {"key", "ctrl+a", "Return"});
    QTest::qWait(500);
    clickAt(record); // Stop
    EXPECT_EQ(driverCaptureThreads(), 0);
    ASSERT_TRUE(saveMacrosChanging("0"));

    // K held for 1.5 s: one press with the true pause, one release. Then Shift+A, ten letters 1 ms
    // apart, and Ctrl+A, Enter (xdotool lets go of Ctrl first); each key once and in order.
    const std::vector<Event> events = savedEvents(macroValue(macroFile(), "0"));
    ASSERT_EQ(events.size(), 32u);
    EXPECT_NEAR(events[0].pause, 1500, 100);
    std::vector<std::pair<int, int>> expected = {{0x4B, 1}, {0x4B, 2}, {0xA0, 1},
                                                 {0x41, 1}, {0x41, 2}, {0xA0, 2}};
    for (int letter = 0x41; letter <= 0x4A; ++letter) {
        expected.insert(expected.end(), {{letter, 1}, {letter, 2}});
    }
    expected.insert(expected.end(),
                    {{0xA2, 1}, {0x41, 1}, {0xA2, 2}, {0x41, 2}, {0x0D, 1}, {0x0D, 2}});
    EXPECT_EQ(keyActions(macroValue(macroFile(), "0")), expected);
    for (const char* other : {"1", "2"}) {
        EXPECT_EQ(macroValue(macroFile(), other), originalMacro(other)) << other;
    }
}

TEST_F(MacroEditorEndToEndTest, DeletingTheMacroOrHidingTheWindowEndsTheCapture) {
    clickAt(skinRect(layout, "BUTTONPOS", 10).center()); // the Macros tab
    const QRect names = skinRect(advancedLayout, "MACRODISPLAY", 1);
    const QPoint record = skinRect(advancedLayout, "BUTTONPOS", 19).center();
    clickAt(names.topLeft() + QPoint(30, 6));
    clickAt(record);
    ASSERT_TRUE(QTest::qWaitFor([&] { return driverCaptureThreads() == 1; }, 3000));
    clickAt(skinRect(advancedLayout, "BUTTONPOS", 18).center()); // Delete
    EXPECT_TRUE(QTest::qWaitFor([&] { return driverCaptureThreads() == 0; }, 3000));

    clickAt(names.topLeft() + QPoint(30, 6));
    clickAt(record);
    ASSERT_TRUE(QTest::qWaitFor([&] { return driverCaptureThreads() == 1; }, 3000));
    clickAt(skinRect(layout, "BUTTONPOS", 13).center()); // hide
    EXPECT_TRUE(QTest::qWaitFor([&] { return driverCaptureThreads() == 0; }, 3000));
}

TEST_F(MacroEditorEndToEndTest, AfterAPageChangeDuringARecordingTheMenuDeletesTheLineUnderIt) {
    const QPoint macrosTab = skinRect(layout, "BUTTONPOS", 10).center();
    const QPoint record = skinRect(advancedLayout, "BUTTONPOS", 19).center();
    clickAt(macrosTab);
    clickAt(skinRect(advancedLayout, "MACRODISPLAY", 1).topLeft() + QPoint(30, 6)); // "Hello"
    clickAt(record);
    run("xdotool", {"type", "--delay", "80", "ab"});
    clickAt(skinRect(layout, "BUTTONPOS", 9).center()); // the buttons page, and back
    clickAt(macrosTab);
    clickAt(record); // Stop

    // Event k is on line 2k: line 4 is "[Down]B". "Apagar item" is the menu's fifth row.
    const QPoint bDown = eventLineCentre(4);
    clickAt(bDown, 3);
    chooseMenuRow(bDown, 4);
    ASSERT_TRUE(saveMacrosChanging("0"));
    const std::vector<std::pair<int, int>> expected = {{0x41, 1}, {0x41, 2}, {0x42, 2}};
    EXPECT_EQ(keyActions(macroValue(macroFile(), "0")), expected);
}

TEST_F(MacroEditorEndToEndTest, GoingOntoAListLeavesNoElementHot) {
    clickAt(skinRect(layout, "BUTTONPOS", 10).center()); // the Macros tab
    const QRect record = skinRect(advancedLayout, "BUTTONPOS", 19);
    // Pixels of the button's label written in the hot red, as the screen shows them.
    const auto redPixels = [&] {
        const QRect onScreen = record.translated(windowPosition());
        const QImage shot =
            QGuiApplication::primaryScreen()
                ->grabWindow(0, onScreen.x(), onScreen.y(), onScreen.width(), onScreen.height())
                .toImage();
        int n = 0;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                const QRgb c = shot.pixel(x, y);
                n += qRed(c) > 160 && qGreen(c) < 60 && qBlue(c) < 60 ? 1 : 0;
            }
        }
        return n;
    };
    pointAt(record.center());
    ASSERT_GT(redPixels(), 10);
    pointAt(skinRect(advancedLayout, "MACRODISPLAY", 2).center()); // the event list
    EXPECT_EQ(redPixels(), 0);
}

TEST_F(MacroEditorEndToEndTest, DeleteAndEditAPauseFromTheContextMenuThenSave) {
    // The default Macro.dat: macro 0 "Hello" is SHIFT-down, 20 ms, H-down, 25 ms, H-up, ...
    const QString before = macroValue(macroFile(), "0");
    ASSERT_EQ(before.mid(60, 3), "012");

    clickAt(skinRect(layout, "BUTTONPOS", 10).center()); // the Macros tab
    const QRect names = skinRect(advancedLayout, "MACRODISPLAY", 1);
    ASSERT_FALSE(skinRect(advancedLayout, "MACRODISPLAY", 2).isEmpty());
    clickAt(names.topLeft() + QPoint(30, 6)); // the first name: "Hello"

    // Delete the first event (SHIFT-down): "Apagar item" is the menu's fifth row.
    const QPoint first = eventLineCentre(0);
    clickAt(first, 3);
    chooseMenuRow(first, 4);

    // Edit the pause after the new first event (H-down, 25 ms): "Modificar Delay", the fourth row.
    const QPoint pause = eventLineCentre(1);
    clickAt(pause, 3);
    chooseMenuRow(pause, 3);
    run("xdotool", {"type", "--delay", "50", "250"});
    run("xdotool", {"key", "Return"});
    QTest::qWait(300);

    EXPECT_EQ(macroValue(macroFile(), "0"), before); // in memory until saved
    ASSERT_TRUE(saveMacrosChanging("0"));
    const QString after = macroValue(macroFile(), "0");
    SCOPED_TRACE(after.left(120).toStdString());
    EXPECT_EQ(after.left(60), before.left(60));       // the name
    EXPECT_EQ(after.mid(60, 3), "011");               // one event fewer
    EXPECT_EQ(after.mid(63, 12), "072001250000");     // H-down, then 250 ms
    EXPECT_EQ(after.mid(75, 12), before.mid(87, 12)); // H-up and its pause, one place back
    EXPECT_EQ(macroValue(macroFile(), "1"), originalMacro("1"));
}

TEST_F(MacroEditorEndToEndTest, OnlyPausesAreEditedAndOnlyWithWhatAPauseHolds) {
    clickAt(skinRect(layout, "BUTTONPOS", 10).center()); // the Macros tab
    clickAt(skinRect(advancedLayout, "MACRODISPLAY", 1).topLeft() + QPoint(30, 6)); // "Hello"
    const QString before = macroValue(macroFile(), "0");

    // Ctrl+A on an event line opens no editor; Enter stores nothing.
    clickAt(eventLineCentre(0));
    run("xdotool", {"key", "ctrl+a", "Return"});
    QTest::qWait(300);
    // A pause the record cannot hold is refused and the field stays open; Escape leaves it.
    const QPoint pause = eventLineCentre(1);
    clickAt(pause, 3);
    chooseMenuRow(pause, 3); // "Modificar Delay"
    run("xdotool", {"type", "--delay", "50", "70000"});
    run("xdotool", {"key", "Return"});
    QTest::qWait(300);
    run("xdotool", {"type", "--delay", "50", "9"});
    run("xdotool", {"key", "Escape"});
    QTest::qWait(300);
    // "Apagar item" on a pause line clears that pause and keeps every event.
    clickAt(pause, 3);
    chooseMenuRow(pause, 4);
    ASSERT_TRUE(saveMacrosChanging("0"));
    const QString after = macroValue(macroFile(), "0");
    EXPECT_EQ(after.mid(60, 3), "012");
    EXPECT_EQ(after.mid(63, 12), "016001000000"); // SHIFT-down, then 0 ms
    EXPECT_EQ(after.mid(75), before.mid(75));
}

TEST_F(MacroEditorEndToEndTest, FortyEventsEndTheRecordingAndTheNextStartsCleanAndSavesAsItGoes) {
    clickAt(skinRect(layout, "BUTTONPOS", 10).center()); // the Macros tab
    const QRect names = skinRect(advancedLayout, "MACRODISPLAY", 1);
    const QPoint record = skinRect(advancedLayout, "BUTTONPOS", 19).center();
    // Without a chosen macro Record records nothing and wipes nothing.
    clickAt(names.topLeft() + QPoint(30, 6));
    run("xdotool", {"keydown", "ctrl", "click", "1", "keyup", "ctrl"}); // deselects "Hello"
    QTest::qWait(300);
    clickAt(record);
    EXPECT_EQ(driverCaptureThreads(), 0);

    clickAt(names.topLeft() + QPoint(30, 6));
    clickAt(record);
    ASSERT_TRUE(QTest::qWaitFor([&] { return driverCaptureThreads() == 1; }, 3000));
    // Z held, 19 keys and the press of T: the 40th event, a press, ends the recording.
    run("xdotool", {"keydown", "z"});
    run("xdotool", {"type", "--delay", "20", "abcdefghijklmnopqrs"});
    run("xdotool", {"keydown", "t"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return driverCaptureThreads() == 0; }, 3000));
    run("xdotool", {"keyup", "t", "keyup", "z"});
    ASSERT_TRUE(saveMacrosChanging("0"));
    const std::vector<Event> forty = savedEvents(macroValue(macroFile(), "0"));
    ASSERT_EQ(forty.size(), 40u);
    EXPECT_EQ(forty[39].code, 0x54);
    EXPECT_EQ(forty[39].action, 1);

    // The next recording records that key's press again; Save during it keeps what came so far.
    clickAt(record);
    ASSERT_TRUE(QTest::qWaitFor([&] { return driverCaptureThreads() == 1; }, 3000));
    run("xdotool", {"key", "t"});
    QTest::qWait(300);
    clickAt(skinRect(advancedLayout, "BUTTONPOS", 20).center()); // Save macros
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return savedEvents(macroValue(macroFile(), "0")).size() == 2; }, 3000));
    const std::vector<std::pair<int, int>> expected = {{0x54, 1}, {0x54, 2}};
    EXPECT_EQ(keyActions(macroValue(macroFile(), "0")), expected);
    clickAt(record); // Stop
}

TEST_F(MacroEditorEndToEndTest, ANameIsAsLongAsMacroDatKeepsIt) {
    clickAt(skinRect(layout, "BUTTONPOS", 10).center()); // the Macros tab
    const QRect nameEdit = skinRect(advancedLayout, "EDIT", 4);
    clickAt(nameEdit.center());
    run("xdotool", {"key", "ctrl+a", "BackSpace"});
    run("xdotool", {"type", "--delay", "20", "ABCDEFGHIJKLMNOPQRS"});
    clickAt(skinRect(advancedLayout, "BUTTONPOS", 17).center()); // Add
    // A name that differs only after the tenth character is the same macro, as after a restart.
    clickAt(nameEdit.center());
    run("xdotool", {"key", "ctrl+a", "BackSpace"});
    run("xdotool", {"type", "--delay", "20", "ABCDEFGHIJXYZ"});
    clickAt(skinRect(advancedLayout, "BUTTONPOS", 17).center());
    clickAt(skinRect(advancedLayout, "BUTTONPOS", 20).center()); // Save macros
    ASSERT_TRUE(QTest::qWaitFor([&] { return !macroValue(macroFile(), "3").isEmpty(); }, 3000));
    EXPECT_EQ(macroValue(macroFile(), "macroNum"), "4");
    EXPECT_EQ(macroValue(macroFile(), "3").left(60),
              "065000066000067000068000069000070000071000072000073000074000"); // ABCDEFGHIJ
}

} // namespace
