// A small skin in a temporary folder for the skin and main window tests: every page picture is
// one solid colour, so a pixel tells which picture it was copied from.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <filesystem>
#include <string>

namespace veldran::testing {

inline constexpr int kTinyWidth = 200;
inline constexpr int kTinyHeight = 120;

// Colours of the pictures, far enough apart to survive JPEG coding.
namespace tiny {
inline const QColor mainNormal(20, 20, 20);
inline const QColor mainOver(0, 200, 0);
inline const QColor mainDown(200, 0, 0);
inline const QColor advancedNormal(60, 60, 60);
inline const QColor advancedOver(0, 200, 200);
inline const QColor advancedDown(200, 0, 200);
inline const QColor colorNormal(255, 150, 200);
inline const QColor colorOver(255, 0, 0);
inline const QColor colorDown(120, 0, 200);
inline const QColor colorBlue(0, 0, 255);
inline const QColor knob(230, 230, 0);
} // namespace tiny

class TinySkin {
public:
    // An application folder with skins/ holding the pictures (no layout files).
    TinySkin();

    std::filesystem::path appFolder() const { return dir_.path().toStdString(); }
    std::filesystem::path skinFolder() const { return appFolder() / "skins"; }
    QString picturePath(const char* name) const;

    // Writes a picture of one colour (size defaults to the window size).
    void writePicture(const char* name, const QColor& color, int width = kTinyWidth,
                      int height = kTinyHeight) const;
    void writeMask(const QImage& mask) const;
    // Writes a text file into the skin folder (or, with inSkins false, the application folder).
    void writeText(const char* name, const std::string& text, bool inSkins = true) const;

private:
    QTemporaryDir dir_;
};

// Whether the colour at (x, y) of image is c, within what JPEG coding changes.
bool near(const QImage& image, int x, int y, const QColor& c, int tolerance = 24);

} // namespace veldran::testing
