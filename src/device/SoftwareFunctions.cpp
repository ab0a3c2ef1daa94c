#include "device/SoftwareFunctions.h"

#include "formats/VirtualKeys.h"
#include "platform/Clock.h"
#include "platform/InputSynth.h"
#include "platform/Shell.h"

#include <chrono>

namespace veldran {
namespace {

// How long the letter of a Ctrl shortcut is held down.
constexpr std::chrono::milliseconds kShortcutHold{20};

} // namespace

SoftwareFunctions::SoftwareFunctions(InputSynth& input, Shell& shell, Clock& clock)
    : input_(input), shell_(shell), clock_(clock) {}

bool SoftwareFunctions::run(std::int32_t code) {
    // The results of synthesised input and of the desktop actions are not acted on: a failing
    // action changes nothing, and the shell says on stderr what went wrong.
    switch (code) {
    case 26:
        mute();
        return true;
    case 31:
        controlShortcut(vk::C);
        return true;
    case 32:
        controlShortcut(vk::V);
        return true;
    case 33:
        controlShortcut(vk::A);
        return true;
    case 34:
        controlShortcut(vk::Z);
        return true;
    case 35:
        altF4();
        return true;
    case 36:
        shell_.openComputerRoot();
        return true;
    case 37:
        shell_.lockSession();
        return true;
    case 38:
        shell_.startCalculator();
        return true;
    case 39:
        shell_.startTerminal();
        return true;
    default:
        return false;
    }
}

void SoftwareFunctions::mute() {
    // The mute key is pressed and released at once: a key left down on X11 repeats until it is
    // released, which would toggle the sound on and off for as long as it stayed down.
    input_.keyDown(vk::VolumeMute, 0);
    input_.keyUp(vk::VolumeMute, 0);
}

void SoftwareFunctions::controlShortcut(std::uint8_t key) {
    const std::uint16_t scan = input_.scanCode(key);
    input_.keyDown(vk::Control, 0);
    input_.keyDown(key, scan);
    clock_.sleepFor(kShortcutHold);
    input_.keyUp(key, scan);
    input_.keyUp(vk::Control, 0);
}

void SoftwareFunctions::altF4() {
    const std::uint16_t scan = input_.scanCode(vk::F4);
    input_.keyDown(vk::Menu, 0);
    input_.keyDown(vk::F4, scan);
    input_.keyUp(vk::F4, scan);
    input_.keyUp(vk::Menu, 0);
}

} // namespace veldran
