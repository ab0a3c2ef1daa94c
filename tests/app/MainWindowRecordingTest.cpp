// Recording a macro from the advanced page of the real main window (offscreen), with a fake key
// capture and clock: the Record element, the event list while recording, keys typed into the
// window itself, Enter during a recording, leaving the page, and the capture's lifetime.
#include "app/CQEL_GMouseDlg.h"
#include "app/MainWindowInput.h"
#include "app/MainWindowRig.h"
#include "macro/CEditableListBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace veldran {
namespace {

using namespace std::chrono_literals;

const QPoint kAdvancedTab(105, 5); // main element 10
const QPoint kMainTab(95, 5);      // main element 9
const QPoint kRecord(70, 110);
const QPoint kSaveMacros(100, 110);

class MainWindowRecordingTest : public ::testing::Test, protected testing::MainWindowRig {
protected:
    MainWindowRecordingTest() {
        skin.writeText("skin_main_en.ini", "[BUTTONPOS]\n9=main,90,0,10,10,,FALSE\n"
                                           "10=adv,100,0,10,10,,FALSE\n[FUN_STRING]\n1=x\n");
        skin.writeText("skin_color_en.ini", "[BUTTONPOS]\n0=opt,0,20,50,10,Breathing,FALSE\n");
        skin.writeText("skin_advance_en.ini", "[BUTTONPOS]\n19=rec,60,100,20,20,Record,FALSE\n"
                                              "20=save,90,100,20,20,Save,FALSE\n"
                                              "[EDIT]\n4=name,100,30,80,20,x,FALSE\n"
                                              "[MACRODISPLAY]\n1=list,100,60,80,30,,FALSE\n"
                                              "2=events,10,30,80,60,,FALSE\n");
        MacroTable stored;
        stored.setCount(2);
        stored.edit([](auto& records) {
            records[0].setName("One");
            records[1].setName("Two");
            records[1].eventCount = 2;
            records[1].setEvent(0, MacroEvent{0x43, 1, 90});
            records[1].setEvent(1, MacroEvent{0x43, 2, 0});
        });
        macroStore.write(stored);
    }
    ~MainWindowRecordingTest() override {
        dlg.reset();
        reader.stop();
    }

    void open(bool withMacros = true) {
        if (!withMacros) {
            macroStore.write(MacroTable{});
        }
        dlg = std::make_unique<CQEL_GMouseDlg>(services());
        app.setMainWindow(dlg.get());
        dlg->initialise();
        dlg->show();
        (void)QTest::qWaitForWindowExposed(dlg.get());
        // The start-up Apply sends nine reports; the mouse is open from then on.
        (void)QTest::qWaitFor([&] { return bus.sent().size() >= 9; }, 2000);
        click(kAdvancedTab);
    }
    void click(QPoint at) {
        QTest::mouseMove(dlg.get(), at);
        QTest::mousePress(dlg.get(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(dlg.get(), Qt::LeftButton, {}, at);
    }
    QListWidget& events() { return dlg->input().macroControls().eventList(); }
    QListWidget& names() { return dlg->input().macroControls().nameList(); }
    QStringList eventLines() {
        QStringList lines;
        for (int i = 0; i < events().count(); ++i) {
            lines.append(events().item(i)->text());
        }
        return lines;
    }

    // The status line as a paint writes it.
    QString statusLine() {
        dlg->repaintWindow();
        return state.skin.main[1].label;
    }
    void minimise() {
        dlg->showMinimized();
        QCoreApplication::processEvents();
    }

    // The Record element's text as the last paint wrote it.
    QString recordLabel() {
        dlg->repaintWindow();
        return state.skin.advanced[19].label;
    }

    std::unique_ptr<CQEL_GMouseDlg> dlg;
};

TEST_F(MainWindowRecordingTest, RecordTypeAndStopFillTheSelectedMacro) {
    open();
    ASSERT_EQ(names().currentRow(), 1);
    EXPECT_EQ(eventLines().size(), 3);
    EXPECT_FALSE(keyboardHook.active());

    click(kRecord);
    EXPECT_TRUE(state.macroEditor.recording);
    EXPECT_TRUE(keyboardHook.active());
    EXPECT_TRUE(eventLines().isEmpty()); // the old events are gone at once
    EXPECT_EQ(macros.snapshot(1).event(0), MacroEvent{});
    EXPECT_TRUE(events().hasFocus());

    keyboardHook.press(0xA0);
    clock.advance(120ms);
    keyboardHook.release(0xA0);
    EXPECT_EQ(eventLines(), (QStringList{"[Down]LSHIFT", "  120ms", "[Up  ]LSHIFT"}));
    EXPECT_EQ(events().currentRow(), 2); // the last line while recording

    click(kRecord);
    EXPECT_FALSE(state.macroEditor.recording);
    EXPECT_FALSE(keyboardHook.active());
    const MacroRecord record = macros.snapshot(1);
    EXPECT_EQ(record.eventCount, 2);
    EXPECT_EQ(record.nameUtf8(), "Two");
    EXPECT_EQ(record.event(0), (MacroEvent{0xA0, 1, 120}));
}

TEST_F(MainWindowRecordingTest, KeysTypedIntoTheWindowAreRecordedOnceAndEnterKeepsItOpen) {
    open();
    click(kRecord);
    // Each key comes from the capture and as the window's own key event, in either order; Shift
    // by its side from the capture and generically from the window. The capture alone counts.
    QTest::keyPress(&events(), Qt::Key_Shift);
    keyboardHook.press(0xA1);
    keyboardHook.press(0x0D);
    QTest::keyPress(&events(), Qt::Key_Return, Qt::ShiftModifier);
    clock.advance(30ms);
    QTest::keyRelease(&events(), Qt::Key_Return, Qt::ShiftModifier);
    keyboardHook.release(0x0D);
    QTest::keyRelease(&events(), Qt::Key_Shift);
    keyboardHook.release(0xA1);
    // A key the window sees and the capture does not (a synthesised one) is no key of the
    // session, and Ctrl+A reaches no control: no pause editor opens.
    QTest::keyClick(&events(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(events().findChild<QLineEdit*>(), nullptr);
    EXPECT_TRUE(dlg->isVisible());
    click(kRecord);

    const MacroRecord record = macros.snapshot(1);
    ASSERT_EQ(record.eventCount, 4);
    EXPECT_EQ(record.event(0).code, 0xA1);
    EXPECT_EQ(record.event(1), (MacroEvent{0x0D, 1, 30}));
    EXPECT_EQ(record.event(2), (MacroEvent{0x0D, 2, 0}));
    EXPECT_EQ(record.event(3), (MacroEvent{0xA1, 2, 0}));
}

TEST_F(MainWindowRecordingTest, FortyEventsShowSeventyNineLinesAndEndTheRecording) {
    open();
    click(kRecord);
    EXPECT_EQ(statusLine(), "Recording \"Two\": press Stop to end.");
    click(kMainTab); // the status line says so on every page
    EXPECT_EQ(statusLine(), "Recording \"Two\": press Stop to end.");
    click(kAdvancedTab);
    for (int i = 0; i < 20; ++i) {
        keyboardHook.press(static_cast<std::uint8_t>(0x41 + i));
        keyboardHook.release(static_cast<std::uint8_t>(0x41 + i));
    }
    EXPECT_EQ(events().count(), 79);
    EXPECT_FALSE(state.macroEditor.recording);
    EXPECT_FALSE(keyboardHook.active());
    EXPECT_EQ(recordLabel(), "Record");
    EXPECT_NE(statusLine(), "Recording \"Two\": press Stop to end.");
    EXPECT_EQ(macros.snapshot(1).eventCount, 40);

    // The next recording starts clean: a key pressed last before the limit is recorded again.
    click(kRecord);
    keyboardHook.press(0x54);
    ASSERT_EQ(events().count(), 1);
    minimise(); // minimising ends the recording as hiding does
    EXPECT_FALSE(state.macroEditor.recording);
    EXPECT_EQ(macros.snapshot(1).eventCount, 1);
}

TEST_F(MainWindowRecordingTest, RecordNeedsAChosenMacroAndSaveKeepsTheKeysSoFar) {
    open();
    names().clearSelection(); // Ctrl+click on the chosen name
    click(kRecord);
    EXPECT_FALSE(state.macroEditor.recording);
    EXPECT_EQ(statusLine(), "Choose the macro to record into first.");
    EXPECT_FALSE(keyboardHook.active());
    EXPECT_EQ(macros.snapshot(1).eventCount, 2); // no macro wiped

    names().setCurrentRow(1);
    EXPECT_NE(statusLine(), "Choose the macro to record into first.");
    click(kRecord);
    keyboardHook.press(0x41);
    keyboardHook.release(0x41);
    click(kSaveMacros);
    EXPECT_TRUE(state.macroEditor.recording);
    MacroTable saved;
    macroStore.read(macroStore.readCount(), saved);
    EXPECT_EQ(saved.snapshot(1).eventCount, 2);
    EXPECT_EQ(macros.snapshot(1).eventCount, 0); // counted when the recording ends
    click(kRecord);
}

TEST_F(MainWindowRecordingTest, LeavingThePageKeepsRecording) {
    open();
    click(kRecord);
    keyboardHook.press(0x44);
    click(kMainTab);
    ASSERT_EQ(state.pointer.page, SkinPage::Main);
    EXPECT_TRUE(keyboardHook.active());
    clock.advance(200ms);
    keyboardHook.release(0x44);

    click(kAdvancedTab);
    EXPECT_TRUE(state.macroEditor.recording);
    EXPECT_EQ(recordLabel(), "Stop");
    // Back on the page the list shows the recording so far, and goes on with its numbering.
    EXPECT_EQ(eventLines(), (QStringList{"[Down]D", "  200ms", "[Up  ]D"}));
    clock.advance(50ms);
    keyboardHook.press(0x45);
    EXPECT_EQ(eventLines(), (QStringList{"[Down]D", "  200ms", "[Up  ]D", "  50ms", "[Down]E"}));
    click(kRecord);
    EXPECT_EQ(recordLabel(), "Record");
    EXPECT_EQ(macros.snapshot(1).eventCount, 3);
    EXPECT_EQ(macros.snapshot(1).event(0), (MacroEvent{0x44, 1, 200}));
    EXPECT_EQ(eventLines(), (QStringList{"[Down]D", "  200ms", "[Up  ]D", "  50ms", "[Down]E"}));
    EXPECT_EQ(names().currentRow(), 1);
}

TEST_F(MainWindowRecordingTest, RecordWithoutMacrosOnlyMovesTheFocus) {
    open(false);
    ASSERT_EQ(names().count(), 0);
    click(kRecord);
    EXPECT_FALSE(state.macroEditor.recording);
    EXPECT_EQ(keyboardHook.starts, 0);
    EXPECT_TRUE(events().hasFocus());
}

TEST_F(MainWindowRecordingTest, TheWindowsEndRemovesARunningCapture) {
    open();
    click(kRecord);
    ASSERT_TRUE(keyboardHook.active());
    dlg.reset();
    EXPECT_FALSE(keyboardHook.active());
    EXPECT_EQ(keyboardHook.starts, keyboardHook.stops);
}

} // namespace
} // namespace veldran
