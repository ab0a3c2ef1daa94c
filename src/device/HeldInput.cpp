#include "device/HeldInput.h"

#include <algorithm>

namespace veldran {
namespace {

constexpr std::uint8_t kLeftButtonCode = 240;
constexpr std::uint8_t kRightButtonCode = 241;
constexpr std::uint8_t kMiddleButtonCode = 242;

MouseButton buttonOf(std::uint8_t code) {
    if (code == kLeftButtonCode) {
        return MouseButton::Left;
    }
    if (code == kRightButtonCode) {
        return MouseButton::Right;
    }
    return MouseButton::Middle;
}

} // namespace

std::uint8_t HeldInput::canonical(std::uint8_t code) {
    // Every code from 242 on is the one middle button.
    return code >= kMiddleButtonCode ? kMiddleButtonCode : code;
}

void HeldInput::press(int owner, std::uint8_t code) {
    std::lock_guard lock(mutex_);
    send(code, true);
    const std::uint8_t held = canonical(code);
    const bool already = std::any_of(holds_.begin(), holds_.end(), [&](const Hold& h) {
        return h.owner == owner && h.code == held;
    });
    if (!already) {
        holds_.push_back({owner, held});
    }
}

void HeldInput::release(int owner, std::uint8_t code) {
    std::lock_guard lock(mutex_);
    const std::uint8_t held = canonical(code);
    const auto mine = std::find_if(holds_.begin(), holds_.end(), [&](const Hold& h) {
        return h.owner == owner && h.code == held;
    });
    if (mine == holds_.end()) {
        send(code, false);
        return;
    }
    holds_.erase(mine);
    if (!heldByOther(owner, held)) {
        send(code, false);
    }
}

void HeldInput::releaseAll(int owner) {
    std::lock_guard lock(mutex_);
    std::vector<std::uint8_t> mine;
    for (const Hold& h : holds_) {
        if (h.owner == owner) {
            mine.push_back(h.code);
        }
    }
    std::erase_if(holds_, [owner](const Hold& h) { return h.owner == owner; });
    for (auto it = mine.rbegin(); it != mine.rend(); ++it) {
        if (!heldByOther(owner, *it)) {
            send(*it, false);
        }
    }
}

std::vector<std::uint8_t> HeldInput::heldBy(int owner) const {
    std::lock_guard lock(mutex_);
    std::vector<std::uint8_t> codes;
    for (const Hold& h : holds_) {
        if (h.owner == owner) {
            codes.push_back(h.code);
        }
    }
    return codes;
}

bool HeldInput::anyHeld() const {
    std::lock_guard lock(mutex_);
    return !holds_.empty();
}

bool HeldInput::heldByOther(int owner, std::uint8_t code) const {
    return std::any_of(holds_.begin(), holds_.end(),
                       [&](const Hold& h) { return h.owner != owner && h.code == code; });
}

void HeldInput::send(std::uint8_t code, bool down) {
    if (code >= kLeftButtonCode) {
        input_.mouseButton(buttonOf(code), down);
        return;
    }
    const std::uint16_t scan = input_.scanCode(code);
    if (down) {
        input_.keyDown(code, scan);
    } else {
        input_.keyUp(code, scan);
    }
}

} // namespace veldran
