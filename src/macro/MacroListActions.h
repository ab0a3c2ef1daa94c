// The macro buttons of the advanced page: Add (a new macro, or select the one of that name),
// Delete (the selected macro) and Save (all macros to Macro.dat), on the macro table and the
// editor's name edit, name list and event list.
#pragma once

#include "config/MacroTable.h"

#include <QString>
#include <functional>

class QLineEdit;
class QListWidget;

namespace veldran {

class MacroStore;

// Longest name a macro takes, in UTF-16 units: what Macro.dat keeps of the record's name field
// (which has room for more), so that a name reads back after a restart as it was typed.
inline constexpr int kMacroNameMaxUnits = 10;

// The record's name up to its terminator.
QString macroName(const MacroRecord& record);
// name cut to what a macro keeps: 10 UTF-16 units, one less when the 10th would be the first
// half of a surrogate pair.
QString fittedMacroName(const QString& name);
// Stores fittedMacroName(name), terminated, the rest of the field zero.
void setMacroName(MacroRecord& record, const QString& name);

// Index of the first of records 0 to count - 1 whose name equals name exactly (code unit by
// code unit, case counts), or count when none does.
int FindMacroByName(const std::array<MacroRecord, kMacroRecordCount>& records, int count,
                    const QString& name);
int FindMacroByName(MacroTable& table, const QString& name);

class MacroListActions {
public:
    // nameEdit gives the name edit when an action needs it (the edit is made when first
    // needed); refreshEventList(m) fills the event list with the events of macro m.
    MacroListActions(MacroTable& table, std::function<QLineEdit&()> nameEdit, QListWidget& nameList,
                     QListWidget& eventList, std::function<void(int)> refreshEventList);

    // Adds the name typed in the name edit as a new macro without events, or selects the macro
    // that already has that name. Nothing with 12 macros or an empty name.
    void add();
    // Deletes the macro of the name list's current line and selects the line above it, and
    // returns its index. Nothing (-1) when no line is current.
    int remove();

private:
    MacroTable& table_;
    std::function<QLineEdit&()> nameEdit_;
    QListWidget& nameList_;
    QListWidget& eventList_;
    std::function<void(int)> refreshEventList_;
};

// Writes the macro count and all macros to Macro.dat. On failure, says so through message.
bool saveAllMacros(const MacroStore& store, const MacroTable& table,
                   const std::function<void(const QString&)>& message);

} // namespace veldran
