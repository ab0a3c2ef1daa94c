#include "AppIcon.h"

#include "Looks.h"

#include <QDir>
#include <QLinearGradient>
#include <QPainterPath>

namespace skingen {

QImage appIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 64-unit grid; the small sizes drop the glow and the fine border, which would
    // only blur at a few pixels.
    const qreal unit = size / 64.0;
    p.scale(unit, unit);
    const bool small = size < 32;

    const QRectF tile(2, 2, 60, 60);
    QLinearGradient steel(tile.topLeft(), tile.bottomLeft());
    steel.setColorAt(0, palette::steelTop);
    steel.setColorAt(1, palette::background);
    const QPolygonF tileShape = chamfered(tile, small ? 8 : 10);
    p.setPen(Qt::NoPen);
    p.setBrush(steel);
    p.drawPolygon(tileShape);
    if (!small) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(palette::steelBorder, 1.5));
        p.drawPolygon(tileShape);
    }

    QPainterPath arrow;
    arrow.moveTo(14, 15);
    arrow.lineTo(50, 15);
    arrow.lineTo(32, 44);
    arrow.closeSubpath();
    if (!small) {
        glow(p, arrow, palette::cyan, 4);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(palette::cyan);
    p.drawPath(arrow);

    p.setBrush(palette::magenta);
    p.drawRect(QRectF(12, small ? 49 : 50, 40, small ? 6 : 4));
    p.end();
    return image;
}

bool writeIconTheme(const QString& folder, const QString& name) {
    for (const int size : kIconSizes) {
        const QString apps = QStringLiteral("%1/hicolor/%2x%2/apps").arg(folder).arg(size);
        if (!QDir().mkpath(apps) ||
            !appIcon(size).save(QStringLiteral("%1/%2.png").arg(apps, name), "PNG")) {
            return false;
        }
    }
    return true;
}

} // namespace skingen
