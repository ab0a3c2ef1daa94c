// The main window state: one object, owned by the application, handed to the main window, the
// function menus and the macro editor. Holds the paths, the skin tables, the page and pointer
// state, the function menu state and the macro editor state.
#pragma once

#include "macro/MacroEditorState.h"
#include "skin/FunctionMenuState.h"
#include "skin/PointerState.h"
#include "skin/SkinTables.h"

#include <QRegion>
#include <QSize>
#include <filesystem>

namespace veldran {

struct MainWindowState {
    std::filesystem::path appFolder;
    std::filesystem::path skinFolder; // appFolder / "skins"
    std::filesystem::path configPath; // appFolder / "config.ini"
    std::filesystem::path macroPath;  // appFolder / "Macro.dat"

    SkinTables skin;
    PointerState pointer;
    FunctionMenuState functionMenu;
    MacroEditorState macroEditor;

    QSize maskSize;       // size of main_mask.jpg; every page picture is drawn at this size
    QRegion windowRegion; // the window's shape
    QRegion paintRegion;  // the shape without the macro editor's controls
    bool connected = false;
};

} // namespace veldran
