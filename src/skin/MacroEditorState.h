// State of the macro editor, kept by the main window for the whole run and across page changes:
// the macro and event line the editor shows, what the last right-button release on the advanced
// page chose as the context menu's targets, and the recording flag. The macro count itself lives
// in the macro table, which the device event reader reads too.
#pragma once

#include <cstdint>
#include <string>

namespace veldran {

struct MacroEditorState {
    // Index of the name list's selection as last remembered.
    std::int32_t selectedMacro = 0;
    // The event-list line every refresh selects when no recording runs (event k on line 2k, the
    // pause after event k - 1 on line 2k - 1); it may name a line that does not exist.
    std::int32_t selectedEventLine = 0;
    // Targets of the context menu, taken at the last right-button release on the advanced page
    // once the menu (if one was shown) had closed: the name list's selection (-1 for none), the
    // event list's selection (-1 for none), its event (menu line / 2, truncated toward zero) and
    // the number of event-list lines at the release.
    std::int32_t menuMacro = -1;
    std::int32_t menuLine = -1;
    std::int32_t menuEvent = 0;
    std::int32_t lineCountAtMenu = 0;
    // A macro is being recorded.
    bool recording = false;
    // What the status line says of the macro editor (UTF-8) in place of the driver's state: that
    // a recording runs, or why an action did nothing or what it changed. Empty for nothing.
    std::string statusNote;
};

} // namespace veldran
