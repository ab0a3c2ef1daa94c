// The macro editor on the real main window (offscreen): choosing a macro shows its events and
// pauses; a right-button release over the event list (through the window, as the window system
// delivers it) picks the line and opens the context menu, whose commands insert, delete and edit
// pauses in the macro table; entering and leaving the advanced page.
#include "app/CQEL_GMouseDlg.h"
#include "app/MainWindowInput.h"
#include "app/MainWindowRig.h"
#include "macro/CEditableListBox.h"
#include "macro/CQelMenu.h"

#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace veldran {
namespace {

// The tabs along the top edge; the editor's controls below them.
std::string mainLayout() {
    std::string text = "[BUTTONPOS]\n";
    for (int i = 9; i <= 11; ++i) {
        text += std::to_string(i) + "=tab," + std::to_string(i * 10) + ",0,10,10,,FALSE\n";
    }
    return text + "[FUN_STRING]\n1=Left Click\n";
}
QPoint tab(int i) {
    return {i * 10 + 5, 5};
}

class MacroEditorTest : public ::testing::Test, protected testing::MainWindowRig {
protected:
    MacroEditorTest() {
        skin.writeText("skin_main_en.ini", mainLayout());
        skin.writeText("skin_color_en.ini", "[BUTTONPOS]\n0=opt,0,300,50,10,x,FALSE\n");
        skin.writeText("skin_advance_en.ini", "[BUTTONPOS]\n17=add,0,300,20,20,Add,FALSE\n"
                                              "[EDIT]\n4=name,200,30,100,20,x,FALSE\n"
                                              "[MACRODISPLAY]\n1=list,200,60,100,80,,FALSE\n"
                                              "2=events,10,30,150,240,,FALSE\n");
        skin.writeText("config.ini", "[Init]\nCurConfig=1\n", false);
        MacroTable stored;
        stored.setCount(3);
        stored.edit([](auto& records) {
            records[0].setName("Tap"); // A-down, 120 ms, A-up
            records[0].eventCount = 2;
            records[0].setEvent(0, {0x41, 1, 120});
            records[0].setEvent(1, {0x41, 2, 0});
            records[1].setName("Combo"); // A-down, 120 ms, B-down, 80 ms, B-up
            records[1].eventCount = 3;
            records[1].setEvent(0, {0x41, 1, 120});
            records[1].setEvent(1, {0x42, 1, 80});
            records[1].setEvent(2, {0x42, 2, 0});
            records[2].setName("Empty");
        });
        macroStore.write(stored);

        dlg = std::make_unique<CQEL_GMouseDlg>(services());
        app.setMainWindow(dlg.get());
        dlg->initialise();
        dlg->show();
        (void)QTest::qWaitForWindowExposed(dlg.get());
        editor().setMenuChooser([this](QPoint) {
            ++menusShown;
            return nextCommand;
        });
    }
    ~MacroEditorTest() override { reader.stop(); }

    MacroListEditor& editor() { return dlg->input().macroEditor(); }
    MacroListControls& controls() { return dlg->input().macroControls(); }
    CEditableListBox& events() { return controls().eventList(); }

    void click(QPoint at) {
        // A move to where the pointer already is (the last test's window stood here) is no move.
        QTest::mouseMove(dlg.get(), at + QPoint(1, 1));
        QTest::mouseMove(dlg.get(), at);
        QTest::mouseClick(dlg.get(), Qt::LeftButton, {}, at);
    }
    void enterAdvanced() { click(tab(10)); }
    // The user's click on line m of the name list.
    void pick(int m) {
        QListWidget& names = controls().nameList();
        QTest::mouseClick(names.viewport(), Qt::LeftButton, {},
                          names.visualItemRect(names.item(m)).center());
    }
    QStringList lines() {
        QStringList out;
        for (int i = 0; i < events().count(); ++i) {
            out << events().item(i)->text();
        }
        return out;
    }
    // A right-click at a point of the event list's lines area, delivered to the window.
    void rightClickAt(QPoint inList) {
        rightClickInWindow(events().viewport()->mapTo(dlg.get(), inList));
    }
    void rightClickInWindow(QPoint at) {
        state.macroEditor.lineCountAtMenu = -1;
        QTest::mouseClick(dlg->windowHandle(), Qt::RightButton, {}, at);
        (void)QTest::qWaitFor([&] { return state.macroEditor.lineCountAtMenu != -1; }, 1000);
        QTest::qWait(10); // the chosen command runs from the event loop
    }
    void rightClickLine(int line, int command) {
        nextCommand = command;
        rightClickAt(QPoint(20, line * events().lineHeight() + events().lineHeight() / 2));
    }
    MacroRecord record(int m) { return macros.snapshot(m); }
    std::vector<MacroEvent> eventsOf(int m) {
        const MacroRecord r = record(m);
        std::vector<MacroEvent> out;
        for (int k = 0; k < r.eventCount; ++k) {
            out.push_back(r.event(k));
        }
        return out;
    }

    std::unique_ptr<CQEL_GMouseDlg> dlg;
    int menusShown = 0;
    int nextCommand = 0;
};

TEST_F(MacroEditorTest, ChoosingAMacroShowsItsEventsAndPausesByClickOrKeyboard) {
    enterAdvanced();
    EXPECT_EQ(controls().nameEdit().text(), "Empty");      // the last macro, selected at start
    EXPECT_EQ(dlg->focusWidget(), &controls().nameEdit()); // a name can be typed at once
    EXPECT_EQ(events().count(), 0);

    pick(1);
    EXPECT_EQ(state.macroEditor.selectedMacro, 1);
    EXPECT_EQ(controls().nameEdit().text(), "Combo");
    EXPECT_EQ(lines(), (QStringList{"[Down]A", "  120ms", "[Down]B", "  80ms", "[Up  ]B"}));
    EXPECT_EQ(events().selectedLine(), 0); // the selected event line

    QTest::keyClick(&controls().nameList(), Qt::Key_Up);
    EXPECT_EQ(controls().nameEdit().text(), "Tap");
    EXPECT_EQ(lines(), (QStringList{"[Down]A", "  120ms", "[Up  ]A"}));

    // The name edit takes no more than Macro.dat keeps of a name.
    controls().nameEdit().clear();
    QTest::keyClicks(&controls().nameEdit(), "A name longer than the field");
    EXPECT_EQ(controls().nameEdit().text(), "A name lon");
}

TEST_F(MacroEditorTest, InsertAndDeleteFromTheContextMenu) {
    enterAdvanced();
    pick(0);
    rightClickLine(2, kCmdRightUp); // on A-up
    EXPECT_EQ(menusShown, 1);
    EXPECT_EQ(eventsOf(0), (std::vector<MacroEvent>{{0x41, 1, 120}, {0xF1, 2, 0}, {0x41, 2, 0}}));
    EXPECT_EQ(lines(), (QStringList{"[Down]A", "  120ms", "[Up  ]Right_Key", "  0ms", "[Up  ]A"}));
    EXPECT_EQ(events().selectedLine(), 4); // moved down by 2

    rightClickLine(2, kCmdLeftDown); // the left press alone keeps the line
    EXPECT_EQ(events().selectedLine(), 2);
    EXPECT_EQ(events().item(2)->text(), "[Down]Left_Key");

    pick(1);
    rightClickLine(3, kCmdDeleteItem); // the pause after B-down becomes 0; no event goes
    EXPECT_EQ(eventsOf(1), (std::vector<MacroEvent>{{0x41, 1, 120}, {0x42, 1, 0}, {0x42, 2, 0}}));
    EXPECT_EQ(lines(), (QStringList{"[Down]A", "  120ms", "[Down]B", "  0ms", "[Up  ]B"}));
    EXPECT_EQ(events().selectedLine(), 3);
    rightClickLine(2, kCmdDeleteItem); // an event line deletes the event
    EXPECT_EQ(eventsOf(1), (std::vector<MacroEvent>{{0x41, 1, 120}, {0x42, 2, 0}}));
    EXPECT_EQ(events().selectedLine(), 0); // 2 - 2
    EXPECT_EQ(macroStore.readCount(), 3);  // nothing written until Save
}

TEST_F(MacroEditorTest, AnEmptyListShowsTheMenuAndBelowTheLastLineNoMenu) {
    enterAdvanced();
    rightClickLine(5, kCmdLeftDown); // macro 2 has no events
    EXPECT_EQ(menusShown, 1);
    EXPECT_EQ(eventsOf(2), (std::vector<MacroEvent>{{0xF0, 1, 0}}));
    EXPECT_EQ(lines(), QStringList{"[Down]Left_Key"});

    pick(0);
    rightClickLine(9, kCmdDeleteItem); // below the three lines
    EXPECT_EQ(menusShown, 1);
    EXPECT_EQ(state.macroEditor.selectedEventLine, 9);
    EXPECT_EQ(events().selectedLine(), -1);
    EXPECT_EQ(eventsOf(0).size(), 2u);
    pick(1);
    EXPECT_EQ(events().count(), 5);
    EXPECT_EQ(events().selectedLine(), -1); // the refresh finds no line 9

    // A release beside the list selects the line at its height, without a menu.
    nextCommand = kCmdDeleteItem;
    const QPoint beside = events().mapTo(dlg.get(), QPoint(events().width() + 20, 0));
    rightClickInWindow(beside +
                       QPoint(0, events().viewport()->y() + events().lineHeight() * 5 / 2));
    EXPECT_EQ(menusShown, 1);
    EXPECT_EQ(events().selectedLine(), 2);
    EXPECT_EQ(eventsOf(1).size(), 3u);
}

TEST_F(MacroEditorTest, TheLineUnderThePointerCountsTheLinesScrolledAway) {
    macros.edit([](auto& records) {
        records[2].eventCount = 40;
        for (int k = 0; k < 40; ++k) {
            records[2].setEvent(k, {0x41, static_cast<std::uint8_t>(k % 2 + 1), 10});
        }
    });
    enterAdvanced();
    EXPECT_EQ(events().count(), 79);
    events().verticalScrollBar()->setValue(10);
    rightClickLine(2, kCmdDeleteItem); // the third visible line is line 12
    EXPECT_EQ(state.macroEditor.menuLine, 12);
    EXPECT_EQ(state.macroEditor.menuEvent, 6);
    EXPECT_EQ(record(2).eventCount, 39);
    EXPECT_EQ(state.macroEditor.selectedEventLine, 10);
}

TEST_F(MacroEditorTest, AppendedLinesSelectTheLastLineOnlyWhileRecording) {
    enterAdvanced();
    pick(1);
    events().clear();
    state.macroEditor.selectedEventLine = 0;
    editor().AppendEventLines(1, 0);
    editor().AppendEventLines(1, 1);
    EXPECT_EQ(lines(), (QStringList{"[Down]A", "  120ms", "[Down]B"}));
    EXPECT_EQ(events().selectedLine(), 0);
    state.macroEditor.recording = true;
    editor().AppendEventLines(1, 2);
    EXPECT_EQ(lines().size(), 5);
    EXPECT_EQ(events().selectedLine(), 4);
    state.macroEditor.recording = false;
}

TEST_F(MacroEditorTest, ModifyDelayEditsOnlyPauseLinesAndStoresWhatIsTyped) {
    enterAdvanced();
    pick(0);
    rightClickLine(0, kCmdModifyDelay); // an event line
    EXPECT_FALSE(events().editing());

    rightClickLine(1, kCmdModifyDelay);
    ASSERT_TRUE(events().editing());
    QLineEdit* edit = events().editor();
    EXPECT_EQ(edit->text(), "  120ms");
    EXPECT_EQ(edit->selectedText(), "  120ms");
    QTest::keyClicks(edit, "250");
    QTest::keyClick(edit, Qt::Key_Return); // the press is the window's, the release ends
    EXPECT_FALSE(events().editing());
    EXPECT_EQ(record(0).event(0).pause, 250);
    EXPECT_EQ(events().item(1)->text(), "  250ms");

    rightClickLine(1, kCmdModifyDelay);
    QTest::keyClicks(events().editor(), "999");
    QTest::keyClick(events().editor(), Qt::Key_Escape);
    EXPECT_EQ(record(0).event(0).pause, 250);
    EXPECT_EQ(events().item(1)->text(), "  250ms");
    EXPECT_TRUE(dlg->isVisible());

    rightClickLine(1, kCmdModifyDelay);
    QTest::keyClicks(events().editor(), "251");
    controls().nameEdit().setFocus(); // clicking elsewhere keeps the text
    EXPECT_FALSE(events().editing());
    EXPECT_EQ(record(0).event(0).pause, 251);
    EXPECT_EQ(events().item(1)->text(), "  251ms");

    // Numbers the pause cannot hold, and text, are refused: Enter leaves the field open, leaving
    // it drops the text.
    for (const char* refused : {"70000", "65536", "-5", "abc"}) {
        rightClickLine(1, kCmdModifyDelay);
        ASSERT_TRUE(events().editing());
        QTest::keyClicks(events().editor(), refused);
        QTest::keyClick(events().editor(), Qt::Key_Return);
        EXPECT_TRUE(events().editing()) << refused;
        controls().nameEdit().setFocus();
        EXPECT_FALSE(events().editing());
        EXPECT_EQ(record(0).event(0).pause, 251) << refused;
    }
    rightClickLine(1, kCmdModifyDelay);
    QTest::keyClicks(events().editor(), "65535");
    QTest::keyClick(events().editor(), Qt::Key_Return);
    EXPECT_EQ(record(0).event(0).pause, 65535);

    // Ctrl+A opens no editor over an event line.
    events().setFocus();
    events().setCurrentRow(0);
    QTest::keyClick(&events(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(events().editing());
    EXPECT_EQ(lines(), (QStringList{"[Down]A", "  65535ms", "[Up  ]A"}));
}

TEST_F(MacroEditorTest, DoubleClickOnAPauseLineEditsIt) {
    enterAdvanced();
    pick(1);
    const auto doubleClickLine = [&](int line) {
        const QPoint at = events().viewport()->mapTo(
            dlg.get(), events().visualItemRect(events().item(line)).center());
        QTest::mouseDClick(dlg->windowHandle(), Qt::LeftButton, {}, at);
        QTest::qWait(50);
    };
    doubleClickLine(2);
    EXPECT_FALSE(events().editing());
    doubleClickLine(3);
    ASSERT_TRUE(events().editing());
    QTest::keyClicks(events().editor(), "40");
    QTest::keyClick(events().editor(), Qt::Key_Return);
    EXPECT_EQ(record(1).event(1).pause, 40);
    EXPECT_EQ(record(1).event(0).pause, 120);
}

TEST_F(MacroEditorTest, CommandsDoNothingWhileRecordingOrWithoutAMacro) {
    enterAdvanced();
    pick(0);
    state.macroEditor.recording = true;
    rightClickLine(0, kCmdRightDown);
    rightClickLine(1, kCmdModifyDelay);
    state.macroEditor.recording = false;
    EXPECT_EQ(eventsOf(0).size(), 2u);
    EXPECT_FALSE(events().editing());

    controls().nameList().clearSelection();
    rightClickLine(0, kCmdDeleteItem);
    EXPECT_EQ(state.macroEditor.menuMacro, -1);
    EXPECT_EQ(eventsOf(0).size(), 2u);
}

TEST_F(MacroEditorTest, EnteringThePageLimitsTheSelectionOnlyFromTheMainPage) {
    state.macroEditor.selectedMacro = 7;
    enterAdvanced();
    EXPECT_EQ(state.macroEditor.selectedMacro, 2);
    EXPECT_EQ(controls().nameList().currentRow(), 2);

    click(tab(11)); // to the color page
    EXPECT_FALSE(controls().shown());
    state.macroEditor.selectedMacro = 7;
    click(tab(10));
    EXPECT_EQ(state.macroEditor.selectedMacro, 7);
    EXPECT_EQ(events().count(), 0);

    click(tab(11));
    state.macroEditor.selectedMacro = 1;
    state.macroEditor.selectedEventLine = 2;
    click(tab(10));
    EXPECT_EQ(controls().nameEdit().text(), "Combo");
    EXPECT_EQ(events().count(), 5);
    EXPECT_EQ(events().selectedLine(), 2);
}

TEST_F(MacroEditorTest, LeavingThePageWhileEditingKeepsTheTypedPause) {
    enterAdvanced();
    pick(1);
    rightClickLine(3, kCmdModifyDelay);
    ASSERT_TRUE(events().editing());
    QTest::keyClicks(events().editor(), "500");
    click(tab(9));
    EXPECT_FALSE(controls().shown());
    EXPECT_EQ(record(1).event(1).pause, 500);
    EXPECT_EQ(state.macroEditor.menuMacro, 1);
}

} // namespace
} // namespace veldran
