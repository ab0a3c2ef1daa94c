// The event encoding of the uinput input adapter, kept apart from the device so that it can be
// checked without /dev/uinput: Windows virtual keys to Linux key codes, mouse buttons to button
// codes, and the input_event sequence of one key or button change.
#pragma once

#include "platform/InputSynth.h"

#include <cstdint>
#include <linux/input.h>
#include <vector>

namespace veldran {

// The Linux key code (KEY_*) of a virtual key, or 0 when the key has none.
std::uint16_t linuxKeyCodeOf(std::uint8_t virtualKey);

// BTN_LEFT, BTN_RIGHT or BTN_MIDDLE.
std::uint16_t linuxButtonCodeOf(MouseButton button);

// Every key and button code the adapter may send, for the device's capability bits.
std::vector<std::uint16_t> uinputKeyCapabilities();

// One capability ioctl of the device's set-up (UI_SET_EVBIT, UI_SET_KEYBIT, UI_SET_RELBIT) with
// its argument.
struct UinputCapabilityRequest {
    unsigned long request = 0;
    int value = 0;
};
// The capabilities the device declares before it is created, in order: the event types, every
// key and button code, and the relative axes. The axes are never moved, but with them beside
// the mouse buttons the desktop (udev, libinput) treats the device as a pointer as well as a
// keyboard, so that its button events are delivered.
std::vector<UinputCapabilityRequest> uinputCapabilityRequests();

// One key or button change as the kernel expects it: the EV_KEY event and a SYN_REPORT.
std::vector<input_event> keyChangeEvents(std::uint16_t code, bool down);

} // namespace veldran
