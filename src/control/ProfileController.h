// The profile controller: the one place where the window's profile-cycle button, the command
// line, D-Bus and the program rules switch the mouse to another profile. It loads the profile,
// applies it, and tells its listeners after every Apply that changed the applied profile.
#pragma once

#include "control/ProfileSwitcher.h"

#include <cstdint>
#include <string>
#include <vector>

namespace veldran {

struct ConfigModel;
class DeviceLink;
class DeviceProtocol;
class ProfileStore;

class ProfileController final : public ProfileSwitcher {
public:
    // Becomes the protocol's Apply listener: every Apply, whoever runs it, is seen here.
    ProfileController(ConfigModel& model, ProfileStore& store, DeviceProtocol& protocol,
                      const DeviceLink& link);

    bool selectProfile(int profile, SwitchCause cause) override;
    int currentProfile() const override { return applied_; }
    int userProfile() const override { return user_; }
    void addSwitchListener(SwitchListener listener) override;

    // The next profile after the selected one (5 wraps to 1), switched as selectProfile does.
    bool selectNextProfile(SwitchCause cause);
    // A press of a next-profile button on slot: the next profile is loaded and applied even when
    // it is the applied one, and the pressed slot keeps its code 40, so that the button goes on
    // cycling whatever the new profile holds for it.
    void cycleFromButton(int slot);

    // Why the last switch's Apply could not write config.ini ("" when it could, or when the
    // switch needed no Apply): the doors answer a switch whose settings were not saved with
    // this reason rather than with a success. Its message box is shown by the Apply itself.
    const std::string& settingsProblem() const { return settingsProblem_; }

private:
    void onApplied(std::int32_t profile);

    ConfigModel& model_;
    ProfileStore& store_;
    DeviceProtocol& protocol_;
    const DeviceLink& link_;
    std::vector<SwitchListener> listeners_;
    int applied_ = 0;
    int user_ = 0;
    bool appliedOnce_ = false;
    std::string settingsProblem_;
    // Who runs the Apply now; an Apply that the controller did not start is the window's.
    SwitchCause pendingCause_ = SwitchCause::Window;
};

} // namespace veldran
