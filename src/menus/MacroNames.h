// The names of the recorded macros as the macro category of the advanced function menu lists
// them: one per macro, in order, as many as the macro count (0 to 12).
#pragma once

#include "menus/MenuContext.h"

#include <QStringList>

namespace veldran {

class MacroTable;

QStringList macroNamesOf(const MacroTable& macros);

// A name source reading macros at each opening of the macro category; macros must outlive it.
MacroNameSource macroNameSource(const MacroTable& macros);

} // namespace veldran
