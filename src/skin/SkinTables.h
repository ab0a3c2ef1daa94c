// The tables that the skin's layout files fill: the main, color and advanced element tables, the
// function-name table and the macro editor's three rectangles.
#pragma once

#include <QRect>
#include <QString>
#include <array>
#include <cstdint>

namespace veldran {

// One clickable or drawn area of a page, in window pixels, with the text drawn on it.
struct Element {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    QString label;

    // Right and bottom edges excluded; an empty element contains no point.
    bool contains(int px, int py) const {
        return px >= x && px < std::int64_t{x} + width && py >= y && py < std::int64_t{y} + height;
    }
    QRect rect() const { return QRect(x, y, width, height); }
};

// Skin coordinates are kept within this many pixels of the origin, so that x + width and
// y + height never overflow (a hand-edited layout file may hold any number).
inline constexpr std::int32_t kMaxSkinCoordinate = 1 << 24;

inline constexpr int kMainElementCount = 70;
inline constexpr int kColorElementCount = 8;
inline constexpr int kAdvancedElementCount = 21;
inline constexpr int kFunctionNameCount = 60;
inline constexpr std::uint8_t kNoElement = 255; // hot index or hot row meaning "none"

struct SkinTables {
    std::array<Element, kMainElementCount> main;
    std::array<Element, kColorElementCount> color;
    std::array<Element, kAdvancedElementCount> advanced;
    std::array<QString, kFunctionNameCount> functionNames; // indexed by FunctionCode
    // Macro editor controls: left, top, right, bottom with right = x + width, bottom = y + height.
    // QRect keeps its own inclusive right edge, so these are stored as x, y, width, height.
    QRect nameEditRect;
    QRect nameListRect;
    QRect eventListRect;
};

} // namespace veldran
