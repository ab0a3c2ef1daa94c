#include "macro/MacroControlStyle.h"

#include "skin/PageRenderer.h"

#include <QPalette>
#include <QWidget>

namespace veldran {

void applyMacroControlStyle(QWidget& control) {
    QPalette palette = control.palette();
    const QColor background = QColor::fromRgb(kControlBackground);
    const QColor text = QColor::fromRgb(kControlText);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Base, background);
        palette.setColor(group, QPalette::Window, background);
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::WindowText, text);
        // Scroll bars and frames in dark greys, and the selection in the menus' teal, so that
        // nothing in the controls stands out light against the dark skin.
        palette.setColor(group, QPalette::Button, QColor(48, 48, 48));
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::Light, QColor(78, 78, 78));
        palette.setColor(group, QPalette::Midlight, QColor(62, 62, 62));
        palette.setColor(group, QPalette::Mid, QColor(40, 40, 40));
        palette.setColor(group, QPalette::Dark, QColor(24, 24, 24));
        palette.setColor(group, QPalette::Shadow, QColor(10, 10, 10));
        palette.setColor(group, QPalette::Highlight, QColor(0, 120, 153));
        palette.setColor(group, QPalette::HighlightedText, text);
    }
    control.setPalette(palette);
    control.setAutoFillBackground(true);
    control.setFont(skinFont()); // the 10-point "宋体" face of the skinned windows
}

} // namespace veldran
