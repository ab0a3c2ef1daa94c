// Drawing of one element of the default skin in one of its looks (normal, over, down), and the
// shared palette. Labels that the program writes itself are not drawn here.
#pragma once

#include "SkinLayout.h"

#include <QColor>
#include <QPainter>

namespace skingen {

namespace palette {
inline const QColor background(11, 14, 19);
inline const QColor panel(18, 23, 31);
inline const QColor panelBorder(38, 48, 62);
inline const QColor steelTop(52, 60, 72);
inline const QColor steelBottom(27, 32, 40);
inline const QColor steelBorder(74, 86, 102);
inline const QColor cyan(25, 227, 255);
inline const QColor magenta(255, 45, 120);
inline const QColor text(214, 224, 236);
inline const QColor dimText(120, 136, 156);
} // namespace palette

// Draws element spec in look; stage is the DPI level the element belongs to (LEDs, chips,
// stage buttons), or -1.
void drawElement(QPainter& p, const ElementSpec& spec, Look look, int stage = -1);

// The glowing mouse of the color page in colour c, filling rect.
void drawColorMouse(QPainter& p, const QRect& rect, const QColor& c);

// A chamfered rectangle: corners cut by cut pixels at the top left and bottom right.
QPolygonF chamfered(const QRectF& r, qreal cut);

// A soft glow around a shape: strokes of decreasing alpha.
void glow(QPainter& p, const QPainterPath& path, const QColor& c, int radius);

} // namespace skingen
