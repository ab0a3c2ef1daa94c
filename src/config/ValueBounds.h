// Guards for settings that name a table entry. config.ini may be edited by hand, so the DPI
// level, a stage's selection id and the light mode can hold any number; the settings keep such a
// number as it was read (and write it back unchanged), and every place that uses one of them to
// pick a stage, an element or a report field goes through these helpers first.
//
// The rule: the DPI level is clamped to the stages that exist (below 0 counts as 0, above 3 as 3),
// which is also what the mouse is sent; a selection id or a light mode that does not name one of
// the window's own choices names nothing, and the element is skipped.
#pragma once

#include "config/MacroRecord.h"
#include "config/Profile.h"

#include <cstdint>

namespace veldran {

// The DPI level as an index of a stage, 0 to 3.
constexpr int safeDpiLevel(std::int32_t level) {
    return level < 0 ? 0 : (level > kStageCount - 1 ? kStageCount - 1 : static_cast<int>(level));
}

// Whether id names one of the DPI choice elements of stage (1 to 4): 45 + 5 x (stage - 1) + code
// for the DPI codes 0 to 4 (code 4 is a resolution of its own although the window offers only 0
// to 3; its element exists and does nothing).
constexpr bool isValidSelectionId(int stage, std::int32_t id) {
    if (stage < 1 || stage > kStageCount) {
        return false;
    }
    const std::int32_t first = 45 + 5 * (stage - 1);
    return id >= first && id <= first + 4;
}

// Whether the light mode names one of the four light-mode choices.
constexpr bool isValidLightMode(std::int32_t lightMode) {
    return lightMode >= 0 && lightMode <= 3;
}

// Whether a macro index names one of the twelve macro records (the template is not a macro).
constexpr bool isValidMacroIndex(std::int32_t index) {
    return index >= 0 && index < kMaxMacros;
}

} // namespace veldran
