#include "app/WindowMenu.h"

#include "app/CAboutDlg.h"
#include "app/WindowInFront.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

namespace veldran {

WindowMenu::WindowMenu(QWidget& window, QObject* parent)
    : QObject(parent), window_(window), menu_(std::make_unique<QMenu>()) {
    QAction* restore = menu_->addAction(tr("&Restore"), &window_, &QWidget::showNormal);
    menu_->addAction(tr("Mi&nimize"), &window_, [this] {
        cancelSecondLook(window_);
        window_.showMinimized();
    });
    menu_->addSeparator();
    menu_->addAction(tr("&Close\tAlt+F4"), &window_, &QWidget::close);
    menu_->addSeparator();
    menu_->addAction(tr(kAboutItemText), this, &WindowMenu::showAbout);
    connect(menu_.get(), &QMenu::aboutToShow, this,
            [this, restore] { restore->setEnabled(window_.isMinimized()); });
    // Key presses go to the focused control first: watch them all, keep those of this window.
    qApp->installEventFilter(this);
}

WindowMenu::~WindowMenu() {
    qApp->removeEventFilter(this);
}

void WindowMenu::open() {
    menu_->popup(window_.mapToGlobal(QPoint(0, 0)));
}

void WindowMenu::showAbout() {
    CAboutDlg about(&window_);
    about.exec();
}

bool WindowMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) {
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != &window_) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_Space && modifiers == Qt::AltModifier) {
        open();
        return true;
    }
    return false;
}

} // namespace veldran
