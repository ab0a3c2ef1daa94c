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
    // The controller refuses only while the mouse is not open (the request holds a profile
    // from 1 to 5).
    const bool switched =
        request.kind == Request::Kind::NextProfile
            ? s_.controller.selectNextProfile(SwitchCause::CommandLine)
            : s_.controller.selectProfile(request.profile, SwitchCause::CommandLine);
    return switched ? okAnswer() : errorAnswer(kNotConnectedText);
}

std::string RemoteRequests::status() const {
    const auto& profile = s_.model.profile;
    return "profile " + std::to_string(s_.controller.currentProfile()) + ";connected " +
           yesNo(s_.window.connected()) + ";armed " + yesNo(s_.model.runtime.armed.load()) +
           ";recording " + yesNo(s_.window.recording()) + ";dpi-stage " +
           std::to_string(profile.dpiLevel.load() + 1) + ";focus-source " +
           (s_.window.focusSource ? s_.window.focusSource() : std::string("none"));
}

} // namespace veldran
