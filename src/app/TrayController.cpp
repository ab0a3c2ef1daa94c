#include "app/TrayController.h"

#include "app/WindowInFront.h"
#include "macro/CQelMenu.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QMouseEvent>
#include <QWidget>

namespace veldran {

TrayController::TrayController(QWidget& window, CQelMenu& trayMenu, Hooks hooks, QObject* parent)
    : QObject(parent), window_(window), trayMenu_(trayMenu), hooks_(std::move(hooks)) {
    window_.installEventFilter(this);
    if (QMenu* popup = trayMenu_.popup()) {
        connect(popup, &QMenu::triggered, this,
                [this](QAction* action) { onCommand(action->data().toInt()); });
    }
    setMacrosPlaying(false);
}

void TrayController::setMacrosPlaying(bool playing) {
    if (QMenu* popup = trayMenu_.popup()) {
        for (QAction* action : popup->actions()) {
            if (action->data().toInt() == kCmdStopMacros) {
                action->setVisible(playing);
            }
        }
    }
}

TrayController::~TrayController() = default;

bool TrayController::notificationAreaPresent() const {
    return hooks_.notificationAreaPresent ? hooks_.notificationAreaPresent()
                                          : QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayController::hideToTray() {
    cancelSecondLook(window_);
    if (!notificationAreaPresent()) {
        // Nothing could show a hidden window again but a second start: minimised, its taskbar
        // or overview entry brings it back.
        window_.showMinimized();
        return;
    }
    if (icon_ == nullptr) {
        // The icon is loaded again each time it is added.
        icon_ = new QSystemTrayIcon(QIcon(QStringLiteral(":/veldran/icon.png")), this);
        icon_->setToolTip(toolTip());
        connect(icon_, &QSystemTrayIcon::activated, this, &TrayController::onActivated);
    }
    icon_->show();
    // A window that was never on the screen (a hidden start) has nothing to minimise: mapping it
    // minimised only to unmap it at once leaves the window manager a state to trip over later.
    if (window_.isVisible()) {
        window_.showMinimized();
    }
    window_.hide();
}

QString TrayController::toolTip() const {
    const QString name = QString::fromUtf8(kTrayToolTip);
    return toolTipNote_.isEmpty() ? name : name + QLatin1Char('\n') + toolTipNote_;
}

void TrayController::setToolTipNote(const QString& note) {
    toolTipNote_ = note;
    if (icon_ != nullptr) {
        icon_->setToolTip(toolTip());
    }
}

void TrayController::removeIcon() {
    if (icon_ == nullptr) {
        return;
    }
    // The icon may be the sender of the signal being handled: delete it once that is over.
    icon_->hide();
    icon_->deleteLater();
    icon_ = nullptr;
}

bool TrayController::iconShown() const {
    return icon_ != nullptr && icon_->isVisible();
}

void TrayController::showAndRestore() {
    showWindowInFront(window_);
}

void TrayController::onActivated(QSystemTrayIcon::ActivationReason reason) {
    // An XEmbed tray reports the icon's own presses, so their button is held now; a
    // StatusNotifierItem host clicks in its own process and sends the outcome.
    const Qt::MouseButtons held = QGuiApplication::mouseButtons();
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
        removeIcon();
        showAndRestore();
        break;
    case QSystemTrayIcon::Trigger:
        if (!(held & Qt::LeftButton)) {
            // The host's activation: its click plays the double-click of an XEmbed tray.
            removeIcon();
            showAndRestore();
        }
        break;
    case QSystemTrayIcon::Context:
        if (held & Qt::RightButton) {
            // The press on an XEmbed icon: the menu opens on the release.
            menuOnRightRelease_ = true;
            qApp->installEventFilter(this);
        } else {
            showTrayMenu();
        }
        break;
    default:
        break;
    }
}

void TrayController::showTrayMenu() {
    if (QMenu* popup = trayMenu_.popup()) {
        popup->popup(QCursor::pos());
    }
}

void TrayController::onCommand(int id) {
    if (id == kCmdShowWindow) {
        showAndRestore();
        removeIcon();
    } else if (id == kCmdStopMacros) {
        if (stopMacros_) {
            stopMacros_();
        }
    } else if (id == kCmdProgramProfiles) {
        if (programProfiles_) {
            programProfiles_();
        }
    } else if (id == kCmdExitDriver) {
        if (hooks_.defaults) {
            hooks_.defaults();
        }
        if (hooks_.pause10ms) {
            hooks_.pause10ms();
        }
        exiting_ = true;
        if (hooks_.exitSequence) {
            hooks_.exitSequence();
        }
    }
}

bool TrayController::eventFilter(QObject* watched, QEvent* event) {
    if (menuOnRightRelease_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        // The icon holds the pointer from its press on, so this is the release over it.
        menuOnRightRelease_ = false;
        qApp->removeEventFilter(this);
        QMetaObject::invokeMethod(this, &TrayController::showTrayMenu, Qt::QueuedConnection);
        return false;
    }
    if (watched == &window_ && event->type() == QEvent::Close && !exiting_) {
        // The exit sequence destroys the window: run it once this close event is over. Its own
        // closing of the window then goes through.
        exiting_ = true;
        event->ignore();
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (hooks_.exitSequence) {
                    hooks_.exitSequence();
                }
            },
            Qt::QueuedConnection);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace veldran
