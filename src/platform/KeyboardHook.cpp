#include "platform/KeyboardHook.h"

namespace veldran {
namespace {

constexpr std::uint8_t kMenu = 0x12;
constexpr std::uint8_t kLeftMenu = 0xA4;
constexpr std::uint8_t kRightMenu = 0xA5;
constexpr std::uint8_t kF10 = 0x79;

bool isAlt(std::uint8_t virtualKey) {
    return virtualKey == kMenu || virtualKey == kLeftMenu || virtualKey == kRightMenu;
}

} // namespace

bool isKeyMessage(std::uint32_t message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN ||
           message == WM_SYSKEYUP;
}

bool isKeyDownMessage(std::uint32_t message) {
    return message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
}

KeyMessage keyMessageOf(std::uint8_t virtualKey, bool down, bool altHeld, bool ctrlHeld) {
    const bool system = virtualKey == kF10 || ((altHeld || isAlt(virtualKey)) && !ctrlHeld);
    std::uint32_t message = 0;
    if (system) {
        message = down ? WM_SYSKEYDOWN : WM_SYSKEYUP;
    } else {
        message = down ? WM_KEYDOWN : WM_KEYUP;
    }
    return KeyMessage{message, virtualKey};
}

} // namespace veldran
