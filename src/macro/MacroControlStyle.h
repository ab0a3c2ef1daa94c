// The look of the macro editor's controls on the main window: white text in the 10-point "宋体"
// face on a dark grey background, RGB 30, 30, 30.
#pragma once

#include <QColor>

class QWidget;

namespace veldran {

inline constexpr QRgb kControlBackground = 0xFF1E1E1E; // RGB(30, 30, 30)
inline constexpr QRgb kControlText = 0xFFFFFFFF;

// Gives control (a name edit or a list) the colours and font above.
void applyMacroControlStyle(QWidget& control);

} // namespace veldran
