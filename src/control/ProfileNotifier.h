// Tells the user about a profile switch while the window is hidden: a desktop notification
// "Profile N" (org.freedesktop.Notifications on the session bus) that replaces the one before and
// goes after about 1.5 s. Switches made in the window itself are not announced. Without a
// session bus or a notification service nothing is shown and nothing fails.
#pragma once

#include "control/ProfileSwitcher.h"

#include <QDBusConnection>
#include <QObject>
#include <functional>

namespace veldran {

inline constexpr int kNotificationMilliseconds = 1500;

class ProfileNotifier : public QObject {
    Q_OBJECT
public:
    struct Conditions {
        std::function<bool()> windowHidden; // the main window is out of sight
        std::function<bool()> enabled;      // Notify in [Settings] of programs.ini
    };

    ProfileNotifier(QDBusConnection bus, Conditions conditions, QObject* parent = nullptr);

    // Adds this notifier as a listener of switcher's switches.
    void listenTo(ProfileSwitcher& switcher);
    // A switch to profile happened: announce it when the conditions hold.
    void switched(int profile, SwitchCause cause);

private:
    QDBusConnection bus_;
    Conditions conditions_;
    uint shownId_ = 0; // the notification to replace; 0 for none
};

} // namespace veldran
