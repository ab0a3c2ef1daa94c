// Picks the input adapter for the running desktop: uinput on a Wayland session where
// /dev/uinput is writable (XTEST would reach only X programs there), XTEST otherwise.
#pragma once

#include "platform/InputSynth.h"

#include <memory>
#include <string>

namespace veldran {

enum class InputAdapter { XTest, Uinput };

// The choice, from the session type, whether a Wayland display is named and whether the uinput
// device can be written.
InputAdapter chooseInputAdapter(const std::string& sessionType, bool waylandDisplay,
                                bool uinputWritable);

// The adapter for this process's environment.
std::unique_ptr<InputSynth> makeDesktopInputSynth();

} // namespace veldran
