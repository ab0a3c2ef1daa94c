// State of the function menus shared by the main window and the two menu windows. The menu
// windows themselves are owned by the main window and the function menu.
#pragma once

#include <cstdint>

namespace veldran {

struct FunctionMenuState {
    bool menuOpen = false;       // a function menu was opened and not yet closed by the main window
    int targetSlot = 0;          // main element 17 to 26 whose press opened the menu
    std::uint8_t hotRow = 255;   // function menu row under the pointer (1 to 12) or 255
    std::uint8_t previousHotRow = 0;
    bool pressed = false;         // left button held in the function menu
    bool advancedMenuOpen = false;
    std::uint8_t advancedPreviousHotRow = 255;
    int lastAdvancedChoice = 0;   // last code produced by the advanced function menu
    bool closeRequest = false;    // the main window's next paint destroys the function menu
};

} // namespace veldran
