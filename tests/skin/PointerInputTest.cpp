// Pointer rules of the main window, driven without widgets: every effect is recorded by a fake
// PointerActions.
#include "skin/PointerInput.h"

#include "app/MainWindowState.h"
#include "config/MacroTable.h"
#include "config/Profile.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace veldran {
namespace {

class RecordingActions final : public PointerActions {
public:
    std::vector<std::string> calls;
    int nameLines = 0;

    void invalidate(Area area) override {
        calls.push_back(area == Area::Whole ? "invalidate" : "invalidate-region");
    }
    void repaintNow(Area area) override {
        calls.push_back(area == Area::Whole ? "repaint" : "repaint-region");
    }
    void apply() override { calls.push_back("apply"); }
    void defaults() override { calls.push_back("defaults"); }
    void load(int n) override { calls.push_back("load " + std::to_string(n)); }
    void chooseProfile(int n) override { calls.push_back("choose " + std::to_string(n)); }
    void save(int n) override { calls.push_back("save " + std::to_string(n)); }
    void hideToTray() override { calls.push_back("hide"); }
    void minimise() override { calls.push_back("minimise"); }
    void startDrag(QPoint pos) override {
        calls.push_back("drag " + std::to_string(pos.x()) + "," + std::to_string(pos.y()));
    }
    void openFunctionMenu(int element) override {
        calls.push_back("menu " + std::to_string(element));
    }
    void closeFunctionMenu() override { calls.push_back("close-menu"); }
    void createMacroControls() override { calls.push_back("create-controls"); }
    void destroyMacroControls() override { calls.push_back("destroy-controls"); }
    int macroNameLineCount() override { return nameLines; }
    void selectMacro(int line) override { calls.push_back("select " + std::to_string(line)); }
    void addMacro() override { calls.push_back("add"); }
    void deleteMacro() override { calls.push_back("delete"); }
    void toggleRecording() override { calls.push_back("record"); }
    void saveMacros() override { calls.push_back("save-macros"); }

    // Calls other than repaint requests.
    std::vector<std::string> effects() const {
        std::vector<std::string> out;
        for (const auto& call : calls) {
            if (call.rfind("invalidate", 0) != 0 && call.rfind("repaint", 0) != 0) {
                out.push_back(call);
            }
        }
        return out;
    }
    int count(const std::string& name) const {
        return static_cast<int>(std::count(calls.begin(), calls.end(), name));
    }
};

using Calls = std::vector<std::string>;

// Main element i sits in a grid of 10 columns of 40 x 30 pixels from (0, 0); color elements in a
// row at y 300 and advanced elements in a row at y 400, 30 pixels wide each.
class PointerInputTest : public ::testing::Test {
protected:
    PointerInputTest() {
        for (int i = 0; i < kMainElementCount; ++i) {
            state.skin.main[i] = Element{(i % 10) * 40, (i / 10) * 30, 40, 30, {}};
        }
        for (int i = 0; i < kColorElementCount; ++i) {
            state.skin.color[i] = Element{i * 30, 300, 30, 30, {}};
        }
        for (int i = 0; i < kAdvancedElementCount; ++i) {
            state.skin.advanced[i] = Element{i * 30, 400, 30, 30, {}};
        }
    }
    static QPoint mainAt(int i) { return {(i % 10) * 40 + 5, (i / 10) * 30 + 5}; }
    static QPoint colorAt(int i) { return {i * 30 + 5, 305}; }
    static QPoint advancedAt(int i) { return {i * 30 + 5, 405}; }
    static constexpr QPoint kEmpty{700, 700};

    void click(QPoint press, QPoint release) {
        input.moved(press);
        input.pressed(press);
        input.moved(release);
        input.released(release);
    }
    void click(QPoint at) { click(at, at); }
    void goTo(SkinPage page) { state.pointer.page = page; }

    MainWindowState state;
    ConfigModel model;
    MacroTable macros;
    RecordingActions actions;
    PointerInput input{state, state.macroEditor, model, macros, actions};
};

TEST(HitTest, LowerIndexWinsAndEdgesFollowTheRectangle) {
    std::array<Element, 3> table{Element{0, 0, 10, 10, {}}, Element{5, 5, 10, 10, {}},
                                 Element{20, 0, 0, 5, {}}};
    EXPECT_EQ(hitTest(table, 2, {7, 7}), 0);
    EXPECT_EQ(hitTest(table, 2, {10, 10}), 1); // right and bottom edges belong outside
    EXPECT_EQ(hitTest(table, 2, {14, 14}), 1);
    EXPECT_EQ(hitTest(table, 2, {15, 15}), 255);
    EXPECT_EQ(hitTest(table, 2, {20, 2}), 255);  // an empty rectangle holds no point
    EXPECT_EQ(hitTest(table, 0, {12, 12}), 255); // beyond the last index
    EXPECT_EQ(hitTest(table, 99, {12, 12}), 1);  // a last index past the table is bounded
}

TEST_F(PointerInputTest, HoverRepaintsOnlyOnAChangeAndRunsEveryTable) {
    EXPECT_EQ(state.pointer.mainHot, 0); // until the pointer first moves
    input.moved(mainAt(20));
    EXPECT_EQ(state.pointer.mainHot, 20);
    EXPECT_EQ(actions.calls, Calls{"repaint"});
    input.moved(mainAt(20) + QPoint(3, 3));
    EXPECT_EQ(actions.calls.size(), 1u);

    // The color table is tested on the main page too.
    actions.calls.clear();
    input.moved(colorAt(2));
    EXPECT_EQ(state.pointer.mainHot, 255);
    EXPECT_EQ(state.pointer.colorHot, 2);
    EXPECT_EQ(actions.calls, (Calls{"repaint", "repaint"}));

    // Elements 65 to 69 never become hot.
    input.moved(mainAt(66));
    EXPECT_EQ(state.pointer.mainHot, 255);
}

TEST_F(PointerInputTest, OffTheMainPageOnlyTheChromeIsHotAndTheAdvancedPageRepaintsItsRegion) {
    goTo(SkinPage::Advanced);
    input.moved(mainAt(16));
    EXPECT_EQ(state.pointer.mainHot, 16);
    input.moved(mainAt(17));
    EXPECT_EQ(state.pointer.mainHot, 255);
    input.moved(advancedAt(20));
    EXPECT_EQ(state.pointer.advancedHot, 20);
    EXPECT_EQ(actions.count("repaint"), 0);
    EXPECT_EQ(actions.count("repaint-region"), 3);
}

TEST_F(PointerInputTest, ApplyPressedAndReleasedOverSaveSavesWithoutApplying) {
    model.runtime.curConfig = 2;
    click(mainAt(3), mainAt(15));
    EXPECT_EQ(actions.effects(), Calls{"save 2"});
    EXPECT_FALSE(state.pointer.buttonHeld);

    actions.calls.clear();
    click(mainAt(3), kEmpty);
    EXPECT_EQ(actions.effects(), Calls{});
}

TEST_F(PointerInputTest, ButtonHeldFromAPressOverAnElementUntilTheRelease) {
    input.moved(mainAt(3));
    input.pressed(mainAt(3));
    EXPECT_TRUE(state.pointer.buttonHeld);
    EXPECT_EQ(actions.calls.back(), "invalidate");
    input.released(mainAt(3));
    EXPECT_FALSE(state.pointer.buttonHeld);
    EXPECT_EQ(actions.effects(), Calls{"apply"});
}

TEST_F(PointerInputTest, APressOnTheCurrentTabOnlyLooksPressed) {
    click(mainAt(9));
    EXPECT_EQ(state.pointer.page, SkinPage::Main);
    EXPECT_EQ(actions.effects(), Calls{});

    goTo(SkinPage::Color);
    click(mainAt(11));
    EXPECT_EQ(state.pointer.page, SkinPage::Color);
    goTo(SkinPage::Advanced);
    click(mainAt(10));
    EXPECT_EQ(state.pointer.page, SkinPage::Advanced);
    EXPECT_EQ(actions.effects(), Calls{});
}

TEST_F(PointerInputTest, ColorPagePressOnChromeNeitherDragsNorChangesTheLight) {
    goTo(SkinPage::Color);
    model.profile.lightMode = 2;
    input.moved(mainAt(3));
    input.pressed(mainAt(3));
    EXPECT_EQ(actions.effects(), Calls{});
    EXPECT_EQ(model.profile.lightMode.load(), 2);

    input.moved(colorAt(1));
    input.pressed(colorAt(1));
    EXPECT_EQ(model.profile.lightMode.load(), 1);
    input.moved(colorAt(5));
    input.pressed(colorAt(5));
    EXPECT_EQ(model.profile.lightMode.load(), 1);

    input.moved(kEmpty);
    input.pressed(kEmpty);
    EXPECT_EQ(actions.effects(), Calls{"drag 700,700"});
}

TEST_F(PointerInputTest, MainPagePressOverAnotherPagesTableStillDrags) {
    input.moved(advancedAt(12));
    ASSERT_EQ(state.pointer.mainHot, 255);
    actions.calls.clear();
    input.pressed(advancedAt(12));
    EXPECT_TRUE(state.pointer.buttonHeld);
    EXPECT_EQ(actions.calls, (Calls{"invalidate", "drag 365,405"}));
}

TEST_F(PointerInputTest, ProfileButtonsChooseTheirProfile) {
    click(mainAt(5));
    click(mainAt(8));
    EXPECT_EQ(actions.effects(), (Calls{"choose 2", "choose 5"}));
}

TEST_F(PointerInputTest, HideButtonsMinimiseAndDefaults) {
    model.runtime.curConfig = 3;
    click(mainAt(2));
    EXPECT_EQ(state.pointer.mainHot, 255);
    EXPECT_EQ(model.runtime.curConfig.load(), 3);
    click(mainAt(13));
    EXPECT_EQ(state.pointer.mainHot, 255);
    click(mainAt(12));
    EXPECT_EQ(state.pointer.mainHot, 255);
    click(mainAt(16));
    EXPECT_EQ(actions.effects(), (Calls{"load 6", "hide", "hide", "minimise", "defaults"}));
}

TEST_F(PointerInputTest, MainPageSettings) {
    click(mainAt(33));
    EXPECT_EQ(model.profile.wheelMode.load(), 1);
    click(mainAt(32));
    EXPECT_EQ(model.profile.wheelMode.load(), 0);
    click(mainAt(43));
    EXPECT_EQ(model.profile.dpiLevel.load(), 2);

    model.profile.stages[2].codeInForce = 1;
    click(mainAt(57));
    EXPECT_EQ(model.profile.stages[2].selectionId.load(), 57);
    EXPECT_EQ(model.profile.stages[2].editedCode.load(), 2);
    EXPECT_EQ(model.profile.stages[2].codeInForce.load(), 1); // in force only on Apply
    click(mainAt(63));
    EXPECT_EQ(model.profile.stages[3].selectionId.load(), 63);
    EXPECT_EQ(model.profile.stages[3].editedCode.load(), 3);

    // The gaps between the stages' choices are no choices.
    click(mainAt(49));
    click(mainAt(54));
    EXPECT_EQ(model.profile.stages[0].selectionId.load(), 0);
    EXPECT_EQ(model.profile.stages[1].selectionId.load(), 0);
    EXPECT_EQ(actions.effects(), Calls{});
}

TEST_F(PointerInputTest, FunctionMenuOpensPerFieldAndEveryMainPressClosesIt) {
    click(mainAt(19));
    EXPECT_TRUE(state.functionMenu.menuOpen);
    EXPECT_EQ(state.functionMenu.targetSlot, 19);
    click(mainAt(26));
    EXPECT_EQ(state.functionMenu.targetSlot, 26);
    click(mainAt(30));
    EXPECT_FALSE(state.functionMenu.menuOpen);
    EXPECT_EQ(actions.effects(), (Calls{"menu 19", "close-menu", "menu 26", "close-menu"}));
}

TEST_F(PointerInputTest, EnteringTheAdvancedPageLimitsTheSelectionOnlyFromTheMainPage) {
    macros.setCount(3);
    actions.nameLines = 3;
    state.macroEditor.selectedMacro = 7;
    click(mainAt(10));
    EXPECT_EQ(state.pointer.page, SkinPage::Advanced);
    EXPECT_EQ(state.macroEditor.selectedMacro, 2);
    EXPECT_EQ(actions.effects(), (Calls{"create-controls", "select 2"}));

    actions.calls.clear();
    click(mainAt(11));
    EXPECT_EQ(state.pointer.page, SkinPage::Color);
    state.macroEditor.selectedMacro = 7;
    click(mainAt(10));
    EXPECT_EQ(actions.effects(), (Calls{"destroy-controls", "create-controls", "select 7"}));
}

TEST_F(PointerInputTest, EnteringTheAdvancedPageWithoutMacrosSelectsNothing) {
    click(mainAt(10));
    EXPECT_EQ(actions.effects(), Calls{"create-controls"});
    EXPECT_EQ(actions.calls[2], "invalidate-region");
}

TEST_F(PointerInputTest, AdvancedPageMacroElementsAndDrag) {
    goTo(SkinPage::Advanced);
    for (int element : {17, 18, 19, 20, 5}) {
        click(advancedAt(element));
    }
    input.moved(kEmpty);
    input.pressed(kEmpty);
    // A chrome element without a press action does not drag.
    input.moved(mainAt(3));
    input.pressed(mainAt(3));
    EXPECT_EQ(actions.effects(), (Calls{"add", "delete", "record", "save-macros", "drag 700,700"}));
}

} // namespace
} // namespace veldran
