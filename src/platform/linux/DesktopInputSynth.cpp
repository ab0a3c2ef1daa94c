#include "platform/linux/DesktopInputSynth.h"

#include "platform/linux/UinputInputSynth.h"
#include "platform/linux/XTestInputSynth.h"

#include <cstdlib>
#include <unistd.h>

namespace veldran {

InputAdapter chooseInputAdapter(const std::string& sessionType, bool waylandDisplay,
                                bool uinputWritable) {
    const bool wayland = sessionType == "wayland" || waylandDisplay;
    return wayland && uinputWritable ? InputAdapter::Uinput : InputAdapter::XTest;
}

std::unique_ptr<InputSynth> makeDesktopInputSynth() {
    const char* sessionType = std::getenv("XDG_SESSION_TYPE");
    const char* waylandDisplay = std::getenv("WAYLAND_DISPLAY");
    const bool uinputWritable = access("/dev/uinput", W_OK) == 0;
    const auto adapter =
        chooseInputAdapter(sessionType != nullptr ? sessionType : "",
                           waylandDisplay != nullptr && *waylandDisplay != '\0', uinputWritable);
    if (adapter == InputAdapter::Uinput) {
        auto uinput = std::make_unique<UinputInputSynth>();
        if (uinput->available()) {
            return uinput;
        }
    }
    return std::make_unique<XTestInputSynth>();
}

} // namespace veldran
