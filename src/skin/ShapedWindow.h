// Giving a window its shape. Qt takes an empty mask for "no mask", which would show the whole
// window as a rectangle; here an empty shape stays empty: the window shows no pixel and the
// pointer passes through it.
#pragma once

#include <QRegion>

class QWidget;

namespace veldran {

// The region handed to the window system for shape: shape itself, or, when it is empty, one
// pixel just outside the window's top-left corner (an empty shape in effect, which the window
// system keeps instead of dropping the shape).
QRegion windowSystemShape(const QRegion& shape);

// Shapes window to shape (in its own pixels); an empty shape hides every pixel of it.
void setWindowShape(QWidget& window, const QRegion& shape);

} // namespace veldran
