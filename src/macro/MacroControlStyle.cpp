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
    }
    control.setPalette(palette);
    control.setAutoFillBackground(true);
    control.setFont(skinFont()); // the 10-point "宋体" face of the skinned windows
}

} // namespace veldran
