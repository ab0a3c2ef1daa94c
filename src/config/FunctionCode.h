// The FunctionCode table: which device value the mouse receives for each code, which DPI action
// the program performs, the factory values, the DPI step and next-profile rules and the DPI value
// byte.
#pragma once

#include "config/Profile.h"

#include <array>
#include <cstdint>
#include <optional>

namespace veldran {

class WindowPort;

enum class DpiAction : std::int32_t { None = 0, StepUp = 1, StepDown = -1, Cycle = 2 };

// Device value of a slot whose function the program carries out itself.
inline constexpr std::uint8_t kSoftwareDeviceValue = 31;

// The mouse's own number for slots 1 to 7 (third byte of the button report).
inline constexpr std::array<std::uint8_t, kDeviceSlotCount> kSlotIdentifiers = {1, 2, 3, 5,
                                                                                4, 6, 9};

struct Classification {
    std::optional<std::uint8_t> deviceValue; // none: no button report value for this code
    DpiAction dpiAction = DpiAction::None;
};

// Classifies one code (19 is classified as 12). Codes 7 to 10 (the captions of the submenus), 20,
// codes above 52 and negative codes stand for no function, of the mouse or of the program: they
// have no device value, so no button report is sent for a slot holding one (the mouse keeps what
// it had for that button), DpiAction None, and such a slot does not disarm the executor.
Classification classify(std::int32_t code);

// Classification of slots 1 to 7 on Apply: replaces a stored 19 by 12 (with its message box
// through window), sets each slot's DpiAction, clears the armed flag and sets the first software
// slot for the lowest slot with device value 31. Returns the device value of each slot.
std::array<std::optional<std::uint8_t>, kDeviceSlotCount> classifySlotsForApply(ConfigModel& model,
                                                                                WindowPort& window);
// The same for any profile: the one applied, or a stored one on its way to the mouse.
std::array<std::optional<std::uint8_t>, kDeviceSlotCount>
classifySlotsForApply(Profile& profile, RuntimeState& runtime, WindowPort& window);

// DPI level after a DpiAction: step up stops at 3, step down at 0, cycle wraps 3 to 0. A level
// outside 0 to 3 (from a hand-edited file) is first brought to the nearest stage.
std::int32_t stepDpiLevel(std::int32_t level, DpiAction action);

// The function code of the profile-cycle button.
inline constexpr std::int32_t kNextProfileCode = 40;
// Codes 41 to 52 play macro code - 41.
inline constexpr std::int32_t kFirstMacroCode = 41;

// The user profile after curConfig: curConfig + 1 for 0 to 4, else 1 (also for a negative
// number from a hand-edited file, which names no profile).
std::int32_t nextProfileNumber(std::int32_t curConfig);

// Byte 3 of the DPI report: (code + 8) x 16 + light mode, modulo 256.
std::uint8_t dpiValueByte(std::uint8_t codeInForce, std::uint8_t lightMode);

// Selection id of DPI code on stage (1 to 4): 45 + 5 x (stage - 1) + code (saturated at the ends
// of the 32-bit range). isValidSelectionId (ValueBounds.h) says whether it names an element.
std::int32_t selectionIdFor(int stage, std::int32_t code);

// Resolution shown for a DPI code: "4000", "1600", "2400", "3200", "3200", else "1600".
const char* dpiResolutionText(std::int32_t code);

// A button whose code is kFirstMacroFunction + m plays macro m (0 to 11).
inline constexpr std::int32_t kFirstMacroFunction = 41;
inline constexpr std::int32_t kLastMacroFunction = 52;

// The factory function of slot 1 to 7 (0 for other slots).
std::int32_t factoryCode(int slot);

// The code of slot once macro `deleted` (0 to 11) is gone and the later macros have moved down
// one place: a slot that played it gets its factory function, one that played a later macro
// follows that macro (code - 1); every other code stays.
std::int32_t codeAfterMacroDeleted(int slot, std::int32_t code, int deleted);

// Puts the factory values into the working profile (slots 8 to 10, the DpiActions, CurConfig,
// the macros and the armed flag stay as they are).
void resetToFactory(Profile& profile);

// The message shown when a stored code 19 is replaced by 12 on Apply.
inline constexpr const char* kCode19Message = "取色键无效,请设置为其他键";

} // namespace veldran
