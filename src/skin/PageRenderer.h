// The paint of the main window's pages into a back buffer: the page layer (the current page's
// normal picture, its hot and selected elements, the DPI knobs, the wheel option, the recording
// button and the colour picture), the chrome layer (main elements 1 to 16 on every page) and the
// text layer (labels, the status line, the function names of the button fields, the resolution
// text and Record/Stop). The window copies the finished buffer in one operation.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <functional>

namespace veldran {

struct ConfigModel;
class ImageCache;
class MacroTable;
struct MacroEditorState;
struct SkinWindowState;

// One text drawn by the text layer: top-left corner of its cell, text and colour.
struct TextDraw {
    QPoint topLeft;
    QString text;
    QColor color;
};

// The text face of the skinned windows: "宋体" at 10 points, resolved to a Song/Ming face
// where neither it nor "SimSun" is installed.
QFont skinFont();
// Registers the Song/Ming fallback for "宋体" and "SimSun" (once per process).
void installSkinFontFallback();
// Dots per metre of the back buffers: 96 dots per inch, the resolution the skin is drawn for.
inline constexpr int kSkinDotsPerMeter = 3780;

class PageRenderer {
public:
    PageRenderer(SkinWindowState& state, const MacroEditorState& editor, const ConfigModel& model,
                 const MacroTable& macros, ImageCache& images);

    // Composes the whole window (mask size) and returns the back buffer; a null image when the
    // mask could not be decoded. Stores the texts it writes: the status line label, the
    // Record/Stop label and the macro names in the function-name table.
    const QImage& render();

    // Loads the text face now instead of at the first paint.
    void prepareTextFace() const { metrics_.height(); }
    // The pictures the paint of the current page reads, and the path of a skin picture.
    QStringList pagePictures() const;
    QString skinPath(const char* name) const;

    // Called for every text the text layer draws (tests record them here).
    void setTextObserver(std::function<void(const TextDraw&)> observer) {
        observer_ = std::move(observer);
    }

private:
    struct Context;
    void pageLayer(Context& c);
    void chromeLayer(Context& c);
    void textLayer(Context& c);
    void drawText(Context& c, int x, int y, const QString& text, const QColor& color);
    void drawCentred(Context& c, int x, int y, int width, int height, const QString& text,
                     const QColor& color);
    QString statusText() const;

    SkinWindowState& state_;
    const MacroEditorState& editor_;
    const ConfigModel& model_;
    const MacroTable& macros_;
    ImageCache& images_;
    QImage back_;
    QFont font_;           // the text face, made once
    QFontMetrics metrics_; // measured at the back buffer's resolution
    std::function<void(const TextDraw&)> observer_;
};

} // namespace veldran
