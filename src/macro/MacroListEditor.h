// The macro editor on the advanced page: showing the chosen macro's events and pauses in the
// event list, the context menu that a right-button release over the list opens, its eight
// commands (mouse-button inserts, delete, "Modificar Delay") and the storing of a pause edited in
// place. Every change goes through the macro table, in memory only; Save writes Macro.dat.
#pragma once

#include "config/MacroTable.h"
#include "skin/MacroEditorState.h"

#include <QObject>
#include <QPoint>
#include <functional>

namespace veldran {

class CQelMenu;
class MacroListControls;
class MacroRecorder;

class MacroListEditor {
public:
    // Shows the context menu at a screen position and returns the command chosen from it, or 0
    // when the menu closed without a choice.
    using MenuChooser = std::function<int(QPoint globalPos)>;

    // The context menu is contextMenu's pop-up, shown modally at the pointer.
    MacroListEditor(MacroTable& table, MacroEditorState& state, MacroListControls& controls,
                    CQelMenu& contextMenu);

    // The recorder whose recording the event list shows while one runs.
    void setRecorder(const MacroRecorder* recorder) { recorder_ = recorder; }

    // Replaces the way the context menu is shown (tests choose a command without a pop-up).
    void setMenuChooser(MenuChooser chooser) { chooseFromMenu_ = std::move(chooser); }

    // The name list's selection became the selected macro: its name goes into the name edit and
    // its events into the event list. Nothing without a selection.
    void OnMacroSelected();
    // Empties the event list and fills it with the lines of macro m (none for a macro that is
    // not in use), then selects as AppendEventLines does. While a recording runs the list shows
    // the record being recorded instead, with the events recorded so far, so that the lines the
    // recording appends follow on with the usual numbering.
    void RefreshEventList(int m);
    // Appends the lines of event k of macro m (the pause before it, then the event) and selects
    // the last line while recording, otherwise the selected event line (no selection when that
    // line does not exist).
    void AppendEventLines(int m, int k);

    // A right-button release anywhere on the advanced page, at a screen position: selects the
    // line under the pointer, shows the context menu when the pointer is over a line of the list
    // (or over an empty list), and takes the menu's targets once it has closed. The chosen
    // command runs once control is back in the event loop.
    void RightButtonReleased(QPoint globalPos);
    // One of the eight commands of the context menu; nothing while recording or without a macro.
    // "Apagar item" on a pause line sets that pause to 0.
    void RunCommand(int command);
    // The in-place editor has closed: the edited line (the list's selection) becomes the pause
    // after its event in the macro the list shows, and the list is drawn again. A repeat stores
    // the same.
    void OnEditClosed();
    // A double-click on a pause line edits it, as "Modificar Delay" on that line would.
    void EditPauseLine(int line);
    // Ends an open in-place edit, keeping the typed text (before the macros move or go).
    void finishEditing();

private:
    bool macroInUse(int m) const;
    void insertEvent(std::uint8_t code, std::uint8_t action, bool advanceSelection);
    void deleteEvent();
    void clearPause();
    void modifyDelay();
    void selectAfterAppend();
    int nameListSelection() const;
    int showMenu(QPoint globalPos);

    MacroTable& table_;
    MacroEditorState& state_;
    MacroListControls& controls_;
    CQelMenu& contextMenu_;
    MenuChooser chooseFromMenu_;
    const MacroRecorder* recorder_ = nullptr;
    int shownMacro_ = -1; // the macro whose lines the event list holds
    bool menuOpen_ = false;
    QObject pending_; // context of the commands waiting in the event loop: they go with the editor
};

} // namespace veldran
