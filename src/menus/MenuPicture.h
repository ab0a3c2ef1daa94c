// Drawing of a skinned menu window: the mask picture's size, the 10-point "宋体" face, and the
// composition of the menu's picture off screen (the resting picture, the band of the row under
// the pointer from the highlighted or pressed picture, one centred text per row).
#pragma once

#include "menus/MenuLayout.h"

#include <QFont>
#include <QImage>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

class QWidget;

namespace veldran {

// File names of one menu's pictures in the skin folder.
struct MenuPictureNames {
    const char* mask;
    const char* normal;
    const char* over;
    const char* down;
};

inline constexpr MenuPictureNames kFunctionMenuPictures{"menu_mask.jpg", "menu_normal.jpg",
                                                        "menu_over.jpg", "menu_down.jpg"};
inline constexpr MenuPictureNames kAdvancedMenuPictures{
    "advanced menu_mask.jpg", "advanced menu_normal.jpg", "advanced menu_over.jpg",
    "advanced menu_down.jpg"};

// Size of a skin picture, or nothing when it cannot be decoded.
std::optional<QSize> decodedPictureSize(const std::filesystem::path& file);

// The menus' text face: 10 points, "宋体" or the nearest Song face installed.
QFont menuFont();

inline constexpr QRgb kHotTextColor = qRgb(255, 0, 0);
inline constexpr QRgb kTextColor = qRgb(255, 255, 255);

// What one paint of a menu shows.
struct MenuPictureRequest {
    std::filesystem::path skinFolder;
    MenuPictureNames pictures;
    MenuGeometry geometry;
    std::uint8_t hotRow = kNoRow;
    bool pressed = false;
    std::function<QString(int row)> rowText; // rows 1 to 12
};

// The menu's picture, width x window height (a null image for an empty window). Pictures that
// cannot be decoded leave their part black.
QImage composeMenuPicture(const MenuPictureRequest& request);

// Makes window a menu window: drawn whole at every paint (no background erase), following the
// pointer, never ending the program when closed, shaped to the rectangle of its rows.
void prepareMenuWindow(QWidget& window, const MenuGeometry& geometry);

// The flags of both menu windows: frameless tool windows of the main window that the window
// manager does not place, so that they open exactly where the menus put them (under a field,
// beside the function menu), also under window managers that place tool windows by their own
// rules (Weston's, for the windows of XWayland).
inline constexpr Qt::WindowFlags kMenuWindowFlags =
    Qt::Tool | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint;

} // namespace veldran
