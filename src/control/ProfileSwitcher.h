// The one way to switch the mouse to another profile, shared by every door that asks for it: the
// window's profile buttons and Apply, the start-up, the mouse's next-profile button, the command
// line, D-Bus and the rules for the program in front.
#pragma once

#include <functional>
#include <string>

namespace veldran {

// Who asked for a switch. The cause decides only what is loaded, written and told:
// - WindowChoice (a profile button): the working profile shows profile n; nothing is sent or
//   written.
// - WindowApply (the Apply button) and Startup (the start-up Apply): the working profile is
//   applied as it stands and stored with CurConfig, also when nothing changed.
// - Button (the mouse's next-profile button), CommandLine, DBus: the user's choice. Profile n
//   becomes the selected one and is loaded, applied and stored; when the mouse holds it already
//   nothing is sent, and the window shows what the mouse holds.
// - ProgramRule: profile n is put on the mouse for the program in front; the working profile,
//   the selected profile and the files stay the user's.
// Every cause but ProgramRule counts as the user's own choice, the profile that the program
// rules return to when the focus leaves a program that has a rule.
enum class SwitchCause {
    WindowChoice,
    WindowApply,
    Startup,
    Button,
    CommandLine,
    DBus,
    ProgramRule
};

// What a switch came to. A failure carries the line that tells a caller why.
struct SwitchResult {
    enum class Outcome {
        Switched,         // done: sent, or (WindowChoice) shown
        Unchanged,        // the mouse held that profile already: nothing was sent
        InvalidProfile,   // not 1 to 5
        NotConnected,     // no mouse: nothing was sent or written
        SettingsNotSaved, // sent to the mouse, but config.ini could not be written
    };
    Outcome outcome = Outcome::Switched;
    std::string reason; // for SettingsNotSaved: which file could not be written

    bool ok() const { return outcome == Outcome::Switched || outcome == Outcome::Unchanged; }
    // The failure as one line ("" when ok): "the mouse is not connected", "settings not saved:
    // REASON", ...
    std::string text() const {
        switch (outcome) {
        case Outcome::InvalidProfile:
            return "the profile is 1 to 5";
        case Outcome::NotConnected:
            return "the mouse is not connected";
        case Outcome::SettingsNotSaved:
            return "settings not saved: " + reason;
        case Outcome::Switched:
        case Outcome::Unchanged:
            break;
        }
        return {};
    }
};

class ProfileSwitcher {
public:
    virtual ~ProfileSwitcher() = default;
    // The switch, as the cause says (above). Runs on the user-interface thread.
    virtual SwitchResult selectProfile(int profile, SwitchCause cause) = 0;
    // The profile the mouse holds (1-5).
    virtual int currentProfile() const = 0;
    // The profile the user chose last, by any cause but ProgramRule and WindowChoice (at start:
    // the one applied at start-up).
    virtual int userProfile() const = 0;

    // Told after every switch that changed the profile the mouse holds, whatever caused it (the
    // D-Bus signal, the desktop notification). Called on the user-interface thread.
    using SwitchListener = std::function<void(int profile, SwitchCause cause)>;
    virtual void addSwitchListener(SwitchListener listener) = 0;
};

} // namespace veldran
