#include "control/ProfileController.h"

#include "config/FunctionCode.h"
#include "config/ProfileStore.h"
#include "device/DeviceLink.h"
#include "device/DeviceProtocol.h"

#include <utility>

namespace veldran {

ProfileController::ProfileController(ConfigModel& model, ProfileStore& store,
                                     DeviceProtocol& protocol, const DeviceLink& link)
    : model_(model), store_(store), protocol_(protocol), link_(link) {}

SwitchResult ProfileController::selectProfile(int profile, SwitchCause cause) {
    switch (cause) {
    case SwitchCause::WindowApply:
    case SwitchCause::Startup:
        model_.runtime.curConfig.store(profile);
        return applyWorking(cause);
    case SwitchCause::WindowChoice:
        // The window shows the chosen profile; the mouse and the files hear of it on Apply.
        if (!isUserProfile(profile)) {
            return {SwitchResult::Outcome::InvalidProfile, {}};
        }
        model_.runtime.curConfig.store(profile);
        store_.load(profile, model_.profile);
        return {};
    case SwitchCause::ProgramRule:
        return followRule(profile);
    case SwitchCause::Button:
    case SwitchCause::CommandLine:
    case SwitchCause::DBus:
        break;
    }
    return chooseFromOutside(profile, cause);
}

SwitchResult ProfileController::selectNextProfile(SwitchCause cause) {
    return selectProfile(nextProfileNumber(applied_), cause);
}

SwitchResult ProfileController::cycleFromButton(int slot) {
    const int next = nextProfileNumber(applied_);
    model_.runtime.curConfig.store(next);
    store_.load(next, model_.profile);
    model_.profile.setCode(slot, kNextProfileCode);
    const std::string problem = protocol_.apply();
    applied(next, SwitchCause::Button);
    return savedOrNot(problem, SwitchResult::Outcome::Switched);
}

SwitchResult ProfileController::startUp() {
    if (const int requested = std::exchange(startProfile_, 0); requested != 0) {
        // A start for --profile N without the mouse: nothing was applied, so nothing is stored.
        if (!link_.connected() || !isUserProfile(requested)) {
            return {SwitchResult::Outcome::NotConnected, {}};
        }
        model_.runtime.curConfig.store(requested);
        store_.load(requested, model_.profile);
    }
    return applyWorking(SwitchCause::Startup);
}

void ProfileController::addSwitchListener(SwitchListener listener) {
    listeners_.push_back(std::move(listener));
}

SwitchResult ProfileController::applyWorking(SwitchCause cause) {
    const int profile = model_.runtime.curConfig.load();
    const std::string problem = protocol_.apply();
    applied(profile, cause);
    return savedOrNot(problem, SwitchResult::Outcome::Switched);
}

SwitchResult ProfileController::chooseFromOutside(int profile, SwitchCause cause) {
    if (!isUserProfile(profile)) {
        return {SwitchResult::Outcome::InvalidProfile, {}};
    }
    if (!link_.connected()) {
        return {SwitchResult::Outcome::NotConnected, {}};
    }
    if (profile != applied_) {
        model_.runtime.curConfig.store(profile);
        store_.load(profile, model_.profile);
        const std::string problem = protocol_.apply();
        applied(profile, cause);
        return savedOrNot(problem, SwitchResult::Outcome::Switched);
    }
    // The mouse holds it already: nothing is sent, but the window follows what was asked, and
    // the profile becomes the user's own.
    if (model_.runtime.curConfig.load() != profile) {
        model_.runtime.curConfig.store(profile);
        copyProfile(model_.applied, model_.profile);
        protocol_.repaint();
    }
    std::string problem;
    if (user_ != profile) {
        user_ = profile;
        copyProfile(model_.applied, userApplied_);
        // On failure the reason is set; the mouse holds the profile all the same.
        store_.saveApplied(profile, model_.applied, &problem);
    }
    return savedOrNot(problem, SwitchResult::Outcome::Unchanged);
}

SwitchResult ProfileController::followRule(int profile) {
    if (!isUserProfile(profile)) {
        return {SwitchResult::Outcome::InvalidProfile, {}};
    }
    if (!link_.connected()) {
        return {SwitchResult::Outcome::NotConnected, {}};
    }
    if (profile == applied_) {
        return {SwitchResult::Outcome::Unchanged, {}};
    }
    // Leaving the user's profile: what it holds now (a DPI step since the Apply) comes back.
    if (applied_ == user_) {
        copyProfile(model_.applied, userApplied_);
    }
    // The rule's profile goes to the mouse alone: the window keeps the user's working profile,
    // and no file is written (CurConfig stays the user's choice).
    Profile stored;
    if (profile == user_) {
        copyProfile(userApplied_, stored);
    } else {
        store_.load(profile, stored);
    }
    protocol_.applyProfile(stored);
    applied(profile, SwitchCause::ProgramRule);
    return {};
}

void ProfileController::applied(int profile, SwitchCause cause) {
    const bool firstApply = !appliedOnce_;
    appliedOnce_ = true;
    const bool changed = profile != applied_;
    applied_ = profile;
    model_.runtime.appliedProfile.store(profile);
    if (cause != SwitchCause::ProgramRule) {
        user_ = profile;
        copyProfile(model_.applied, userApplied_);
    }
    // The start-up Apply sets the scene; it is not a switch.
    if (firstApply || !changed || cause == SwitchCause::Startup) {
        return;
    }
    // A listener may switch again; it works on its own copy of the list.
    const std::vector<SwitchListener> listeners = listeners_;
    for (const SwitchListener& listener : listeners) {
        listener(profile, cause);
    }
}

SwitchResult ProfileController::savedOrNot(const std::string& problem,
                                           SwitchResult::Outcome outcome) {
    if (problem.empty()) {
        return {outcome, {}};
    }
    return {SwitchResult::Outcome::SettingsNotSaved, problem};
}

} // namespace veldran
