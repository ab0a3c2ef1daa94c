// The window shape: the threshold rule, region contents against a pixel-by-pixel check, the
// paint region's exclusive-or with the macro editor's rectangles, and a missing mask.
#include "skin/WindowShape.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace veldran {
namespace {

QImage filled(int w, int h, QColor c) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(c);
    return image;
}

TEST(WindowShape, ThresholdIsStrictlyAboveHundredOnAllThreeComponents) {
    EXPECT_TRUE(isTransparentMaskPixel(101, 101, 101));
    EXPECT_FALSE(isTransparentMaskPixel(100, 200, 200));
    EXPECT_FALSE(isTransparentMaskPixel(200, 200, 100));
    EXPECT_TRUE(isTransparentMaskPixel(255, 255, 255));
    EXPECT_FALSE(isTransparentMaskPixel(255, 0, 0));
    EXPECT_FALSE(isTransparentMaskPixel(0, 0, 0));

    QImage mask = filled(4, 1, Qt::black);
    mask.setPixel(0, 0, qRgb(101, 101, 101));
    mask.setPixel(1, 0, qRgb(100, 200, 200));
    mask.setPixel(2, 0, qRgb(255, 255, 255));
    mask.setPixel(3, 0, qRgb(255, 0, 0));
    const QRegion region = opaqueRegion(mask);
    EXPECT_FALSE(region.contains(QPoint(0, 0)));
    EXPECT_TRUE(region.contains(QPoint(1, 0)));
    EXPECT_FALSE(region.contains(QPoint(2, 0)));
    EXPECT_TRUE(region.contains(QPoint(3, 0)));
}

TEST(WindowShape, DarkMaskIsTheFullRectangleAndLightMaskIsEmpty) {
    const WindowShape dark = buildWindowShape(filled(30, 20, Qt::black), {}, {}, {});
    EXPECT_EQ(dark.maskSize, QSize(30, 20));
    EXPECT_EQ(dark.windowRegion, QRegion(0, 0, 30, 20));
    const WindowShape light = buildWindowShape(filled(30, 20, Qt::white), {}, {}, {});
    EXPECT_EQ(light.maskSize, QSize(30, 20));
    EXPECT_TRUE(light.windowRegion.isEmpty());
}

TEST(WindowShape, RegionHoldsExactlyTheOpaquePixelsOfAnIrregularMask) {
    QImage mask = filled(64, 48, Qt::black);
    QRandomGenerator random(7);
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            // Blocks of rows repeat so that bands are merged, with noise on every fourth row to
            // break them; rows of a block change their light shade (not their shape) halfway,
            // so that equal shapes come from unequal pixels as well as from repeated rows.
            const bool light =
                ((x / 5 + y / 8) % 3 == 0) || (y % 4 == 0 && random.bounded(40) == 0);
            if (light) {
                mask.setPixel(x, y, y % 8 < 4 ? qRgb(200, 180, 160) : qRgb(101, 250, 120));
            }
        }
    }
    const QRegion region = opaqueRegion(mask);
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            const QRgb p = mask.pixel(x, y);
            ASSERT_EQ(region.contains(QPoint(x, y)),
                      !isTransparentMaskPixel(qRed(p), qGreen(p), qBlue(p)))
                << x << "," << y;
        }
    }
    EXPECT_FALSE(region.contains(QPoint(64, 0)));
    EXPECT_FALSE(region.contains(QPoint(0, 48)));
}

TEST(WindowShape, PaintRegionCutsRectanglesFromTheShapeAndAddsThemOverTransparentParts) {
    // Left half opaque, right half transparent.
    QImage mask = filled(100, 50, Qt::white);
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 50; ++x) {
            mask.setPixel(x, y, qRgb(0, 0, 0));
        }
    }
    const QRect nameEdit(10, 10, 20, 10); // over the opaque half: cut out
    const QRect eventList(60, 5, 30, 20); // over the transparent half: added
    const QRect nameList(40, 30, 20, 10); // across the edge: both
    const WindowShape shape = buildWindowShape(mask, nameEdit, eventList, nameList);
    EXPECT_TRUE(shape.windowRegion.contains(QPoint(15, 15)));
    EXPECT_FALSE(shape.paintRegion.contains(QPoint(15, 15)));
    EXPECT_FALSE(shape.windowRegion.contains(QPoint(70, 10)));
    EXPECT_TRUE(shape.paintRegion.contains(QPoint(70, 10)));
    EXPECT_FALSE(shape.paintRegion.contains(QPoint(45, 35)));
    EXPECT_TRUE(shape.paintRegion.contains(QPoint(55, 35)));
    // Right and bottom edges are excluded.
    EXPECT_FALSE(shape.paintRegion.contains(QPoint(90, 10)));
    EXPECT_TRUE(shape.paintRegion.contains(QPoint(5, 5)));
}

TEST(WindowShape, MissingMaskGivesNoSizeAndAPaintRegionOfTheRectanglesAlone) {
    const WindowShape shape =
        buildWindowShape(QImage(), QRect(0, 0, 10, 10), QRect(5, 0, 10, 10), QRect());
    EXPECT_EQ(shape.maskSize, QSize(0, 0));
    EXPECT_TRUE(shape.windowRegion.isEmpty());
    EXPECT_EQ(shape.paintRegion, QRegion(0, 0, 5, 10).united(QRegion(10, 0, 5, 10)));
}

TEST(WindowShape, ControlRectanglesWithReversedOrEmptySizesStayWellFormed) {
    EXPECT_EQ(controlRegion(QRect(20, 20, -10, -5)), QRegion(10, 15, 10, 5));
    EXPECT_TRUE(controlRegion(QRect(3, 3, 0, 9)).isEmpty());
}

} // namespace
} // namespace veldran
