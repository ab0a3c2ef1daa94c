// The main window's shape from the mask picture: which pixels are transparent, the window region
// (the opaque pixels, built from horizontal runs merged into bands) and the paint region (the
// shape combined by exclusive-or with the macro editor's three control rectangles).
#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QSize>

namespace veldran {

// A mask pixel is transparent when red, green and blue are all above 100.
constexpr bool isTransparentMaskPixel(int red, int green, int blue) {
    return red > 100 && green > 100 && blue > 100;
}

// The opaque pixels of mask inside its size.
QRegion opaqueRegion(const QImage& mask);

// A control rectangle given as x, y, width, height as a region (a negative width or height
// counts from the other edge, as a rectangle given by its two corners does).
QRegion controlRegion(const QRect& rect);

struct WindowShape {
    QSize maskSize;       // 0 x 0 when the mask could not be decoded
    QRegion windowRegion; // opaque pixels of the mask
    QRegion paintRegion;  // windowRegion ^ name edit ^ event list ^ name list
};

// Builds the shape from a decoded mask (a null image gives size 0 and empty regions before the
// rectangles are combined).
WindowShape buildWindowShape(const QImage& mask, const QRect& nameEdit, const QRect& eventList,
                             const QRect& nameList);

} // namespace veldran
