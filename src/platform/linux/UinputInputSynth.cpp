#include "platform/linux/UinputInputSynth.h"

#include "platform/Log.h"
#include "platform/linux/UinputEvents.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/uinput.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace veldran {
namespace {

bool setUp(int fd) {
    for (const UinputCapabilityRequest& capability : uinputCapabilityRequests()) {
        if (ioctl(fd, capability.request, capability.value) < 0) {
            return false;
        }
    }
    uinput_setup setup{};
    setup.id.bustype = BUS_VIRTUAL;
    setup.id.vendor = 0x18F8;
    setup.id.product = 0x0F99;
    std::snprintf(setup.name, sizeof setup.name, "VELDRAN GAMING MOUSE software buttons");
    return ioctl(fd, UI_DEV_SETUP, &setup) >= 0 && ioctl(fd, UI_DEV_CREATE) >= 0;
}

} // namespace

UinputInputSynth::UinputInputSynth(const std::string& devicePath,
                                   std::unique_ptr<InputSynth> keyboardMap)
    : keyboardMap_(std::move(keyboardMap)) {
    fd_ = ::open(devicePath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0 || !setUp(fd_)) {
        const int error = errno;
        logLine("cannot create an input device through " + devicePath + " (" +
                std::strerror(error) +
                "); mouse buttons set to keyboard shortcuts or macros will not send any input.");
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
}

UinputInputSynth::~UinputInputSynth() {
    if (fd_ >= 0) {
        ioctl(fd_, UI_DEV_DESTROY);
        ::close(fd_);
    }
}

bool UinputInputSynth::available() const {
    std::lock_guard lock(mutex_);
    return fd_ >= 0;
}

std::uint16_t UinputInputSynth::keyCodeOf(std::uint8_t virtualKey) {
    const std::uint16_t onLayout = keyboardMap_ ? keyboardMap_->scanCode(virtualKey) : 0;
    return onLayout != 0 ? onLayout : linuxKeyCodeOf(virtualKey);
}

std::uint16_t UinputInputSynth::scanCode(std::uint8_t virtualKey) {
    return keyCodeOf(virtualKey);
}

void UinputInputSynth::keyDown(std::uint8_t virtualKey, std::uint16_t /*scanCode*/) {
    send(keyCodeOf(virtualKey), true);
}

void UinputInputSynth::keyUp(std::uint8_t virtualKey, std::uint16_t /*scanCode*/) {
    send(keyCodeOf(virtualKey), false);
}

void UinputInputSynth::mouseButton(MouseButton button, bool down) {
    send(linuxButtonCodeOf(button), down);
}

void UinputInputSynth::send(std::uint16_t code, bool down) {
    std::lock_guard lock(mutex_);
    if (fd_ < 0 || code == 0) {
        return;
    }
    const auto events = keyChangeEvents(code, down);
    // A short write leaves the event to the kernel's judgement; input results are not acted on.
    [[maybe_unused]] const auto written =
        ::write(fd_, events.data(), events.size() * sizeof(input_event));
}

} // namespace veldran
