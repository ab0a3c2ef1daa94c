#include "control/ProfileController.h"

#include "config/FunctionCode.h"
#include "config/Profile.h"
#include "config/ProfileStore.h"
#include "device/DeviceLink.h"
#include "device/DeviceProtocol.h"

namespace veldran {
namespace {

// Restores the cause of the Apply in progress when the switch ends, also by an exception.
class CauseScope {
public:
    CauseScope(SwitchCause& slot, SwitchCause cause) : slot_(slot), saved_(slot) { slot_ = cause; }
    ~CauseScope() { slot_ = saved_; }
    CauseScope(const CauseScope&) = delete;
    CauseScope& operator=(const CauseScope&) = delete;

private:
    SwitchCause& slot_;
    SwitchCause saved_;
};

} // namespace

ProfileController::ProfileController(ConfigModel& model, ProfileStore& store,
                                     DeviceProtocol& protocol, const DeviceLink& link)
    : model_(model), store_(store), protocol_(protocol), link_(link) {
    protocol_.setAppliedListener([this](std::int32_t profile) { onApplied(profile); });
}

bool ProfileController::selectProfile(int profile, SwitchCause cause) {
    settingsProblem_.clear();
    if (!isUserProfile(profile) || !link_.connected()) {
        return false;
    }
    if (cause != SwitchCause::ProgramRule) {
        user_ = profile;
    }
    if (profile == applied_) {
        return true; // already on the mouse: nothing is sent, nothing is written
    }
    const CauseScope scope(pendingCause_, cause);
    model_.runtime.curConfig.store(profile);
    store_.load(profile, model_.profile);
    settingsProblem_ = protocol_.apply();
    return true;
}

bool ProfileController::selectNextProfile(SwitchCause cause) {
    return selectProfile(nextProfileNumber(model_.runtime.curConfig.load()), cause);
}

void ProfileController::cycleFromButton(int slot) {
    const std::int32_t next = nextProfileNumber(model_.runtime.curConfig.load());
    user_ = next;
    const CauseScope scope(pendingCause_, SwitchCause::Button);
    settingsProblem_ = protocol_.applyProfileFromButton(next, slot);
}

void ProfileController::addSwitchListener(SwitchListener listener) {
    listeners_.push_back(std::move(listener));
}

void ProfileController::onApplied(std::int32_t profile) {
    // The start-up Apply sets the scene; it is not a switch.
    const bool firstApply = !appliedOnce_;
    appliedOnce_ = true;
    if (profile == applied_ && !firstApply) {
        return;
    }
    applied_ = profile;
    if (pendingCause_ != SwitchCause::ProgramRule) {
        user_ = profile;
    }
    if (firstApply) {
        return;
    }
    // A listener may switch again; it works on its own copy of the list.
    const std::vector<SwitchListener> listeners = listeners_;
    for (const SwitchListener& listener : listeners) {
        listener(profile, pendingCause_);
    }
}

} // namespace veldran
