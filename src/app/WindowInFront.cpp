#include "app/WindowInFront.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace veldran {
namespace {

void mapNormalRaiseAndFocus(QWidget& window) {
    // A window hidden while minimised keeps that state and would be mapped iconic: it leaves it
    // before it is mapped.
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace

void showWindowInFront(QWidget& window) {
    mapNormalRaiseAndFocus(window);
    QTimer::singleShot(kSecondLookAtShownWindow, &window, [shown = QPointer<QWidget>(&window)] {
        if (shown != nullptr && shown->isVisible() && shown->isMinimized()) {
            shown->showNormal();
            mapNormalRaiseAndFocus(*shown);
        }
    });
}

} // namespace veldran
