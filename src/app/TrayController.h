// The main window's visibility: hiding it into the notification area and bringing it back (by a
// double-click on the icon, the tray menu or a second start), leaving the driver from the tray
// menu, and closing the window, which ends the program without sending anything. Without any
// notification area, hiding minimises the window instead, so that its taskbar entry brings it
// back. Two kinds of notification area are served: XEmbed trays, which pass on the icon's own
// presses and releases, and StatusNotifierItem hosts, which send an activation for a click and
// a request for the context menu, never a double-click.
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
        // Whether a notification area is there to take the icon; unset: ask the desktop.
        std::function<bool()> notificationAreaPresent;
    };

    // trayMenu is the owner-drawn tray menu; its pop-up is shown on a right-click on the icon.
    TrayController(QWidget& window, CQelMenu& trayMenu, Hooks hooks, QObject* parent = nullptr);
    ~TrayController() override;

    // The one place that decides how the window leaves the screen: with a notification area,
    // adds the icon, then minimises and hides the window; without one, only minimises it (a
    // hidden window without an icon could not be brought back).
    void hideToTray();
    bool notificationAreaPresent() const;
    // Replaces the desktop's answer to whether a notification area is there.
    void setNotificationAreaCheck(std::function<bool()> check) {
        hooks_.notificationAreaPresent = std::move(check);
    }
    // What the tray menu's "Profiles for programs" opens.
    void setProgramProfilesCommand(std::function<void()> command) {
        programProfiles_ = std::move(command);
    }
    // What the tray menu's "Stop macros" does; the item is shown only while macros play.
    void setStopMacrosCommand(std::function<void()> command) { stopMacros_ = std::move(command); }
    void setMacrosPlaying(bool playing);
    // A line the icon's tooltip adds below the program's name (a recording that runs); empty for
    // none.
    void setToolTipNote(const QString& note);
    QString toolTip() const;

    // Removes the icon; nothing when there is none.
    void removeIcon();
    bool iconShown() const;
    QSystemTrayIcon* icon() const { return icon_; }

    // Shows the window and restores it from the minimised state.
    void showAndRestore();
    // What the icon reports. On an XEmbed tray (the icon's own button is held): a double-click
    // brings the window back, the right button opens the tray menu at the pointer on its
    // release, a single click does nothing. From a StatusNotifierItem host (no button of ours is
    // held): the activation brings the window back and the context request opens the menu at
    // once.
    void onActivated(QSystemTrayIcon::ActivationReason reason);
    // The tray menu's commands: 32801 shows the window, 32802 opens the program rules, 32803
    // stops the macros, 32800 leaves the driver.
    void onCommand(int id);

protected:
    // Closing the window (window manager, Alt+F4) runs the exit sequence instead of the
    // standard close.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showTrayMenu();

    QWidget& window_;
    CQelMenu& trayMenu_;
    Hooks hooks_;
    std::function<void()> programProfiles_;
    std::function<void()> stopMacros_;
    QString toolTipNote_;
    QPointer<QSystemTrayIcon> icon_;
    bool exiting_ = false;
    bool menuOnRightRelease_ = false;
};

} // namespace veldran
