#include "menus/MenuPicture.h"

#include "skin/ShapedWindow.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRegion>
#include <QWidget>

namespace veldran {

namespace {

QImage decode(const std::filesystem::path& file) {
    return QImage(QString::fromStdString(file.string()));
}

} // namespace

std::optional<QSize> decodedPictureSize(const std::filesystem::path& file) {
    const QImage image = decode(file);
    if (image.isNull()) {
        return std::nullopt;
    }
    return image.size();
}

QFont menuFont() {
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"),
                      QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW")});
    font.setPointSize(10);
    return font;
}

QImage composeMenuPicture(const MenuPictureRequest& request) {
    const MenuGeometry& g = request.geometry;
    if (g.width <= 0 || g.windowHeight <= 0) {
        return {};
    }
    QImage canvas(g.width, g.windowHeight, QImage::Format_RGB32);
    canvas.fill(Qt::black);

    QPainter painter(&canvas);
    const QImage normal = decode(request.skinFolder / request.pictures.normal);
    if (!normal.isNull()) {
        painter.drawImage(0, 0, normal);
    }

    if (request.hotRow >= 1 && request.hotRow <= kMenuHitRows && g.rowHeight > 0) {
        const QImage state = decode(
            request.skinFolder / (request.pressed ? request.pictures.down : request.pictures.over));
        const QRect band(0, (request.hotRow - 1) * g.rowHeight, g.width, g.rowHeight);
        if (!state.isNull()) {
            painter.drawImage(band, state, band);
        }
    }

    const QFont font = menuFont();
    painter.setFont(font);
    const QFontMetrics metrics(font, &canvas);
    for (int row = 1; row <= kMenuHitRows; ++row) {
        const QString text = request.rowText ? request.rowText(row) : QString();
        if (text.isEmpty()) {
            continue;
        }
        const int textWidth = metrics.horizontalAdvance(text);
        const int textHeight = metrics.height();
        const int x = (g.width - textWidth) / 2;
        const int top = (row - 1) * g.rowHeight + (g.rowHeight - textHeight) / 2;
        painter.setPen(QColor::fromRgb(row == request.hotRow ? kHotTextColor : kTextColor));
        painter.drawText(x, top + metrics.ascent(), text);
    }
    return canvas;
}

void prepareMenuWindow(QWidget& window, const MenuGeometry& geometry) {
    window.setAttribute(Qt::WA_OpaquePaintEvent);
    window.setAttribute(Qt::WA_NoSystemBackground);
    window.setMouseTracking(true);
    window.setAttribute(Qt::WA_QuitOnClose, false);
    // With no rows (no macros recorded) the shape is empty: the window shows nothing and takes
    // no pointer input.
    setWindowShape(window, QRegion(0, 0, geometry.width, geometry.windowHeight));
}

} // namespace veldran
