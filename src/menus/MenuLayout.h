// Geometry and contents of the two function menus as pure functions: the row hit test, the size
// of a menu from its mask picture, the four categories of the advanced function menu (row count,
// text and code of each row) and where the advanced function menu opens beside the function menu.
#pragma once

#include "skin/SkinTables.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

namespace veldran {

inline constexpr int kMenuRows = 10;         // rows of the function menu
inline constexpr int kMenuHitRows = 12;      // rows the hit test and the texts run over
inline constexpr int kAdvancedMaskRows = 12; // the advanced mask's height holds 12 rows
inline constexpr int kDirectRowCount = 6;    // function menu rows 1 to 6 are chosen directly
inline constexpr int kMaxMacroRows = 12;     // the macro category shows at most 12 macros
inline constexpr int kAdvancedMenuWidth = 300;
inline constexpr int kAdvancedMenuHeight = 400;
inline constexpr int kFunctionMenuSide = 300; // the function menu window is 300 x 300
inline constexpr std::uint8_t kNoRow = 255;

// Size of a menu window taken from its mask picture.
struct MenuGeometry {
    int width = 0;
    int rowHeight = 0;
    int windowHeight = 0; // the shape is the rectangle (0, 0, width, windowHeight)
};

// Function menu: rows are a tenth of the mask's height; ten rows and the line below them.
MenuGeometry functionMenuGeometry(QSize maskSize);
// Advanced function menu: rows are a twelfth of the mask's height; rowCount rows and the line
// below them, or nothing at all when the category has no rows.
MenuGeometry advancedMenuGeometry(QSize maskSize, int rowCount);

// Row 1 to 12 whose band (0, (i-1) x rowHeight, width, rowHeight) holds the point, right and
// bottom edges excluded, or kNoRow.
std::uint8_t hitRow(int x, int y, int width, int rowHeight);

// One list of the advanced function menu, chosen by the function menu row 7 to 10 under the
// pointer.
struct Category {
    int menuRow = 0;  // 7, 8, 9 (the macros) or 10
    int rowCount = 0; // rows shown
    int base = 0;     // row i gives FunctionCode base + i; non-macro rows show name entry base + i
    bool macros() const { return menuRow == 9; }
    // FunctionCode of row 1 to rowCount; nothing for any other row.
    std::optional<int> code(int row) const;
};

// The category of function menu row 7 to 10 (the macro category has macroCount rows, bounded to
// 0 to 12); nothing for another row.
std::optional<Category> categoryFor(int menuRow, int macroCount);

// Text of row 1 to 12: a name of the function-name table, or for the macro category the name of
// macro row - 1 (empty past the last macro).
QString categoryRowText(const Category& category, int row,
                        const std::array<QString, kFunctionNameCount>& functionNames,
                        const QStringList& macroNames);

// Screen y of the advanced function menu opened by function menu row 7 to 10, so that its bottom
// lines up with the bottom of that row.
std::optional<int> advancedMenuTop(int menuRow, int menuTop, int rowHeight, int macroCount);

// The macro count as a row count: 0 to 12.
int boundedMacroCount(int macroCount);

} // namespace veldran
