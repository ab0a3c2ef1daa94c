#include "app/RemoteRequests.h"

#include "app/CQEL_GMouseApp.h"
#include "app/CQEL_GMouseDlg.h"
#include "app/MainWindowInput.h"
#include "config/Profile.h"
#include "control/ProfileController.h"
#include "device/DeviceLink.h"
#include "macro/CQelMenu.h"
#include "skin/MainWindowState.h"

namespace veldran {
namespace {

const char* yesNo(bool value) {
    return value ? "yes" : "no";
}

} // namespace

std::string RemoteRequests::run(const Request& request) {
    switch (request.kind) {
    case Request::Kind::Show:
        s_.app.showMainWindow();
        return okAnswer();
    case Request::Kind::Hide:
        if (!s_.app.mainWindowDestroyed()) {
            s_.window.input().hideToTray();
        }
        return okAnswer();
    case Request::Kind::Quit:
        if (!s_.app.mainWindowDestroyed()) {
            s_.window.input().tray().onCommand(kCmdExitDriver);
        }
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
    if (!s_.link.connected()) {
        return errorAnswer("the mouse is not connected");
    }
    const bool switched =
        request.kind == Request::Kind::NextProfile
            ? s_.controller.selectNextProfile(SwitchCause::CommandLine)
            : s_.controller.selectProfile(request.profile, SwitchCause::CommandLine);
    return switched ? okAnswer() : errorAnswer("the profile could not be applied");
}

std::string RemoteRequests::status() const {
    const auto& profile = s_.model.profile;
    return "profile " + std::to_string(s_.controller.currentProfile()) + ";connected " +
           yesNo(s_.link.connected()) + ";armed " + yesNo(s_.model.runtime.armed.load()) +
           ";recording " + yesNo(s_.state.macroEditor.recording) + ";dpi-stage " +
           std::to_string(profile.dpiLevel.load() + 1);
}

} // namespace veldran
