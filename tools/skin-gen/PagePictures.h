// The full-window pictures of the default skin: the mask, the three looks of each page, the extra
// colour pictures, the DPI knob and the two function menus.
#pragma once

#include "SkinLayout.h"

#include <QColor>
#include <QImage>
#include <QPainterPath>

namespace skingen {

enum class Page { Main, Advanced, Color };

// The window outline: a chamfered body with a raised logo tab at the top left.
QPainterPath windowOutline();

// Black inside the outline, white outside.
QImage maskPicture();

// One page in one look. colorPicture is the colour of the color page's element 7 (ignored on the
// other pages).
QImage pagePicture(Page page, Look look, QColor colorPicture = QColor());

// The DPI knob: its top-left corner, of a choice's size, is copied 7 pixels right of the choice.
QImage knobPicture();

// Function menu (rows = 10) or advanced function menu (rows = 12) in one look; every row of the
// over and down pictures shows that look. arrows marks rows 7 to 10 as opening a submenu.
QImage menuPicture(int rows, Look look, bool arrows);
QImage menuMask(int rows);

} // namespace skingen
