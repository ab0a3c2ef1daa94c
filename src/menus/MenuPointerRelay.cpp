#include "menus/MenuPointerRelay.h"

#include "menus/CMenuDlg.h"
#include "menus/CSubMenuDlg.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

namespace veldran {

namespace {

// Whether the window shows a pixel at local point at: inside it and inside its shape.
bool shapeHolds(const QWidget& window, QPoint at) {
    if (!window.isVisible() || !window.rect().contains(at)) {
        return false;
    }
    const QRegion shape = window.mask();
    return shape.isEmpty() || shape.contains(at);
}

bool isRelayed(const QMouseEvent& event) {
    switch (event.type()) {
    case QEvent::MouseMove:
        return (event.buttons() & Qt::LeftButton) != 0;
    case QEvent::MouseButtonRelease:
        return event.button() == Qt::LeftButton;
    default:
        return false;
    }
}

} // namespace

QWidget* menuWindowAt(CMenuDlg* menu, QPoint global) {
    if (menu == nullptr || menu->isDestroying()) {
        return nullptr;
    }
    // The advanced function menu lies beside the function menu; look at it first all the same,
    // so that a skin whose menus overlap gives the pointer to the one opened last.
    QWidget* const windows[] = {menu->advancedMenu(), menu};
    for (QWidget* window : windows) {
        if (window != nullptr && shapeHolds(*window, window->mapFromGlobal(global))) {
            return window;
        }
    }
    return nullptr;
}

bool relayHeldPointerTo(QWidget* window, const QMouseEvent& event) {
    if (window == nullptr || !isRelayed(event)) {
        return false;
    }
    const QPointF global = event.globalPosition();
    if (!shapeHolds(*window, window->mapFromGlobal(global.toPoint()))) {
        return false;
    }
    QMouseEvent relayed(event.type(), window->mapFromGlobal(global), global, event.button(),
                        event.buttons(), event.modifiers(), event.pointingDevice());
    QCoreApplication::sendEvent(window, &relayed);
    return true;
}

bool relayHeldPointer(CMenuDlg* menu, const QMouseEvent& event) {
    return isRelayed(event) &&
           relayHeldPointerTo(menuWindowAt(menu, event.globalPosition().toPoint()), event);
}

} // namespace veldran
