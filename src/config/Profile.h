// The working profile, the applied profile and the run-time state beside them: what each button
// does, the four DPI stages, the wheel and light modes, the selected profile number and the
// executor's armed flag. The user-interface thread and the device event reader share these
// fields, so each one is an atomic word or byte.
#pragma once

#include "formats/ProfileNumbers.h"

#include <array>
#include <atomic>
#include <cstdint>

namespace veldran {

inline constexpr int kSlotCount = 10;      // button slots in the model and the file (1 to 10)
inline constexpr int kDeviceSlotCount = 7; // slots that the mouse has (1 to 7)
inline constexpr int kStageCount = 4;      // DPI stages (1 to 4, level 0 to 3)
struct DpiStage {
    std::atomic<std::int32_t> editedCode{0};  // DPI code as edited on the main page
    std::atomic<std::uint8_t> codeInForce{0}; // DPI code last loaded, applied or reset
    std::atomic<std::int32_t> selectionId{0}; // main element of the highlighted choice
};

struct Profile {
    std::array<std::atomic<std::int32_t>, kSlotCount> codes{}; // FunctionCode of slot i+1
    std::array<std::atomic<std::int32_t>, kDeviceSlotCount> dpiActions{}; // derived on Apply
    std::atomic<std::int32_t> wheelMode{0};
    std::atomic<std::int32_t> dpiLevel{0};
    std::array<DpiStage, kStageCount> stages{};
    std::atomic<std::uint8_t> lightMode{0};

    // Slot numbers run from 1 to kSlotCount.
    std::int32_t code(int slot) const { return codes[static_cast<std::size_t>(slot - 1)].load(); }
    void setCode(int slot, std::int32_t code) {
        codes[static_cast<std::size_t>(slot - 1)].store(code);
    }
};

struct RuntimeState {
    std::atomic<std::int32_t> curConfig{0}; // selected user profile, 1 to 5
    std::atomic<bool> armed{true};          // software functions carried out only while set
    std::atomic<std::int32_t> firstSoftwareSlot{
        0};                                   // lowest slot with device value 31, set on Apply
    std::atomic<bool> mouseUnanswered{false}; // the last Apply stopped: the mouse did not answer
    // Number of the profile the mouse holds (0 before the first Apply). Equal to curConfig while
    // the window shows the profile that is on the mouse.
    std::atomic<std::int32_t> appliedProfile{0};
};

// The configuration model. The window edits the working profile; the mouse holds the applied
// profile, which the device event reader acts on. Apply copies the first into the second; a
// profile that a program rule puts on the mouse goes into the applied profile alone, so that the
// window's unapplied edits stay as they are.
struct ConfigModel {
    Profile profile; // the working profile: what the window shows and edits
    Profile applied; // what the mouse was last sent
    RuntimeState runtime;
};

// Copies every field of from into to, field by field (each one atomic on its own).
inline void copyProfile(const Profile& from, Profile& to) {
    for (std::size_t i = 0; i < from.codes.size(); ++i) {
        to.codes[i].store(from.codes[i].load());
    }
    for (std::size_t i = 0; i < from.dpiActions.size(); ++i) {
        to.dpiActions[i].store(from.dpiActions[i].load());
    }
    to.wheelMode.store(from.wheelMode.load());
    to.dpiLevel.store(from.dpiLevel.load());
    for (std::size_t i = 0; i < from.stages.size(); ++i) {
        to.stages[i].editedCode.store(from.stages[i].editedCode.load());
        to.stages[i].codeInForce.store(from.stages[i].codeInForce.load());
        to.stages[i].selectionId.store(from.stages[i].selectionId.load());
    }
    to.lightMode.store(from.lightMode.load());
}

} // namespace veldran
