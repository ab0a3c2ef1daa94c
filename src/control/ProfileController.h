// The profile controller: the one place where a profile is selected, loaded, put on the mouse and
// stored, whichever door asks (the window's profile buttons and Apply, the start-up, the mouse's
// next-profile button, the command line, D-Bus, the program rules). It tells its listeners after
// every switch that changed the profile the mouse holds.
#pragma once

#include "config/Profile.h"
#include "control/ProfileSwitcher.h"

#include <vector>

namespace veldran {

class DeviceLink;
class DeviceProtocol;
class ProfileStore;

class ProfileController final : public ProfileSwitcher {
public:
    ProfileController(ConfigModel& model, ProfileStore& store, DeviceProtocol& protocol,
                      const DeviceLink& link);

    // For WindowApply and Startup, profile is the window's CurConfig, applied whatever it holds.
    SwitchResult selectProfile(int profile, SwitchCause cause) override;
    int currentProfile() const override { return applied_; }
    int userProfile() const override { return user_; }
    void addSwitchListener(SwitchListener listener) override;

    // The profile after the one the mouse holds (5 wraps to 1), switched as selectProfile does.
    SwitchResult selectNextProfile(SwitchCause cause);
    // A press of a next-profile button on slot: the next profile is loaded and applied even when
    // it is the applied one, and the pressed slot keeps its code 40, so that the button goes on
    // cycling whatever the new profile holds for it.
    SwitchResult cycleFromButton(int slot);

    // The profile (1-5) that the start-up Apply applies instead of the stored CurConfig (a
    // driver started for --profile N); 0 for the stored one. Without a mouse such a start
    // applies and writes nothing.
    void setStartProfile(int profile) { startProfile_ = profile; }
    // The start-up Apply of the window's initialisation.
    SwitchResult startUp();

private:
    SwitchResult applyWorking(SwitchCause cause);
    SwitchResult chooseFromOutside(int profile, SwitchCause cause);
    SwitchResult followRule(int profile);
    // The mouse now holds profile: listeners are told when that changed.
    void applied(int profile, SwitchCause cause);
    static SwitchResult savedOrNot(const std::string& problem, SwitchResult::Outcome outcome);

    ConfigModel& model_;
    ProfileStore& store_;
    DeviceProtocol& protocol_;
    const DeviceLink& link_;
    std::vector<SwitchListener> listeners_;
    int applied_ = 0;
    int user_ = 0;
    int startProfile_ = 0;
    bool appliedOnce_ = false;
    // What the mouse held when the user's own profile was on it last: a rule gives it back.
    Profile userApplied_;
};

} // namespace veldran
