#include "macro/MacroControlStyle.h"

#include <QPalette>
#include <QWidget>

namespace veldran {

QFont songFont(int points) {
    static const bool substituted = [] {
        const QStringList fallbacks = {QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN"),
                                       QStringLiteral("AR PL UMing TW"),
                                       QStringLiteral("Noto Serif CJK SC")};
        QFont::insertSubstitutions(QString::fromUtf8("宋体"), fallbacks);
        return true;
    }();
    (void)substituted;
    QFont font(QString::fromUtf8("宋体"));
    font.setPointSize(points);
    return font;
}

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
    control.setFont(songFont());
}

} // namespace veldran
