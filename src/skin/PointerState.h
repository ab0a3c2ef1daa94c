// The main window's page and pointer state: which page is shown, which element of each table is
// under the pointer (255 for none), and whether the left button is held.
#pragma once

#include <cstdint>

namespace veldran {

enum class SkinPage { Main, Advanced, Color };

struct PointerState {
    SkinPage page = SkinPage::Main;
    std::uint8_t mainHot = 0; // 0 until the pointer first moves over the window
    std::uint8_t colorHot = 255;
    std::uint8_t advancedHot = 255;
    std::uint8_t previousMainHot = 255;
    std::uint8_t previousColorHot = 255;
    std::uint8_t previousAdvancedHot = 255;
    bool buttonHeld = false;
};

} // namespace veldran
