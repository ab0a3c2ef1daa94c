// Full-window pictures of the default skin, composed from the layout table and the looks.
#include "PagePictures.h"

#include "Looks.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <cmath>

namespace skingen {
namespace {

constexpr int kHeaderBottom = 96;
constexpr int kFooterTop = 538;

// Points on the mouse drawing that the leader line of each button field ends at.
const QPointF kButtonPoints[7] = {{284, 196}, {340, 196}, {312, 192}, {253, 322},
                                  {253, 284}, {312, 231}, {281, 240}};

QImage blank() {
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(palette::background);
    return img;
}

void panel(QPainter& p, const QRect& r) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(r, palette::panel);
    p.setPen(palette::panelBorder);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.fillRect(QRect(r.left(), r.top(), 28, 2), palette::cyan);
    p.fillRect(QRect(r.right() - 27, r.bottom() - 1, 28, 2), palette::magenta.darker(130));
}

void chrome(QPainter& p) {
    const QPainterPath outline = windowOutline();
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient body(0, 0, 0, kHeight);
    body.setColorAt(0, QColor(17, 22, 29));
    body.setColorAt(1, QColor(9, 11, 15));
    p.fillPath(outline, body);
    p.save();
    p.setClipPath(outline);
    // Header band with fine diagonal hatching.
    p.fillRect(QRect(0, 0, kWidth, kHeaderBottom), QColor(20, 26, 34));
    p.setPen(QPen(QColor(255, 255, 255, 9), 1));
    for (int x = -kHeaderBottom; x < kWidth; x += 6) {
        p.drawLine(x, kHeaderBottom, x + kHeaderBottom, 0);
    }
    p.fillRect(QRect(0, kFooterTop, kWidth, kHeight - kFooterTop), QColor(16, 20, 27));
    QLinearGradient line(0, 0, kWidth, 0);
    line.setColorAt(0, QColor(25, 227, 255, 0));
    line.setColorAt(0.3, QColor(25, 227, 255, 200));
    line.setColorAt(0.7, QColor(255, 45, 120, 200));
    line.setColorAt(1, QColor(255, 45, 120, 0));
    p.fillRect(QRect(0, kHeaderBottom - 2, kWidth, 2), line);
    p.fillRect(QRect(0, kFooterTop, kWidth, 1), QColor(50, 62, 78));
    p.restore();
    p.setPen(QPen(QColor(25, 227, 255, 150), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(outline);
    // Accents along the chamfered corners.
    p.setPen(QPen(palette::magenta, 3));
    p.drawLine(QPointF(4, 40), QPointF(40, 4));
    p.drawLine(QPointF(796, 564), QPointF(764, 596));
}

void mouseDrawing(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath body;
    body.moveTo(262, 232);
    body.cubicTo(260, 172, 290, 150, 312, 150);
    body.cubicTo(334, 150, 364, 172, 362, 232);
    body.lineTo(368, 384);
    body.cubicTo(370, 452, 345, 484, 312, 484);
    body.cubicTo(279, 484, 254, 452, 256, 384);
    body.closeSubpath();
    glow(p, body, QColor(25, 227, 255, 120), 5);
    QLinearGradient shell(250, 0, 370, 0);
    shell.setColorAt(0, QColor(22, 27, 34));
    shell.setColorAt(0.5, QColor(44, 52, 63));
    shell.setColorAt(1, QColor(18, 22, 28));
    p.setPen(QPen(QColor(90, 110, 130), 1.5));
    p.setBrush(shell);
    p.drawPath(body);
    p.setPen(QPen(QColor(10, 12, 16), 2));
    p.drawLine(QPointF(312, 151), QPointF(312, 258));
    QPainterPath split;
    split.moveTo(262, 262);
    split.quadTo(312, 276, 362, 262);
    p.setBrush(Qt::NoBrush);
    p.drawPath(split);
    p.setPen(QPen(QColor(25, 227, 255), 1));
    p.setBrush(QColor(12, 14, 18));
    p.drawRoundedRect(QRectF(305, 176, 14, 34), 6, 6);
    p.setBrush(QColor(25, 227, 255, 90));
    p.drawRoundedRect(QRectF(306, 222, 12, 18), 3, 3);
    p.drawRoundedRect(QRectF(276, 232, 10, 16), 3, 3);
    p.setBrush(QColor(30, 36, 44));
    p.setPen(QPen(QColor(120, 140, 160), 1));
    p.drawRoundedRect(QRectF(249, 270, 9, 28), 3, 3);
    p.drawRoundedRect(QRectF(249, 306, 9, 30), 3, 3);
    // Logo stripe on the palm.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 45, 120, 180));
    p.drawRoundedRect(QRectF(296, 420, 32, 5), 2, 2);
}

void leaderLines(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    const auto& t = mainElements();
    for (int k = 0; k < 7; ++k) {
        const QRect field = t[static_cast<std::size_t>(17 + k)].rect;
        const QPointF start(field.right() + 2, field.center().y());
        const QPointF elbow(204 + k * 4, start.y());
        p.setPen(QPen(QColor(25, 227, 255, 110), 1));
        p.drawLine(start, elbow);
        p.drawLine(elbow, kButtonPoints[k]);
        p.setPen(Qt::NoPen);
        p.setBrush(palette::cyan);
        p.drawEllipse(kButtonPoints[k], 3, 3);
    }
}

void dpiTable(QPainter& p) {
    const auto& t = mainElements();
    QFont f(QStringLiteral("DejaVu Sans"), 1);
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    for (int code = 0; code < 4; ++code) {
        const QRect choice = t[static_cast<std::size_t>(45 + code)].rect;
        p.setPen(palette::dimText);
        p.drawText(QRect(choice.left() + 7, 134, 46, 16), Qt::AlignCenter,
                   QString::number(choiceResolution(code)));
    }
    for (int stage = 0; stage < 4; ++stage) {
        const QRect row = t[static_cast<std::size_t>(41 + stage)].rect;
        const int y = row.center().y();
        p.fillRect(QRect(534, y - 1, 232, 3), QColor(46, 56, 70));
    }
}

void colorDecorations(QPainter& p) {
    const auto& t = colorElements();
    p.setRenderHint(QPainter::Antialiasing, true);
    for (int k = 0; k < 4; ++k) {
        const QRectF r = t[static_cast<std::size_t>(k)].rect;
        const QPointF o(r.right() - 70, r.center().y());
        p.setPen(QPen(QColor(25, 227, 255, 200), 2));
        p.setBrush(Qt::NoBrush);
        if (k == 0) {
            QPainterPath wave;
            wave.moveTo(o);
            for (int i = 1; i <= 56; ++i) {
                wave.lineTo(o.x() + i, o.y() - 9 * std::sin(i / 56.0 * 6.2832));
            }
            p.drawPath(wave);
        } else if (k == 1) {
            p.drawLine(o, o + QPointF(56, 0));
        } else if (k == 2) {
            for (int i = 0; i < 4; ++i) {
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(stageColor(i)));
                p.drawEllipse(o + QPointF(6 + i * 15, 0), 5, 5);
            }
        } else {
            p.setPen(QPen(QColor(120, 136, 156), 2));
            p.drawEllipse(o + QPointF(28, 0), 9, 9);
            p.drawLine(o + QPointF(21, 7), o + QPointF(35, -7));
        }
    }
    QFont f(QStringLiteral("DejaVu Sans"), 1);
    f.setPixelSize(12);
    f.setBold(true);
    p.setFont(f);
    p.setPen(palette::dimText);
    const QRect readout = t[5].rect;
    p.drawText(QRect(readout.right() + 8, readout.top(), 40, readout.height()),
               Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("DPI"));
}

void drawTable(QPainter& p, const std::vector<ElementSpec>& table, Look look, bool mainPage) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        int stage = -1;
        if (mainPage && i >= 41 && i <= 44) {
            stage = static_cast<int>(i) - 41;
        } else if (mainPage && i >= 65 && i <= 68) {
            stage = static_cast<int>(i) - 65;
        } else if (mainPage && i >= 45 && i <= 64) {
            stage = static_cast<int>(i - 45) / 5;
        }
        drawElement(p, table[i], look, stage);
    }
}

} // namespace

QPainterPath windowOutline() {
    QPolygonF poly;
    poly << QPointF(0, 44) << QPointF(44, 0) << QPointF(340, 0) << QPointF(362, 16)
         << QPointF(762, 16) << QPointF(800, 54) << QPointF(800, 560) << QPointF(760, 600)
         << QPointF(40, 600) << QPointF(0, 560);
    QPainterPath path;
    path.addPolygon(poly);
    path.closeSubpath();
    return path;
}

QImage maskPicture() {
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillPath(windowOutline(), Qt::black);
    return img;
}

QImage pagePicture(Page page, Look look, QColor colorPicture) {
    QImage img = blank();
    QPainter p(&img);
    chrome(p);
    const auto& main = mainElements();
    if (page == Page::Main) {
        panel(p, QRect(16, 100, 384, 432));
        panel(p, QRect(410, 100, 374, 290));
        panel(p, QRect(410, 398, 374, 134));
        leaderLines(p);
        mouseDrawing(p);
        dpiTable(p);
        drawTable(p, main, look, true);
        return img;
    }
    // The chrome and the logo of the other pages are the main page's, at rest.
    for (std::size_t i = 0; i <= 16; ++i) {
        drawElement(p, main[i], Look::Normal);
    }
    if (page == Page::Color) {
        panel(p, QRect(16, 100, 384, 432));
        panel(p, QRect(410, 100, 374, 432));
        drawElement(
            p,
            ElementSpec{
                QRect(28, 106, 300, 22), QStringLiteral("LIGHTING EFFECT"), Kind::Heading, {}},
            Look::Normal);
        const auto& table = colorElements();
        drawTable(p, table, look, false);
        drawColorMouse(p, table[7].rect, colorPicture);
        colorDecorations(p);
    } else {
        panel(p, QRect(16, 100, 768, 432));
        p.fillRect(QRect(602, 140, 1, 360), palette::panelBorder);
        drawTable(p, advancedElements(), look, false);
    }
    return img;
}

QImage knobPicture() {
    QImage img(46, 30, QImage::Format_RGB32);
    img.fill(palette::panel);
    QPainter p(&img);
    p.fillRect(QRect(0, 14, 46, 3), QColor(46, 56, 70));
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath knob;
    knob.addRoundedRect(QRectF(15, 2, 16, 26), 6, 6);
    glow(p, knob, palette::cyan, 3);
    QLinearGradient g(15, 0, 31, 0);
    g.setColorAt(0, QColor(10, 150, 180));
    g.setColorAt(0.5, QColor(170, 250, 255));
    g.setColorAt(1, QColor(10, 120, 150));
    p.setPen(QPen(palette::cyan, 1));
    p.setBrush(g);
    p.drawPath(knob);
    p.setPen(QPen(QColor(8, 20, 26), 1.5));
    p.drawLine(QPointF(23, 8), QPointF(23, 22));
    return img;
}

QImage menuMask(int rows) {
    QImage img(kMenuWidth, rows * kMenuRowHeight + 1, QImage::Format_RGB32);
    img.fill(Qt::black);
    return img;
}

QImage menuPicture(int rows, Look look, bool arrows) {
    QImage img = menuMask(rows);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    for (int row = 0; row < rows; ++row) {
        const QRectF r(0, row * kMenuRowHeight, kMenuWidth, kMenuRowHeight);
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        if (look == Look::Normal) {
            g.setColorAt(0, QColor(30, 36, 45));
            g.setColorAt(1, QColor(20, 24, 31));
        } else {
            // The row under the pointer carries the program's red text: its band stays nearly
            // black (about 5:1 against pure red) and shows itself by its coloured edges.
            const bool over = look == Look::Over;
            g.setColorAt(0, over ? QColor(6, 16, 20) : QColor(20, 4, 10));
            g.setColorAt(1, over ? QColor(2, 6, 8) : QColor(8, 1, 4));
        }
        p.fillRect(r, g);
        if (look != Look::Normal) {
            const QColor edge = look == Look::Over ? palette::cyan : palette::magenta;
            p.fillRect(QRectF(0, r.top(), 4, r.height()), edge);
            QColor line = edge;
            line.setAlpha(170);
            p.fillRect(QRectF(4, r.top(), kMenuWidth - 4, 1), line);
            p.fillRect(QRectF(4, r.bottom() - 2, kMenuWidth - 4, 1), line);
        }
        p.fillRect(QRectF(0, r.bottom() - 1, kMenuWidth, 1), QColor(8, 10, 13));
        if (arrows && row >= 6) {
            const QPointF c(kMenuWidth - 14, r.center().y());
            QPolygonF tri;
            tri << c + QPointF(-3, -5) << c + QPointF(3, 0) << c + QPointF(-3, 5);
            p.setPen(Qt::NoPen);
            p.setBrush(look == Look::Normal ? palette::dimText : palette::text);
            p.drawPolygon(tri);
        }
    }
    p.setPen(QPen(QColor(25, 227, 255, 140), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, kMenuWidth - 1, rows * kMenuRowHeight));
    return img;
}

} // namespace skingen
