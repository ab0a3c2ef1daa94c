// The main window's visibility: hiding it into the notification area and bringing it back (by a
// double-click on the icon, the tray menu or a second start), leaving the driver from the tray
// menu, and closing the window, which ends the program without sending anything.
#pragma once

#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <functional>

class QWidget;

namespace veldran {

class CQelMenu;

inline constexpr const char* kTrayToolTip = "VELDRAN GAMING MOUSE";

class TrayController : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<void()> defaults;     // factory values into the profile and the mouse
        std::function<void()> pause10ms;    // the pause between Defaults and the end
        std::function<void()> exitSequence; // ends the program
    };

    // trayMenu is the owner-drawn tray menu; its pop-up is shown on a right-click on the icon.
    TrayController(QWidget& window, CQelMenu& trayMenu, Hooks hooks, QObject* parent = nullptr);
    ~TrayController() override;

    // Adds the icon (where there is no notification area it simply does not appear), then
    // minimises and hides the window.
    void hideToTray();
    // Removes the icon; nothing when there is none.
    void removeIcon();
    bool iconShown() const;
    QSystemTrayIcon* icon() const { return icon_; }

    // Shows the window and restores it from the minimised state.
    void showAndRestore();
    // What the icon reports: a double-click brings the window back, a right-click opens the
    // tray menu at the pointer; anything else does nothing.
    void onActivated(QSystemTrayIcon::ActivationReason reason);
    // The tray menu's commands: 32801 shows the window, 32800 leaves the driver.
    void onCommand(int id);

protected:
    // Closing the window (window manager, Alt+F4) runs the exit sequence instead of the
    // standard close.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    CQelMenu& trayMenu_;
    Hooks hooks_;
    QPointer<QSystemTrayIcon> icon_;
    bool exiting_ = false;
};

} // namespace veldran
