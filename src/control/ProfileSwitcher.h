// The one way to switch the mouse to another profile, shared by every door that asks for it: the
// window's profile-cycle button, the command line, D-Bus and the rules for the program in front.
#pragma once

#include <functional>

namespace veldran {

// Who asked for a switch. Every cause but ProgramRule counts as the user's own choice, the
// profile that the program rules return to when the focus leaves a program that has a rule.
enum class SwitchCause { Window, Button, CommandLine, DBus, ProgramRule };

class ProfileSwitcher {
public:
    virtual ~ProfileSwitcher() = default;
    // Makes profile n (1-5) the current one and applies it to the mouse, as the profile-cycle
    // button does: CurConfig = n, load it, Apply, repaint. A switch to the profile that is already
    // applied sends nothing. Runs on the user-interface thread. False when n is out of range or
    // the mouse is absent.
    virtual bool selectProfile(int profile, SwitchCause cause) = 0;
    // The profile applied last (1-5).
    virtual int currentProfile() const = 0;
    // The profile the user chose last, by any cause but ProgramRule (at start: the one applied
    // at start-up).
    virtual int userProfile() const = 0;

    // Told after every switch that changed the applied profile, whatever caused it (the D-Bus
    // signal, the desktop notification). Called on the user-interface thread.
    using SwitchListener = std::function<void(int profile, SwitchCause cause)>;
    virtual void addSwitchListener(SwitchListener listener) = 0;
};

} // namespace veldran
