#include "config/FunctionCode.h"

#include "config/ValueBounds.h"
#include "config/WindowPort.h"

namespace veldran {

Classification classify(std::int32_t code) {
    if (code == 19) {
        code = 12;
    }
    switch (code) {
    case 6:
        return {kSoftwareDeviceValue, DpiAction::Cycle};
    case 17:
        return {kSoftwareDeviceValue, DpiAction::StepUp};
    case 18:
        return {kSoftwareDeviceValue, DpiAction::StepDown};
    default:
        break;
    }
    if (code >= 26 && code <= 52) {
        return {kSoftwareDeviceValue, DpiAction::None};
    }
    if (code >= 0 && code <= 5) {
        return {static_cast<std::uint8_t>(code), DpiAction::None};
    }
    if (code >= 11 && code <= 16) {
        return {static_cast<std::uint8_t>(code - 4), DpiAction::None};
    }
    if (code >= 21 && code <= 25) {
        return {static_cast<std::uint8_t>(code - 8), DpiAction::None};
    }
    // 7 to 10, 20, above 52 and negative: no function of the mouse or of the program.
    return {std::nullopt, DpiAction::None};
}

std::array<std::optional<std::uint8_t>, kDeviceSlotCount>
classifySlotsForApply(ConfigModel& model, WindowPort& window) {
    return classifySlotsForApply(model.profile, model.runtime, window);
}

std::array<std::optional<std::uint8_t>, kDeviceSlotCount>
classifySlotsForApply(Profile& profile, RuntimeState& runtime, WindowPort& window) {
    std::array<std::optional<std::uint8_t>, kDeviceSlotCount> values{};
    bool softwareSlotFound = false;
    for (int slot = 1; slot <= kDeviceSlotCount; ++slot) {
        const auto index = static_cast<std::size_t>(slot - 1);
        if (profile.code(slot) == 19) {
            profile.setCode(slot, 12);
            window.showMessage(kCode19Message);
        }
        const Classification c = classify(profile.code(slot));
        profile.dpiActions[index].store(static_cast<std::int32_t>(c.dpiAction));
        values[index] = c.deviceValue;
        if (!softwareSlotFound && c.deviceValue == kSoftwareDeviceValue) {
            softwareSlotFound = true;
            runtime.armed.store(false);
            runtime.firstSoftwareSlot.store(slot);
        }
    }
    return values;
}

std::int32_t stepDpiLevel(std::int32_t level, DpiAction action) {
    const std::int32_t l = safeDpiLevel(level);
    switch (action) {
    case DpiAction::StepUp:
        return l < kStageCount - 1 ? l + 1 : l;
    case DpiAction::StepDown:
        return l > 0 ? l - 1 : l;
    case DpiAction::Cycle:
        return l < kStageCount - 1 ? l + 1 : 0;
    case DpiAction::None:
        break;
    }
    return l;
}

std::int32_t nextProfileNumber(std::int32_t curConfig) {
    return (curConfig >= 0 && curConfig < kUserProfileCount) ? curConfig + 1 : 1;
}

std::uint8_t dpiValueByte(std::uint8_t codeInForce, std::uint8_t lightMode) {
    return static_cast<std::uint8_t>((codeInForce + 8) * 16 + lightMode);
}

std::int32_t selectionIdFor(int stage, std::int32_t code) {
    // Computed in 64 bits and saturated, so that no stored code can overflow the sum.
    const std::int64_t id = 45 + 5 * static_cast<std::int64_t>(stage - 1) + code;
    if (id > INT32_MAX) {
        return INT32_MAX;
    }
    if (id < INT32_MIN) {
        return INT32_MIN;
    }
    return static_cast<std::int32_t>(id);
}

const char* dpiResolutionText(std::int32_t code) {
    switch (code) {
    case 0:
        return "4000";
    case 2:
        return "2400";
    case 3:
    case 4:
        return "3200";
    default:
        return "1600";
    }
}

namespace {
constexpr std::array<std::int32_t, kDeviceSlotCount> kFactoryCodes = {1, 2, 3, 5, 4, 6, 13};
} // namespace

std::int32_t factoryCode(int slot) {
    return slot >= 1 && slot <= kDeviceSlotCount ? kFactoryCodes[static_cast<std::size_t>(slot - 1)]
                                                 : 0;
}

std::int32_t codeAfterMacroDeleted(int slot, std::int32_t code, int deleted) {
    const std::int32_t played = kFirstMacroFunction + deleted;
    if (code == played) {
        return factoryCode(slot);
    }
    return code > played && code <= kLastMacroFunction ? code - 1 : code;
}

void resetToFactory(Profile& profile) {
    static constexpr std::array<std::int32_t, kStageCount> kFactoryDpiCodes = {1, 2, 3, 0};
    for (int slot = 1; slot <= kDeviceSlotCount; ++slot) {
        profile.setCode(slot, kFactoryCodes[static_cast<std::size_t>(slot - 1)]);
    }
    profile.wheelMode.store(0);
    profile.dpiLevel.store(0);
    for (int stage = 1; stage <= kStageCount; ++stage) {
        const std::int32_t code = kFactoryDpiCodes[static_cast<std::size_t>(stage - 1)];
        DpiStage& s = profile.stages[static_cast<std::size_t>(stage - 1)];
        s.editedCode.store(code);
        s.codeInForce.store(static_cast<std::uint8_t>(code));
        s.selectionId.store(selectionIdFor(stage, code));
    }
    profile.lightMode.store(0);
}

} // namespace veldran
