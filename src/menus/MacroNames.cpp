#include "menus/MacroNames.h"

#include "config/MacroTable.h"
#include "menus/MenuLayout.h"

namespace veldran {

QStringList macroNamesOf(const MacroTable& macros) {
    QStringList names;
    const int count = boundedMacroCount(macros.count());
    for (int i = 0; i < count; ++i) {
        names << QString::fromStdString(macros.snapshot(i).nameUtf8());
    }
    return names;
}

MacroNameSource macroNameSource(const MacroTable& macros) {
    return [&macros] { return macroNamesOf(macros); };
}

} // namespace veldran
