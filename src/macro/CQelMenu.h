// The program's own look for its two pop-up menus, the macro editor's context menu and the tray
// menu: white text on a dark teal band and a blue-to-cyan gradient behind the highlighted item.
// A CQelMenu loads one of the two menus, records every item in a table of 20 entries and draws
// the items itself through a style that only menus of this object use.
#pragma once

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <memory>

class QMenu;
class QPainter;
class QStyle;

namespace veldran {

// One menu item: its caption and command identifier (-1 opens a sub-menu, 0 is a separator).
struct MenuItemEntry {
    QString text;
    int id = 0;
};

inline constexpr int kMenuEntryCapacity = 20;

// The two menus of the program.
inline constexpr int kMacroContextMenuId = 154; // "MENU_CN": mouse-button inserts, delay, delete
// "Menu_Tray": show the window, the program rules, stop the macros (shown while one plays), leave
// the driver.
inline constexpr int kTrayMenuId = 157;

// Command identifiers of their items.
inline constexpr int kCmdLeftDown = 32782;
inline constexpr int kCmdLeftUp = 32775;
inline constexpr int kCmdRightDown = 32776;
inline constexpr int kCmdRightUp = 32777;
inline constexpr int kCmdMiddleDown = 32783;
inline constexpr int kCmdMiddleUp = 32779;
inline constexpr int kCmdModifyDelay = 32780;
inline constexpr int kCmdDeleteItem = 32781;
inline constexpr int kCmdShowWindow = 32801;
inline constexpr int kCmdProgramProfiles = 32802;
inline constexpr int kCmdExitDriver = 32800;
inline constexpr int kCmdStopMacros = 32803;

// Colours of the drawn items.
inline constexpr QRgb kMenuBandColor = 0xFF007899; // RGB(0, 120, 153)

class CQelMenu {
public:
    // Loads menu 154 or 157 (any other number gives an empty menu). The items are not yet
    // drawn by this object until ConvertToOwnerDraw has run on the menu.
    explicit CQelMenu(int menuId);
    ~CQelMenu();
    CQelMenu(const CQelMenu&) = delete;
    CQelMenu& operator=(const CQelMenu&) = delete;

    // Records every item of menu and of its sub-menus, depth first, in the entry table and draws
    // them from then on. Items beyond the table's 20 entries keep the standard look. Always true.
    bool ConvertToOwnerDraw(QMenu* menu);

    // The loaded menu: it holds one pop-up, the menu that is shown.
    QMenu* menu() const { return menu_.get(); }
    QMenu* popup() const;

    int itemCount() const { return itemCount_; }
    const MenuItemEntry& entry(int index) const { return entries_.at(static_cast<size_t>(index)); }

    // Size of an item: 8 pixels per character by 20 pixels; a separator is 1 pixel high.
    static QSize MeasureItem(const MenuItemEntry& entry);
    // Draws an item into rect: the band, or the gradient when highlighted, and the text; a
    // separator is a red and blue frame starting 25 pixels in.
    static void DrawItem(QPainter& painter, const QRect& rect, const MenuItemEntry& entry,
                         bool highlighted);

private:
    class Style;
    std::unique_ptr<Style> style_; // outlives the menus that use it
    std::unique_ptr<QMenu> menu_;
    std::array<MenuItemEntry, kMenuEntryCapacity> entries_;
    int itemCount_ = 0;
};

} // namespace veldran
