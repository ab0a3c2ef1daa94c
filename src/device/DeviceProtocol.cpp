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

std::string DeviceProtocol::applyProfileFromButton(std::int32_t profile, int slot) {
    model_.runtime.curConfig.store(profile);
    store_.load(profile, model_.profile);
    model_.profile.setCode(slot, kNextProfileCode);
    return apply();
}

std::string DeviceProtocol::apply() {
    Profile& profile = model_.profile;
    model_.runtime.armed.store(true);
    // CurConfig and the applied profile reach the disk together, in one replacement.
    std::string notSaved;
    const bool saved = store_.saveApplied(model_.runtime.curConfig.load(), profile, &notSaved);

    // Classification replaces a stored 19 by 12 (with its message), sets the DpiActions, and
    // disarms the executor at the first software slot. A slot whose code has no device value
    // gets no button report.
    // A mouse that stops answering would keep the caller waiting for every report in turn: the
    // first unanswered report ends the sending.
    bool unanswered = false;
    auto sendUnlessUnanswered = [&](const FeatureReport& report) {
        unanswered = unanswered || send(report) == FeatureSendResult::Unanswered;
    };
    const auto deviceValues = classifySlotsForApply(model_, window_);
    for (std::size_t slot = 0; slot < deviceValues.size(); ++slot) {
        if (deviceValues[slot]) {
            sendUnlessUnanswered(
                {7, ReportCommand::Button, kSlotIdentifiers[slot], *deviceValues[slot]});
        }
    }

    sendUnlessUnanswered(
        {7, ReportCommand::Wheel, static_cast<std::uint8_t>(profile.wheelMode.load()), 0});

    for (DpiStage& stage : profile.stages) {
        stage.codeInForce.store(static_cast<std::uint8_t>(stage.editedCode.load()));
    }

    unanswered =
        unanswered || sendDpiReport(profile.dpiLevel.load()) == FeatureSendResult::Unanswered;
    model_.runtime.mouseUnanswered.store(unanswered);
    window_.repaint();

    // A failed write must not pass as success; the reports above went out all the same, so the
    // mouse is not kept waiting while the message is open.
    if (!saved) {
        window_.showMessage(profileSaveFailedMessage(store_.path()));
    }
    if (appliedListener_) {
        appliedListener_(model_.runtime.curConfig.load());
    }
    if (saved) {
        return {};
    }
    return notSaved.empty() ? "cannot write " + store_.path().string() : notSaved;
}

void DeviceProtocol::defaults() {
    resetToFactory(model_.profile);
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
    const Profile& profile = model_.profile;
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
