// A profile switcher that only records what it is asked: the doors of the profile switch are
// tested against it without a mouse or a window.
#pragma once

#include "control/ProfileSwitcher.h"

#include <utility>
#include <vector>

namespace veldran::testing {

class FakeProfileSwitcher : public ProfileSwitcher {
public:
    explicit FakeProfileSwitcher(int profile = 1) : current_(profile), user_(profile) {}

    SwitchResult selectProfile(int profile, SwitchCause cause) override {
        selections.emplace_back(profile, cause);
        if (cause != SwitchCause::ProgramRule) {
            user_ = profile;
        }
        if (profile != current_) {
            current_ = profile;
            for (const auto& listener : listeners_) {
                listener(profile, cause);
            }
        }
        return {};
    }
    int currentProfile() const override { return current_; }
    int userProfile() const override { return user_; }
    void addSwitchListener(SwitchListener listener) override {
        listeners_.push_back(std::move(listener));
    }

    std::vector<std::pair<int, SwitchCause>> selections; // every request, in order

private:
    int current_;
    int user_;
    std::vector<SwitchListener> listeners_;
};

} // namespace veldran::testing
