// What the skinned windows keep of the main window's state: the paths, the skin tables, the page
// and pointer state, the function menu state, the window's shape and whether the mouse is
// connected. The main window's whole state (app/MainWindowState.h) adds the macro editor's.
#pragma once

#include "skin/FunctionMenuState.h"
#include "skin/MacroEditorState.h"
#include "skin/PointerState.h"
#include "skin/SkinTables.h"

#include <QRegion>
#include <QSize>
#include <filesystem>

namespace veldran {

struct SkinWindowState {
    std::filesystem::path appFolder;
    std::filesystem::path skinFolder; // appFolder / "skins"
    std::filesystem::path configPath; // appFolder / "config.ini"
    std::filesystem::path macroPath;  // appFolder / "Macro.dat"

    SkinTables skin;
    PointerState pointer;
    FunctionMenuState functionMenu;

    QSize maskSize;       // size of main_mask.jpg; every page picture is drawn at this size
    QRegion windowRegion; // the window's shape
    QRegion paintRegion;  // the shape without the macro editor's controls
    bool connected = false;
};

} // namespace veldran
