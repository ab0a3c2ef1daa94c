#include "app/WindowInFront.h"

#include <QTimer>
#include <QWidget>

namespace veldran {
namespace {

constexpr const char* kSecondLookName = "veldran-second-look";

void mapNormalRaiseAndFocus(QWidget& window) {
    // A window hidden while minimised keeps that state and would be mapped iconic: it leaves it
    // before it is mapped.
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
}

QTimer* secondLook(QWidget& window) {
    return window.findChild<QTimer*>(QLatin1String(kSecondLookName), Qt::FindDirectChildrenOnly);
}

} // namespace

void showWindowInFront(QWidget& window) {
    mapNormalRaiseAndFocus(window);
    // One timer per window, started again by every show: the look comes after the last one.
    QTimer* look = secondLook(window);
    if (look == nullptr) {
        look = new QTimer(&window);
        look->setObjectName(QLatin1String(kSecondLookName));
        look->setSingleShot(true);
        look->setInterval(kSecondLookAtShownWindow);
        QObject::connect(look, &QTimer::timeout, &window, [&window] {
            if (window.isVisible() && window.isMinimized()) {
                window.showNormal();
                mapNormalRaiseAndFocus(window);
            }
        });
    }
    look->start();
}

void cancelSecondLook(QWidget& window) {
    if (QTimer* look = secondLook(window)) {
        look->stop();
    }
}

} // namespace veldran
