// Looks of the default skin: dark steel at rest, a cyan glow under the pointer, red-magenta when
// pressed or selected.
#include "Looks.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

namespace skingen {
namespace {

QColor accent(Look look) {
    return look == Look::Down ? palette::magenta : palette::cyan;
}

QColor withAlpha(QColor c, int alpha) {
    c.setAlpha(alpha);
    return c;
}

void steelFill(QPainter& p, const QPolygonF& shape, const QRectF& r, Look look) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    if (look == Look::Normal) {
        g.setColorAt(0, palette::steelTop);
        g.setColorAt(1, palette::steelBottom);
    } else if (look == Look::Over) {
        // Lit at the edges, nearly black across the middle where the program writes its red hot
        // text, so that the text keeps a contrast of at least 4.5:1.
        g.setColorAt(0, QColor(20, 78, 96));
        g.setColorAt(0.2, QColor(6, 20, 26));
        g.setColorAt(0.8, QColor(4, 14, 19));
        g.setColorAt(1, QColor(10, 36, 48));
    } else {
        g.setColorAt(0, QColor(122, 18, 58));
        g.setColorAt(0.2, QColor(38, 6, 19));
        g.setColorAt(0.8, QColor(30, 5, 15));
        g.setColorAt(1, QColor(58, 8, 30));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPolygon(shape);
    QPainterPath path;
    path.addPolygon(shape);
    path.closeSubpath();
    if (look != Look::Normal) {
        glow(p, path, accent(look), 3);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(look == Look::Normal ? palette::steelBorder : accent(look), 1));
    p.drawPolygon(shape);
    // A thin highlight along the top edge gives the steel some depth.
    p.setPen(QPen(QColor(255, 255, 255, look == Look::Normal ? 40 : 70), 1));
    p.drawLine(QPointF(r.left() + 8, r.top() + 1.5), QPointF(r.right() - 2, r.top() + 1.5));
}

void drawButton(QPainter& p, const QRectF& r, Look look) {
    steelFill(p, chamfered(r.adjusted(0.5, 0.5, -0.5, -0.5), 7), r, look);
}

void drawTab(QPainter& p, const QRectF& r, Look look) {
    QPolygonF shape;
    shape << QPointF(r.left() + 10, r.top() + 0.5) << QPointF(r.right() - 0.5, r.top() + 0.5)
          << QPointF(r.right() - 10, r.bottom() - 0.5) << QPointF(r.left() + 0.5, r.bottom() - 0.5);
    steelFill(p, shape, r, look);
    const QColor bar = look == Look::Normal ? palette::steelBorder : accent(look);
    p.fillRect(QRectF(r.left() + 14, r.bottom() - 3, r.width() - 28, 2), bar);
}

void drawWindowButton(QPainter& p, const ElementSpec& spec, Look look) {
    const QRectF r = spec.rect;
    p.setPen(Qt::NoPen);
    p.setBrush(look == Look::Normal ? QColor(24, 30, 38)
                                    : withAlpha(accent(look), look == Look::Over ? 60 : 110));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    p.setPen(QPen(look == Look::Normal ? palette::text : accent(look).lighter(130), 2));
    const QPointF c = r.center();
    if (spec.name == QLatin1String("minimise")) {
        p.drawLine(QPointF(c.x() - 6, c.y() + 4), QPointF(c.x() + 6, c.y() + 4));
    } else {
        p.drawLine(QPointF(c.x() - 5, c.y() - 5), QPointF(c.x() + 5, c.y() + 5));
        p.drawLine(QPointF(c.x() + 5, c.y() - 5), QPointF(c.x() - 5, c.y() + 5));
    }
}

void drawEmblem(QPainter& p, const QRectF& r, Look look) {
    const QPointF c = r.center();
    QPainterPath gem;
    gem.moveTo(c.x(), r.top() + 2);
    gem.lineTo(c.x() + 12, c.y());
    gem.lineTo(c.x(), r.bottom() - 2);
    gem.lineTo(c.x() - 12, c.y());
    gem.closeSubpath();
    const QColor col = look == Look::Normal ? QColor(70, 90, 110) : accent(look);
    if (look != Look::Normal) {
        glow(p, gem, col, 4);
    }
    p.setPen(QPen(col, 1.5));
    p.setBrush(withAlpha(col, 70));
    p.drawPath(gem);
    p.setPen(QPen(withAlpha(col, 150), 1));
    p.drawLine(QPointF(r.left() + 2, c.y()), QPointF(c.x() - 14, c.y()));
    p.drawLine(QPointF(c.x() + 14, c.y()), QPointF(r.right() - 2, c.y()));
}

void drawLogo(QPainter& p, const QRectF& r, Look look) {
    QFont f(QStringLiteral("DejaVu Sans"), 1);
    f.setPixelSize(30);
    f.setWeight(QFont::Black);
    f.setItalic(true);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    QPainterPath word;
    word.addText(r.left() + 30, r.top() + 32, f, QStringLiteral("VELDRAN"));
    const QColor edge = look == Look::Down ? palette::magenta : palette::cyan;
    if (look != Look::Normal) {
        glow(p, word, edge, 5);
    }
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(250, 252, 255));
    g.setColorAt(1, look == Look::Down ? QColor(255, 120, 170) : QColor(150, 200, 225));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(word);
    // Three slanted bars in front of the wordmark.
    for (int k = 0; k < 3; ++k) {
        QPolygonF bar;
        const qreal x = r.left() + 2 + k * 8;
        bar << QPointF(x + 8, r.top() + 8) << QPointF(x + 13, r.top() + 8)
            << QPointF(x + 5, r.top() + 34) << QPointF(x, r.top() + 34);
        p.setBrush(k == 2 ? edge : withAlpha(edge, 90 + 60 * k));
        p.drawPolygon(bar);
    }
    QFont small(QStringLiteral("DejaVu Sans"), 1);
    small.setPixelSize(9);
    small.setBold(true);
    small.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    p.setFont(small);
    p.setPen(look == Look::Normal ? palette::dimText : edge);
    p.drawText(QPointF(r.left() + 34, r.top() + 43), QStringLiteral("GAMING MOUSE"));
}

void drawField(QPainter& p, const QRectF& r, Look look) {
    p.setPen(Qt::NoPen);
    p.setBrush(look == Look::Down ? QColor(46, 10, 26) : QColor(9, 12, 16));
    const QPolygonF shape = chamfered(r.adjusted(0.5, 0.5, -0.5, -0.5), 6);
    p.drawPolygon(shape);
    QPainterPath path;
    path.addPolygon(shape);
    if (look != Look::Normal) {
        glow(p, path, accent(look), 3);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(look == Look::Normal ? palette::panelBorder.lighter(130) : accent(look), 1));
    p.drawPolygon(shape);
    // Drop-down chevron at the right.
    const QPointF c(r.right() - 12, r.center().y());
    p.setPen(QPen(look == Look::Normal ? palette::dimText : accent(look), 1.6));
    p.drawLine(c + QPointF(-4, -2), c + QPointF(0, 2));
    p.drawLine(c + QPointF(0, 2), c + QPointF(4, -2));
}

void drawOption(QPainter& p, const QRectF& r, Look look) {
    p.setPen(QPen(look == Look::Normal ? palette::panelBorder : withAlpha(accent(look), 160), 1));
    p.setBrush(look == Look::Normal ? QColor(22, 28, 37)
               : look == Look::Over ? QColor(14, 44, 56)
                                    : QColor(56, 12, 32));
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
    const QColor bar = look == Look::Normal ? QColor(60, 72, 88) : accent(look);
    p.fillRect(QRectF(r.left() + 1, r.top() + 1, 6, r.height() - 2), bar);
    if (look != Look::Normal) {
        QLinearGradient g(r.topLeft(), r.topRight());
        g.setColorAt(0, withAlpha(accent(look), 70));
        g.setColorAt(0.4, withAlpha(accent(look), 0));
        p.fillRect(r.adjusted(7, 1, -1, -1), g);
    }
}

void drawWheelOption(QPainter& p, const QRectF& r, Look look) {
    drawOption(p, r, look);
    const QPointF c(r.left() + 26, r.center().y());
    p.setPen(QPen(look == Look::Normal ? palette::steelBorder : accent(look), 2));
    p.setBrush(QColor(8, 10, 14));
    p.drawEllipse(c, 8, 8);
    if (look == Look::Down) {
        QPainterPath dot;
        dot.addEllipse(c, 4, 4);
        glow(p, dot, palette::magenta, 3);
        p.setPen(Qt::NoPen);
        p.setBrush(palette::magenta);
        p.drawPath(dot);
    }
}

void drawStageButton(QPainter& p, const QRectF& r, Look look, int stage) {
    drawButton(p, r, look);
    if (stage >= 0) {
        p.fillRect(QRectF(r.left() + 4, r.top() + 8, 3, r.height() - 16),
                   QColor(stageColor(stage)));
    }
}

void drawChoice(QPainter& p, const QRectF& r, Look look) {
    // The knob is drawn 7 pixels right of the element; the stop mark sits under its centre.
    const QPointF c(r.left() + 30, r.center().y());
    p.setPen(Qt::NoPen);
    if (look == Look::Normal) {
        p.setBrush(QColor(70, 84, 100));
        p.drawEllipse(c, 4, 4);
        return;
    }
    QPainterPath ring;
    ring.addEllipse(c, 10, 10);
    glow(p, ring, accent(look), 3);
    p.setBrush(withAlpha(accent(look), 60));
    p.setPen(QPen(accent(look), 1.5));
    p.drawPath(ring);
    p.setPen(Qt::NoPen);
    p.setBrush(accent(look));
    p.drawEllipse(c, 4, 4);
}

void drawLed(QPainter& p, const QRectF& r, Look look, int stage) {
    const QColor c = stage >= 0 ? QColor(stageColor(stage)) : palette::cyan;
    const QPointF centre = r.center();
    if (look == Look::Down) {
        QRadialGradient g(centre, r.width() / 2);
        g.setColorAt(0, Qt::white);
        g.setColorAt(0.45, c);
        g.setColorAt(1, c.darker(160));
        p.setPen(QPen(c.lighter(140), 1));
        p.setBrush(g);
    } else {
        p.setPen(QPen(QColor(60, 70, 84), 1));
        p.setBrush(c.darker(420));
    }
    p.drawEllipse(r.adjusted(0.5, 0.5, -0.5, -0.5));
}

void drawReadout(QPainter& p, const QRectF& r, Look look) {
    p.setPen(QPen(look == Look::Normal ? palette::steelBorder : accent(look), 1));
    p.setBrush(QColor(6, 9, 12));
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
    p.setPen(QPen(withAlpha(palette::cyan, 40), 1));
    for (qreal y = r.top() + 3; y < r.bottom(); y += 3) {
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
    }
}

void drawFrame(QPainter& p, const QRectF& r, Look look) {
    p.setBrush(QColor(8, 11, 15));
    p.setPen(QPen(look == Look::Normal ? palette::steelBorder : accent(look), 2));
    p.drawRect(r.adjusted(1, 1, -1, -1));
}

void drawPanelBar(QPainter& p, const QRectF& r, Look look) {
    QLinearGradient g(r.topLeft(), r.topRight());
    if (look == Look::Down) {
        // The bar is always shown in this look; its middle stays dark behind the title.
        g.setColorAt(0, QColor(150, 20, 70));
        g.setColorAt(0.36, QColor(34, 6, 20));
        g.setColorAt(0.64, QColor(4, 16, 22));
        g.setColorAt(1, QColor(12, 70, 92));
    } else {
        g.setColorAt(0, QColor(36, 42, 52));
        g.setColorAt(1, QColor(22, 27, 34));
    }
    p.fillRect(r, g);
    p.fillRect(QRectF(r.left(), r.bottom() - 1, r.width(), 2),
               look == Look::Down ? palette::magenta : palette::steelBorder);
}

void drawCaption(QPainter& p, const QRectF& r, Look look) {
    if (look == Look::Normal) {
        return;
    }
    // A darker band with a faint wash: the program writes red text over it, and the panel's own
    // colour is too light for that. The accent shows in the underline and a marker at the left.
    p.fillRect(r, QColor(6, 9, 13));
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, withAlpha(accent(look), 0));
    g.setColorAt(0.5, withAlpha(accent(look), 10));
    g.setColorAt(1, withAlpha(accent(look), 0));
    p.fillRect(r, g);
    p.fillRect(QRectF(r.left(), r.top() + 3, 3, r.height() - 6), accent(look));
    p.fillRect(QRectF(r.left(), r.bottom() - 1, r.width(), 1), withAlpha(accent(look), 170));
}

void drawHeading(QPainter& p, const ElementSpec& spec, Look look) {
    const QRectF r = spec.rect;
    p.fillRect(QRectF(r.left(), r.top() + 4, 4, r.height() - 8),
               look == Look::Down ? palette::magenta : palette::cyan);
    QFont f(QStringLiteral("DejaVu Sans"), 1);
    f.setPixelSize(13);
    f.setBold(true);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(f);
    p.setPen(look == Look::Normal ? palette::text : accent(look).lighter(120));
    p.drawText(r.adjusted(12, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, spec.label);
}

void drawStatus(QPainter& p, const QRectF& r, Look look) {
    p.setPen(Qt::NoPen);
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, look == Look::Normal ? QColor(30, 36, 20) : withAlpha(accent(look), 70));
    g.setColorAt(1, QColor(11, 14, 19, 0));
    p.fillRect(r, g);
    p.setBrush(QColor(255, 230, 40));
    p.drawEllipse(QPointF(r.left() + 8, r.center().y()), 3, 3);
}

} // namespace

QPolygonF chamfered(const QRectF& r, qreal cut) {
    QPolygonF poly;
    poly << QPointF(r.left() + cut, r.top()) << r.topRight() << QPointF(r.right(), r.bottom() - cut)
         << QPointF(r.right() - cut, r.bottom()) << r.bottomLeft()
         << QPointF(r.left(), r.top() + cut);
    return poly;
}

void glow(QPainter& p, const QPainterPath& path, const QColor& c, int radius) {
    p.save();
    p.setBrush(Qt::NoBrush);
    for (int k = radius; k >= 1; --k) {
        QColor g = c;
        g.setAlpha(22 + 16 * (radius - k));
        p.setPen(QPen(g, 2 * k, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
    }
    p.restore();
}

void drawColorMouse(QPainter& p, const QRect& rect, const QColor& c) {
    const QRectF r = rect;
    p.fillRect(r, QColor(9, 12, 16));
    QRadialGradient halo(r.center(), r.height() * 0.55);
    halo.setColorAt(0, withAlpha(c, 120));
    halo.setColorAt(1, withAlpha(c, 0));
    p.fillRect(r, halo);
    const qreal w = r.height() * 0.42;
    const QRectF body(r.center().x() - w / 2, r.top() + 24, w, r.height() - 48);
    QPainterPath mouse;
    mouse.addRoundedRect(body, w / 2, w / 1.6);
    glow(p, mouse, c, 6);
    QLinearGradient shell(body.topLeft(), body.topRight());
    shell.setColorAt(0, QColor(20, 24, 30));
    shell.setColorAt(0.5, QColor(40, 46, 56));
    shell.setColorAt(1, QColor(16, 19, 24));
    p.setPen(QPen(c.lighter(130), 2));
    p.setBrush(shell);
    p.drawPath(mouse);
    p.setPen(QPen(withAlpha(c, 200), 2));
    p.drawLine(QPointF(body.center().x(), body.top() + 2),
               QPointF(body.center().x(), body.top() + 70));
    p.setBrush(c);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(body.center().x() - 5, body.top() + 30, 10, 24), 5, 5);
    p.drawRoundedRect(QRectF(body.center().x() - 22, body.bottom() - 44, 44, 6), 3, 3);
    p.setPen(QPen(withAlpha(c, 160), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
}

void drawElement(QPainter& p, const ElementSpec& spec, Look look, int stage) {
    if (spec.rect.isEmpty()) {
        return;
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF r = spec.rect;
    switch (spec.kind) {
    case Kind::Empty:
        break;
    case Kind::Logo:
        drawLogo(p, r, look);
        break;
    case Kind::Caption:
        drawCaption(p, r, look);
        break;
    case Kind::Heading:
        drawHeading(p, spec, look);
        break;
    case Kind::Button:
        drawButton(p, r, look);
        break;
    case Kind::Tab:
        drawTab(p, r, look);
        break;
    case Kind::WindowButton:
        drawWindowButton(p, spec, look);
        break;
    case Kind::Emblem:
        drawEmblem(p, r, look);
        break;
    case Kind::Field:
        drawField(p, r, look);
        break;
    case Kind::Option:
        drawOption(p, r, look);
        break;
    case Kind::WheelOption:
        drawWheelOption(p, r, look);
        break;
    case Kind::StageButton:
        drawStageButton(p, r, look, stage);
        break;
    case Kind::Choice:
        drawChoice(p, r, look);
        break;
    case Kind::Led:
        drawLed(p, r, look, stage);
        break;
    case Kind::Chip:
        p.fillRect(r, withAlpha(QColor(stageColor(stage < 0 ? 0 : stage)),
                                look == Look::Normal ? 120 : 255));
        break;
    case Kind::Readout:
        drawReadout(p, r, look);
        break;
    case Kind::ColorPicture:
        break; // drawn per page picture with its colour
    case Kind::Panel:
        drawPanelBar(p, r, look);
        break;
    case Kind::Frame:
        drawFrame(p, r, look);
        break;
    case Kind::Status:
        drawStatus(p, r, look);
        break;
    }
    p.restore();
}

} // namespace skingen
