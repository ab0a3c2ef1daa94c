// State of the macro editor shared with the page rendering and pointer input: the selected macro,
// the selected line of the event list, the context menu's targets and the recording flag.
#pragma once

#include <cstdint>

namespace veldran {

struct MacroEditorState {
    std::int32_t selectedMacro = 0;     // index of the macro shown in the editor
    std::int32_t selectedEventLine = 0; // line of the event list (event k on line 2k)
    std::int32_t contextLine = 0;       // line the context menu was opened on
    bool recording = false;             // a macro is being recorded
};

} // namespace veldran
