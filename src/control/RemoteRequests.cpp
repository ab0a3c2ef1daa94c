#include "control/RemoteRequests.h"

#include "config/Profile.h"
#include "control/ProfileController.h"

namespace veldran {
namespace {

const char* yesNo(bool value) {
    return value ? "yes" : "no";
}

} // namespace

std::string RemoteRequests::run(const Request& request) {
    switch (request.kind) {
    case Request::Kind::Show:
        s_.window.show();
        return okAnswer();
    case Request::Kind::Hide:
        s_.window.hide();
        return okAnswer();
    case Request::Kind::Quit:
        s_.window.quit();
        return okAnswer();
    case Request::Kind::Status:
        return okAnswer(status());
    case Request::Kind::Profile:
    case Request::Kind::NextProfile:
        return switchProfile(request);
    case Request::Kind::Invalid:
        break;
    }
    return errorAnswer(request.error);
}

std::string RemoteRequests::switchProfile(const Request& request) {
    const SwitchResult result =
        request.kind == Request::Kind::NextProfile
            ? s_.controller.selectNextProfile(SwitchCause::CommandLine)
            : s_.controller.selectProfile(request.profile, SwitchCause::CommandLine);
    return result.ok() ? okAnswer() : errorAnswer(result.text());
}

std::string RemoteRequests::status() const {
    // What the mouse holds, not what the window shows.
    const auto& profile = s_.model.applied;
    return "profile " + std::to_string(s_.controller.currentProfile()) + ";connected " +
           yesNo(s_.window.connected()) + ";armed " + yesNo(s_.model.runtime.armed.load()) +
           ";recording " + yesNo(s_.window.recording()) + ";dpi-stage " +
           std::to_string(profile.dpiLevel.load() + 1);
}

} // namespace veldran
