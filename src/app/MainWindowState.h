// The main window state: one object, owned by the application, handed to the main window, the
// function menus and the macro editor. The skinned windows' part of it (paths, skin tables, page
// and pointer state, function menu state, shape) and the macro editor's state.
#pragma once

#include "skin/MacroEditorState.h"
#include "skin/SkinWindowState.h"

namespace veldran {

struct MainWindowState : SkinWindowState {
    MacroEditorState macroEditor;
};

} // namespace veldran
