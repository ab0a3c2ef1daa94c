// The tiny skin's pictures.
#include "skin/TinySkin.h"

#include <QDir>
#include <QFile>
#include <cstdlib>

namespace veldran::testing {

TinySkin::TinySkin() {
    QDir(dir_.path()).mkpath(QStringLiteral("skins"));
    QImage mask(kTinyWidth, kTinyHeight, QImage::Format_RGB32);
    mask.fill(Qt::black);
    writeMask(mask);
    writePicture("main_normal.jpg", tiny::mainNormal);
    writePicture("main_over.jpg", tiny::mainOver);
    writePicture("main_down.jpg", tiny::mainDown);
    writePicture("advanced_normal.jpg", tiny::advancedNormal);
    writePicture("advanced_over.jpg", tiny::advancedOver);
    writePicture("advanced_down.jpg", tiny::advancedDown);
    writePicture("color_normal_pink.jpg", tiny::colorNormal);
    writePicture("color_over_red.jpg", tiny::colorOver);
    writePicture("color_down_purple.jpg", tiny::colorDown);
    writePicture("color_over_blue.jpg", tiny::colorBlue);
    writePicture("dpi_slider.jpg", tiny::knob, 40, 40);
}

QString TinySkin::picturePath(const char* name) const {
    return QString::fromStdString((skinFolder() / name).string());
}

void TinySkin::writePicture(const char* name, const QColor& color, int width, int height) const {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    image.save(picturePath(name), "JPG", 100);
}

void TinySkin::writeMask(const QImage& mask) const {
    mask.save(picturePath("main_mask.jpg"), "JPG", 100);
}

void TinySkin::writeText(const char* name, const std::string& text, bool inSkins) const {
    const auto path = (inSkins ? skinFolder() : appFolder()) / name;
    QFile file(QString::fromStdString(path.string()));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(text.data(), static_cast<qint64>(text.size()));
    }
}

bool near(const QImage& image, int x, int y, const QColor& c, int tolerance) {
    const QColor p = image.pixelColor(x, y);
    return std::abs(p.red() - c.red()) <= tolerance &&
           std::abs(p.green() - c.green()) <= tolerance &&
           std::abs(p.blue() - c.blue()) <= tolerance;
}

} // namespace veldran::testing
