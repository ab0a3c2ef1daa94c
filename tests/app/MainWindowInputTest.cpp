// The pointer on the real main window (offscreen): what the chrome buttons load, save, send and
// hide, the advanced page's macro buttons and controls, dragging, and closing.
#include "app/MainWindowInput.h"

#include "app/CQEL_GMouseDlg.h"
#include "app/MainWindowRig.h"
#include "config/ProfileStore.h"
#include "fakes/FakePowerNotices.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace veldran {
namespace {

using testing::TinySkin;

// Main elements 2 to 16 are 10-pixel squares along the top edge; the advanced page's Add,
// Delete and Save sit at the bottom left.
std::string mainLayout() {
    std::string text = "[BUTTONPOS]\n";
    for (int i = 2; i <= 16; ++i) {
        text += std::to_string(i) + "=b," + std::to_string(i * 10) + ",0,10,10,,FALSE\n";
    }
    return text + "[FUN_STRING]\n1=Left Click\n";
}
QPoint mainAt(int i) {
    return {i * 10 + 5, 5};
}
const QPoint kAdd(10, 110);
const QPoint kDelete(30, 110);
const QPoint kSaveMacros(50, 110);
const QPoint kBackground(190, 60);

class MainWindowInputTest : public ::testing::Test, protected testing::MainWindowRig {
protected:
    MainWindowInputTest() {
        skin.writeText("skin_main_en.ini", mainLayout());
        skin.writeText("skin_color_en.ini", "[BUTTONPOS]\n0=opt,0,20,50,10,Breathing,FALSE\n");
        skin.writeText("skin_advance_en.ini", "[BUTTONPOS]\n17=add,0,100,20,20,Add,FALSE\n"
                                              "18=del,20,100,20,20,Delete,FALSE\n"
                                              "20=save,40,100,20,20,Save,FALSE\n"
                                              "[EDIT]\n4=name,100,30,80,20,x,FALSE\n"
                                              "[MACRODISPLAY]\n1=list,100,60,80,30,,FALSE\n"
                                              "2=events,10,30,80,60,,FALSE\n");
        skin.writeText("config.ini",
                       "[Init]\nCurConfig=2\n[Config1]\nWHEEL_STATUS=0\n"
                       "[Config2]\nWHEEL_STATUS=1\n[Config6]\nWHEEL_STATUS=1\n",
                       false);
        MacroTable stored;
        stored.setCount(3);
        stored.edit([](auto& records) {
            records[0].setName("One");
            records[1].setName("Two");
            records[2].setName("Combo");
        });
        macroStore.write(stored);

        dlg = std::make_unique<CQEL_GMouseDlg>(services());
        app.setMainWindow(dlg.get());
        dlg->initialise();
        dlg->move(100, 100);
        dlg->show();
        (void)QTest::qWaitForWindowExposed(dlg.get());
        // The start-up Apply sends nine reports.
        (void)QTest::qWaitFor([&] { return bus.sent().size() >= 9; }, 2000);
        sentAtStart = bus.sent().size();
    }
    ~MainWindowInputTest() override { reader.stop(); }

    void press(QPoint at) {
        QTest::mouseMove(dlg.get(), at);
        QTest::mousePress(dlg.get(), Qt::LeftButton, {}, at);
    }
    void release(QPoint at) {
        QTest::mouseMove(dlg.get(), at);
        QTest::mouseRelease(dlg.get(), Qt::LeftButton, {}, at);
    }
    void click(QPoint at) {
        press(at);
        release(at);
    }
    std::size_t newReports() const { return bus.sent().size() - sentAtStart; }
    int storedWheelMode(int n) {
        Profile profile;
        profiles.load(n, profile);
        return profile.wheelMode.load();
    }

    std::unique_ptr<CQEL_GMouseDlg> dlg;
    std::size_t sentAtStart = 0;
};

TEST_F(MainWindowInputTest, HoverFollowsThePointer) {
    QTest::mouseMove(dlg.get(), mainAt(7));
    EXPECT_EQ(state.pointer.mainHot, 7);
    QTest::mouseMove(dlg.get(), kBackground);
    EXPECT_EQ(state.pointer.mainHot, 255);
}

TEST_F(MainWindowInputTest, ProfileButtonsLoadWithoutSending) {
    click(mainAt(4));
    EXPECT_EQ(model.runtime.curConfig.load(), 1);
    EXPECT_EQ(model.profile.wheelMode.load(), 0);
    EXPECT_EQ(newReports(), 0u);
    EXPECT_EQ(profiles.readCurConfig(), 2); // selecting writes nothing
}

TEST_F(MainWindowInputTest, ApplyPressedAndReleasedOverSaveSavesAndSendsNothing) {
    model.profile.wheelMode = 0;
    press(mainAt(3));
    EXPECT_TRUE(state.pointer.buttonHeld);
    release(mainAt(15));
    EXPECT_FALSE(state.pointer.buttonHeld);
    EXPECT_EQ(storedWheelMode(2), 0);
    EXPECT_EQ(storedWheelMode(6), 1); // not applied
    EXPECT_EQ(newReports(), 0u);

    click(mainAt(3));
    EXPECT_GE(newReports(), 9u);
}

TEST_F(MainWindowInputTest, HideThatDiscardsReloadsConfig6AndHidesToTheTray) {
    model.profile.wheelMode = 0;
    dlg->input().tray().setNotificationAreaCheck([] { return true; });
    click(mainAt(2));
    EXPECT_EQ(model.profile.wheelMode.load(), 1);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(state.pointer.mainHot, 255);
    EXPECT_TRUE(dlg->input().tray().iconShown());
    EXPECT_EQ(newReports(), 0u);

    // The exit sequence takes the icon away.
    app.exitSequence();
    EXPECT_FALSE(dlg->input().tray().iconShown());
}

TEST_F(MainWindowInputTest, HideAndMinimiseLeaveNoHotButton) {
    // The offscreen platform has no notification area: hiding minimises the window.
    click(mainAt(13));
    EXPECT_TRUE(dlg->isMinimized());
    EXPECT_EQ(state.pointer.mainHot, 255);
    dlg->input().tray().showAndRestore();
    EXPECT_FALSE(dlg->isMinimized());

    click(mainAt(12));
    EXPECT_TRUE(dlg->isMinimized());
    EXPECT_EQ(state.pointer.mainHot, 255);
    EXPECT_FALSE(dlg->input().tray().iconShown());
}

TEST_F(MainWindowInputTest, DefaultsResetTheMouse) {
    click(mainAt(16));
    ASSERT_GE(newReports(), 1u);
    EXPECT_EQ(bus.sent().back().bytes[1], 0x20);
}

TEST_F(MainWindowInputTest, AdvancedPageMacroButtons) {
    click(mainAt(10));
    ASSERT_EQ(state.pointer.page, SkinPage::Advanced);
    MacroListControls& controls = dlg->input().macroControls();
    ASSERT_TRUE(controls.shown());
    EXPECT_EQ(controls.nameList().geometry(), QRect(100, 60, 80, 30));
    EXPECT_EQ(controls.nameList().count(), 3);
    EXPECT_EQ(controls.nameList().currentRow(), 2);
    EXPECT_EQ(controls.nameEdit().text(), "Combo");

    controls.nameEdit().setText("Fresh");
    click(kAdd);
    EXPECT_EQ(macros.count(), 4);
    EXPECT_EQ(controls.nameList().currentRow(), 3);
    click(kSaveMacros);
    EXPECT_EQ(macroStore.readCount(), 4);

    controls.nameList().setCurrentRow(0);
    click(kDelete);
    EXPECT_EQ(macros.count(), 3);
    EXPECT_EQ(macroStore.readCount(), 4); // deleting is in memory until saved

    click(mainAt(9));
    EXPECT_EQ(state.pointer.page, SkinPage::Main);
    EXPECT_FALSE(controls.shown());
}

TEST_F(MainWindowInputTest, DeletingAMacroMovesTheButtonsWithTheirMacrosNowAndInTheFileOnSave) {
    skin.writeText("config.ini",
                   "[Init]\nCurConfig=1\n[Config1]\nK2=41\nK3=43\nK4=42\n[Config6]\nK3=43\n",
                   false);
    model.profile.setCode(2, 41); // "One"
    model.profile.setCode(3, 43); // "Combo"
    model.profile.setCode(4, 42); // "Two"
    click(mainAt(10));
    MacroListControls& controls = dlg->input().macroControls();
    controls.nameList().setCurrentRow(1);
    click(kDelete); // "Two"
    EXPECT_EQ(model.profile.code(2), 41);
    EXPECT_EQ(model.profile.code(3), 42); // still "Combo"
    EXPECT_EQ(model.profile.code(4), 5);  // the button's factory function
    dlg->repaintWindow();
    EXPECT_EQ(state.skin.main[1].label, "Buttons changed with the macro: 3, 4.");

    // Apply writes the applied profile as it now is; Save macros renumbers the rest of the file.
    dlg->input().apply();
    auto stored = [&](int n, int slot) {
        Profile profile;
        ProfileStore(profiles.path()).load(n, profile);
        return profile.code(slot);
    };
    EXPECT_EQ(stored(6, 3), 42);
    EXPECT_EQ(stored(1, 3), 43); // until the macros are saved
    click(kSaveMacros);
    EXPECT_EQ(macroStore.readCount(), 2);
    EXPECT_EQ(stored(1, 2), 41);
    EXPECT_EQ(stored(1, 3), 42);
    EXPECT_EQ(stored(1, 4), 5);
    EXPECT_EQ(stored(6, 3), 42); // not moved twice
}

TEST_F(MainWindowInputTest, PressOnEmptyBackgroundDragsTheWindow) {
    const QPoint start = dlg->pos();
    press(kBackground);
    QTest::mouseMove(dlg.get(), kBackground + QPoint(30, 20));
    QTest::mouseRelease(dlg.get(), Qt::LeftButton, {}, kBackground);
    EXPECT_EQ(dlg->pos(), start + QPoint(30, 20));
}

TEST_F(MainWindowInputTest, ClosingEndsWithoutSendingAnything) {
    dlg->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return app.endPending(); }, 2000));
    EXPECT_EQ(newReports(), 0u);
    EXPECT_EQ(input.events().size(), 7u); // the exit sequence's Alt key-ups, nothing else
}

TEST_F(MainWindowInputTest, PowerNoticesApplyAgain) {
    fakes::FakePowerNotices notices;
    dlg->input().listenForPowerNotices(notices);
    notices.fire();
    EXPECT_GE(newReports(), 9u);
    EXPECT_EQ(bus.sent().back().bytes[1], 0x09); // Apply ends with the DPI report
    // Before a suspend the macros stop first, letting go of what they hold.
    MacroRecord holdsA;
    holdsA.eventCount = 1;
    holdsA.setEvent(0, {65, 1, 10});
    input.clear();
    reader.macroPlayer().press(0, holdsA, kRepeatLoop);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !input.events().empty(); }, 2000));
    notices.fire(PowerNotice::Suspending);
    EXPECT_FALSE(reader.macroPlayer().playing());
    EXPECT_EQ(input.events().back(), "up 65 1065");
    EXPECT_EQ(bus.sent().back().bytes[1], 0x09);
}

} // namespace
} // namespace veldran
