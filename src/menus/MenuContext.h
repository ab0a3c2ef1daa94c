// What the two function menu windows work with: the main window state (skin folder, function-name
// table, the shared function menu state), the working profile that receives the chosen code, and
// where the names of the recorded macros come from.
#pragma once

#include "config/Profile.h"
#include "skin/SkinWindowState.h"

#include <QStringList>
#include <functional>

namespace veldran {

// Names of the recorded macros, in order; their number is the macro count.
using MacroNameSource = std::function<QStringList()>;

struct MenuContext {
    SkinWindowState& state;
    Profile& profile;
    MacroNameSource macroNames;

    FunctionMenuState& menu() const { return state.functionMenu; }
    // Writes code into ButtonSlot (target slot - 16); a target outside the slot fields writes
    // nothing. Returns whether a slot was written.
    bool writeTargetCode(int code) const;
};

} // namespace veldran
