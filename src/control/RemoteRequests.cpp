#include "control/RemoteRequests.h"

#include "config/Profile.h"
#include "control/ProfileController.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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
    case Request::Kind::StopMacros:
        if (s_.window.stopMacros) {
            s_.window.stopMacros();
        }
        return okAnswer();
    case Request::Kind::StatusJson:
        return okAnswer(statusJson());
    case Request::Kind::Profile:
    case Request::Kind::NextProfile:
        return switchProfile(request);
    case Request::Kind::Export:
    case Request::Kind::Import:
        return transfer(request);
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

std::string RemoteRequests::transfer(const Request& request) {
    const bool importing = request.kind == Request::Kind::Import;
    const auto& run = importing ? s_.importSet : s_.exportSet;
    if (!run) {
        return errorAnswer("this driver cannot export or import");
    }
    // A recording writes into the macro table that an import replaces.
    if (importing && s_.window.recording()) {
        return errorAnswer("a macro is being recorded: stop the recording first");
    }
    const std::string problem = run(request.path);
    return problem.empty() ? okAnswer() : errorAnswer(problem);
}

std::string RemoteRequests::status() const {
    // What the mouse holds, not what the window shows.
    const auto& profile = s_.model.applied;
    return "profile " + std::to_string(s_.controller.currentProfile()) + ";connected " +
           yesNo(s_.window.connected()) + ";armed " + yesNo(s_.model.runtime.armed.load()) +
           ";recording " + yesNo(s_.window.recording()) + ";dpi-stage " +
           std::to_string(profile.dpiLevel.load() + 1) + ";playing " +
           yesNo(s_.window.playing && s_.window.playing()) + ";focus-source " + focusSource();
}

std::string RemoteRequests::statusJson() const {
    const auto& profile = s_.model.applied;
    QJsonArray dpi;
    for (const DpiStage& stage : profile.stages) {
        dpi.append(static_cast<int>(stage.codeInForce.load()));
    }
    QJsonArray buttons;
    for (int slot = 1; slot <= kDeviceSlotCount; ++slot) {
        const int code = profile.code(slot);
        const std::string name = s_.window.functionName ? s_.window.functionName(code) : "";
        buttons.append(QJsonObject{{"code", code}, {"name", QString::fromStdString(name)}});
    }
    const QJsonObject object{
        {"profile", s_.controller.currentProfile()},
        {"connected", s_.window.connected && s_.window.connected()},
        {"armed", s_.model.runtime.armed.load()},
        {"recording", s_.window.recording && s_.window.recording()},
        {"playing", s_.window.playing && s_.window.playing()},
        {"focusSource", QString::fromStdString(focusSource())},
        {"dpiStage", profile.dpiLevel.load() + 1},
        {"dpi", dpi},
        {"wheel", profile.wheelMode.load()},
        {"light", static_cast<int>(profile.lightMode.load())},
        {"buttons", buttons},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString();
}

std::string RemoteRequests::focusSource() const {
    return s_.window.focusSource ? s_.window.focusSource() : std::string("none");
}

} // namespace veldran
