#include "device/DeviceProtocol.h"

#include "config/ConfigMessages.h"
#include "config/FunctionCode.h"
#include "config/ProfileStore.h"
#include "config/ValueBounds.h"
#include "config/WindowPort.h"
#include "device/DeviceLink.h"

namespace veldran {

DeviceProtocol::DeviceProtocol(DeviceLink& link, ConfigModel& model, ProfileStore& store,
                               WindowPort& window)
    : link_(link), model_(model), store_(store), window_(window) {}

std::string DeviceProtocol::apply() {
    model_.runtime.armed.store(true);
    // CurConfig and the applied profile reach the disk together, in one replacement.
    std::string notSaved;
    const bool saved =
        store_.saveApplied(model_.runtime.curConfig.load(), model_.profile, &notSaved);
    // Classification replaces a stored 19 by 12 (with its message) in the working profile, sets
    // the DpiActions, and disarms the executor at the first software slot.
    const auto deviceValues = classifySlotsForApply(model_.profile, model_.runtime, window_);
    for (DpiStage& stage : model_.profile.stages) {
        stage.codeInForce.store(static_cast<std::uint8_t>(stage.editedCode.load()));
    }
    copyProfile(model_.profile, model_.applied);
    sendApplied(deviceValues);
    window_.repaint();

    // A failed write must not pass as success; the reports above went out all the same, so the
    // mouse is not kept waiting while the message is open.
    if (!saved) {
        window_.showMessage(profileSaveFailedMessage(store_.path()));
        return notSaved.empty() ? "cannot write " + store_.path().string() : notSaved;
    }
    return {};
}

void DeviceProtocol::applyProfile(const Profile& stored) {
    model_.runtime.armed.store(true);
    copyProfile(stored, model_.applied);
    for (DpiStage& stage : model_.applied.stages) {
        stage.codeInForce.store(static_cast<std::uint8_t>(stage.editedCode.load()));
    }
    sendApplied(classifySlotsForApply(model_.applied, model_.runtime, window_));
    window_.repaint();
}

void DeviceProtocol::resendApplied() {
    model_.runtime.armed.store(true);
    sendApplied(classifySlotsForApply(model_.applied, model_.runtime, window_));
    window_.repaint();
}

void DeviceProtocol::repaint() {
    window_.repaint();
}

void DeviceProtocol::sendApplied(
    const std::array<std::optional<std::uint8_t>, kDeviceSlotCount>& deviceValues) {
    // A slot whose code has no device value gets no button report. A mouse that stops answering
    // would keep the caller waiting for every report in turn: the first unanswered report ends
    // the sending.
    const Profile& profile = model_.applied;
    bool unanswered = false;
    auto sendUnlessUnanswered = [&](const FeatureReport& report) {
        unanswered = unanswered || send(report) == FeatureSendResult::Unanswered;
    };
    for (std::size_t slot = 0; slot < deviceValues.size(); ++slot) {
        if (deviceValues[slot]) {
            sendUnlessUnanswered(
                {7, ReportCommand::Button, kSlotIdentifiers[slot], *deviceValues[slot]});
        }
    }
    sendUnlessUnanswered(
        {7, ReportCommand::Wheel, static_cast<std::uint8_t>(profile.wheelMode.load()), 0});
    unanswered =
        unanswered || sendDpiReport(profile.dpiLevel.load()) == FeatureSendResult::Unanswered;
    model_.runtime.mouseUnanswered.store(unanswered);
}

void DeviceProtocol::defaults() {
    // The mouse goes back to its own defaults: so do the working and the applied profile.
    resetToFactory(model_.profile);
    resetToFactory(model_.applied);
    window_.repaint();
    sendDpiReport(0);
    send({7, ReportCommand::Reset, 0, 0});
}

void DeviceProtocol::sendDpiStep(std::int32_t level) {
    sendDpiReport(level);
    window_.repaint();
}

FeatureSendResult DeviceProtocol::sendDpiReport(std::int32_t level) {
    // A hand-edited level outside 0 to 3 is held at the nearest stage, which is also what the
    // mouse is told.
    const auto index = static_cast<std::size_t>(safeDpiLevel(level));
    const Profile& profile = model_.applied;
    const std::uint8_t value =
        dpiValueByte(profile.stages[index].codeInForce.load(), profile.lightMode.load());
    return send({7, ReportCommand::Dpi, static_cast<std::uint8_t>(index), value});
}

FeatureSendResult DeviceProtocol::send(const FeatureReport& report) {
    // One lock around building the report and sending it (zero-filled to the interface's
    // feature report length): reports from the user-interface thread and the device event
    // reader never mix their bytes. A failed send is not retried.
    std::lock_guard lock(sendMutex_);
    const auto bytes = report.bytes();
    return link_.sendFeature(bytes);
}

} // namespace veldran
