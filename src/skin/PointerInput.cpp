#include "skin/PointerInput.h"

#include "config/MacroTable.h"
#include "config/Profile.h"

#include <algorithm>

namespace veldran {

namespace {

// Main elements with a role on the pointer.
constexpr int kHideDiscarding = 2;
constexpr int kApply = 3;
constexpr int kFirstProfileButton = 4;
constexpr int kLastProfileButton = 8;
constexpr int kMainTab = 9;
constexpr int kAdvancedTab = 10;
constexpr int kColorTab = 11;
constexpr int kMinimise = 12;
constexpr int kHide = 13;
constexpr int kSave = 15;
constexpr int kDefaults = 16;
constexpr int kFirstSlotField = 17;
constexpr int kLastSlotField = 26;
constexpr int kWheelMode0 = 32;
constexpr int kWheelMode1 = 33;
constexpr int kFirstDpiLevel = 41;
constexpr int kLastDpiLevel = 44;
constexpr int kFirstDpiChoice = 45; // four choices per stage, stages five elements apart
constexpr int kDpiChoicesPerStage = 4;
constexpr int kDpiStageStride = 5;

// Hit test limits: the main page's elements, the chrome on the other pages.
constexpr int kLastMainPageElement = 64;
constexpr int kLastChromeElement = 16;
constexpr int kLastColorElement = 6;
constexpr int kLastAdvancedElement = 20;

// Color elements 0 to 3 choose the light mode.
constexpr int kLastLightMode = 3;

// Advanced elements of the macro editor.
constexpr int kAddMacro = 17;
constexpr int kDeleteMacro = 18;
constexpr int kRecord = 19;
constexpr int kSaveMacros = 20;

} // namespace

std::uint8_t hitTest(std::span<const Element> table, int lastIndex, QPoint point) {
    const int last = std::min(lastIndex, static_cast<int>(table.size()) - 1);
    for (int i = 0; i <= last; ++i) {
        if (table[static_cast<std::size_t>(i)].contains(point.x(), point.y())) {
            return static_cast<std::uint8_t>(i);
        }
    }
    return kNoElement;
}

PointerInput::PointerInput(SkinWindowState& state, MacroEditorState& editor, ConfigModel& model,
                           const MacroTable& macros, PointerActions& actions)
    : state_(state), editor_(editor), pointer_(state.pointer), model_(model), macros_(macros),
      actions_(actions) {}

void PointerInput::moved(QPoint pos) {
    const SkinTables& skin = state_.skin;
    const int lastMain =
        pointer_.page == SkinPage::Main ? kLastMainPageElement : kLastChromeElement;
    setHot(hitTest(skin.main, lastMain, pos), hitTest(skin.color, kLastColorElement, pos),
           hitTest(skin.advanced, kLastAdvancedElement, pos));
}

void PointerInput::movedOntoControl() {
    setHot(kNoElement, kNoElement, kNoElement);
}

void PointerInput::setHot(std::uint8_t mainHot, std::uint8_t colorHot, std::uint8_t advancedHot) {
    pointer_.mainHot = mainHot;
    pointer_.colorHot = colorHot;
    pointer_.advancedHot = advancedHot;

    // Each change repaints at once, so hover feedback never waits for the event queue.
    const auto area = pointer_.page == SkinPage::Advanced ? PointerActions::Area::PaintRegion
                                                          : PointerActions::Area::Whole;
    const std::pair<std::uint8_t, std::uint8_t*> hots[] = {
        {pointer_.mainHot, &pointer_.previousMainHot},
        {pointer_.colorHot, &pointer_.previousColorHot},
        {pointer_.advancedHot, &pointer_.previousAdvancedHot},
    };
    for (const auto& [hot, previous] : hots) {
        if (hot != *previous) {
            actions_.repaintNow(area);
            *previous = hot;
        }
    }
}

void PointerInput::pressed(QPoint pos) {
    if (pointer_.mainHot != kNoElement || pointer_.colorHot != kNoElement ||
        pointer_.advancedHot != kNoElement) {
        pointer_.buttonHeld = true;
        actions_.invalidate(PointerActions::Area::Whole);
    }
    switch (pointer_.page) {
    case SkinPage::Main:
        pressOnMain(pos);
        break;
    case SkinPage::Advanced:
        pressOnAdvanced(pos);
        break;
    case SkinPage::Color:
        pressOnColor(pos);
        break;
    }
}

void PointerInput::pressOnMain(QPoint pos) {
    FunctionMenuState& menu = state_.functionMenu;
    if (menu.menuOpen) {
        actions_.closeFunctionMenu();
        menu.menuOpen = false;
    }
    const int hot = pointer_.mainHot;
    Profile& profile = model_.profile;
    if (hot == kAdvancedTab) {
        enterAdvanced(true);
    } else if (hot == kColorTab) {
        pointer_.page = SkinPage::Color;
        actions_.invalidate(PointerActions::Area::Whole);
    } else if (hot >= kFirstSlotField && hot <= kLastSlotField) {
        menu.targetSlot = hot;
        actions_.openFunctionMenu(hot);
        menu.menuOpen = true;
    } else if (hot == kWheelMode0 || hot == kWheelMode1) {
        profile.wheelMode.store(hot - kWheelMode0);
    } else if (hot >= kFirstDpiLevel && hot <= kLastDpiLevel) {
        profile.dpiLevel.store(hot - kFirstDpiLevel);
    } else if (hot == kNoElement) {
        actions_.startDrag(pos);
    } else {
        chooseDpi(hot);
    }
}

void PointerInput::chooseDpi(int element) {
    const int offset = element - kFirstDpiChoice;
    if (offset < 0) {
        return;
    }
    const int stage = offset / kDpiStageStride;
    const int code = offset % kDpiStageStride;
    if (stage >= kStageCount || code >= kDpiChoicesPerStage) {
        return;
    }
    DpiStage& dpiStage = model_.profile.stages[static_cast<std::size_t>(stage)];
    dpiStage.selectionId.store(element);
    dpiStage.editedCode.store(code);
}

void PointerInput::pressOnAdvanced(QPoint pos) {
    if (pointer_.mainHot == kMainTab || pointer_.mainHot == kColorTab) {
        actions_.destroyMacroControls();
        pointer_.page = pointer_.mainHot == kMainTab ? SkinPage::Main : SkinPage::Color;
        actions_.invalidate(PointerActions::Area::Whole);
        return;
    }
    switch (pointer_.advancedHot) {
    case kAddMacro:
        actions_.addMacro();
        break;
    case kDeleteMacro:
        actions_.deleteMacro();
        break;
    case kRecord:
        actions_.toggleRecording();
        break;
    case kSaveMacros:
        actions_.saveMacros();
        break;
    case kNoElement:
        if (pointer_.mainHot == kNoElement) {
            actions_.startDrag(pos);
        }
        break;
    default:
        break;
    }
}

void PointerInput::pressOnColor(QPoint pos) {
    if (pointer_.mainHot == kMainTab) {
        pointer_.page = SkinPage::Main;
        actions_.invalidate(PointerActions::Area::Whole);
    } else if (pointer_.mainHot == kAdvancedTab) {
        enterAdvanced(false);
    } else if (pointer_.colorHot <= kLastLightMode) {
        model_.profile.lightMode.store(pointer_.colorHot);
    } else if (pointer_.colorHot == kNoElement && pointer_.mainHot == kNoElement) {
        actions_.startDrag(pos);
    }
}

void PointerInput::enterAdvanced(bool limitSelection) {
    pointer_.page = SkinPage::Advanced;
    actions_.invalidate(PointerActions::Area::PaintRegion);
    actions_.createMacroControls();
    actions_.repaintNow(PointerActions::Area::PaintRegion);
    if (macros_.count() == 0) {
        return;
    }
    MacroEditorState& editor = editor_;
    if (limitSelection) {
        const int lastLine = std::max(actions_.macroNameLineCount() - 1, 0);
        editor.selectedMacro = std::min(editor.selectedMacro, lastLine);
    }
    actions_.selectMacro(editor.selectedMacro);
}

void PointerInput::releasedElsewhere() {
    pointer_.buttonHeld = false;
    actions_.invalidate(PointerActions::Area::Whole);
}

void PointerInput::released(QPoint) {
    pointer_.buttonHeld = false;
    actions_.invalidate(PointerActions::Area::Whole);
    const int hot = pointer_.mainHot;
    if (hot == kHideDiscarding) {
        pointer_.mainHot = kNoElement;
        actions_.load(kAppliedProfile);
        actions_.hideToTray();
        actions_.invalidate(PointerActions::Area::Whole);
    } else if (hot == kApply) {
        actions_.apply();
    } else if (hot >= kFirstProfileButton && hot <= kLastProfileButton) {
        actions_.chooseProfile(hot - kFirstProfileButton + 1);
        actions_.invalidate(PointerActions::Area::Whole);
    } else if (hot == kMinimise) {
        pointer_.mainHot = kNoElement;
        actions_.minimise();
    } else if (hot == kHide) {
        pointer_.mainHot = kNoElement;
        actions_.hideToTray();
    } else if (hot == kSave) {
        actions_.save(model_.runtime.curConfig.load());
    } else if (hot == kDefaults) {
        actions_.defaults();
    }
}

} // namespace veldran
