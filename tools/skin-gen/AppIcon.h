// The program's icon, drawn in the skin's palette at any size: a dark chamfered tile with a
// glowing cyan arrow pointing down and a magenta bar under it. Written into a hicolor icon tree
// for the desktop's menus, the window list and the notification area.
#pragma once

#include <QImage>
#include <QString>
#include <array>

namespace skingen {

// The sizes of the hicolor theme's apps folders that the icon is drawn at.
inline constexpr std::array<int, 8> kIconSizes{16, 22, 24, 32, 48, 64, 128, 256};

// The icon as a square ARGB image of size pixels.
QImage appIcon(int size);

// Writes <folder>/hicolor/<n>x<n>/apps/<name>.png for every size of kIconSizes.
bool writeIconTheme(const QString& folder, const QString& name);

} // namespace skingen
