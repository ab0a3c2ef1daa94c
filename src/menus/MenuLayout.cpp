#include "menus/MenuLayout.h"

#include <algorithm>

namespace veldran {

MenuGeometry functionMenuGeometry(QSize maskSize) {
    MenuGeometry g;
    g.width = std::max(0, maskSize.width());
    g.rowHeight = std::max(0, maskSize.height()) / kMenuRows;
    g.windowHeight = kMenuRows * g.rowHeight + 1;
    return g;
}

MenuGeometry advancedMenuGeometry(QSize maskSize, int rowCount) {
    MenuGeometry g;
    g.width = std::max(0, maskSize.width());
    g.rowHeight = std::max(0, maskSize.height()) / kAdvancedMaskRows;
    g.windowHeight = rowCount > 0 ? rowCount * g.rowHeight + 1 : 0;
    return g;
}

std::uint8_t hitRow(int x, int y, int width, int rowHeight) {
    if (x < 0 || x >= width || y < 0 || rowHeight <= 0) {
        return kNoRow;
    }
    const int row = y / rowHeight + 1;
    return row <= kMenuHitRows ? static_cast<std::uint8_t>(row) : kNoRow;
}

std::optional<int> Category::code(int row) const {
    if (row < 1 || row > rowCount) {
        return std::nullopt;
    }
    return base + row;
}

int boundedMacroCount(int macroCount) {
    return std::clamp(macroCount, 0, kMaxMacroRows);
}

std::optional<Category> categoryFor(int menuRow, int macroCount) {
    switch (menuRow) {
    case 7:
        return Category{7, 8, 10};
    case 8:
        return Category{8, 6, 20};
    case 9:
        return Category{9, boundedMacroCount(macroCount), 40};
    case 10:
        return Category{10, 10, 30};
    default:
        return std::nullopt;
    }
}

QString categoryRowText(const Category& category, int row,
                        const std::array<QString, kFunctionNameCount>& functionNames,
                        const QStringList& macroNames) {
    if (row < 1 || row > kMenuHitRows) {
        return {};
    }
    if (category.macros()) {
        return row <= macroNames.size() ? macroNames[row - 1] : QString();
    }
    const int entry = category.base + row;
    return entry < kFunctionNameCount ? functionNames[static_cast<std::size_t>(entry)] : QString();
}

std::optional<int> advancedMenuTop(int menuRow, int menuTop, int rowHeight, int macroCount) {
    switch (menuRow) {
    case 7:
        return menuTop - rowHeight;
    case 8:
        return menuTop + 2 * rowHeight;
    case 9:
        return menuTop + (9 - boundedMacroCount(macroCount)) * rowHeight;
    case 10:
        return menuTop;
    default:
        return std::nullopt;
    }
}

} // namespace veldran
