#include "platform/linux/DesktopInputSynth.h"

#include "platform/Log.h"
#include "platform/linux/UinputInputSynth.h"
#include "platform/linux/XTestInputSynth.h"

#include <cstdio>
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
    // Said once, since it decides which programs the keys and clicks of software functions reach.
    if (adapter == InputAdapter::Uinput) {
        // The session's X server (XWayland) holds the desktop's layout: the uinput keys follow it.
        const char* display = std::getenv("DISPLAY");
        std::unique_ptr<InputSynth> keyboardMap;
        if (display != nullptr && *display != '\0') {
            keyboardMap = std::make_unique<XTestInputSynth>();
        }
        auto uinput = std::make_unique<UinputInputSynth>("/dev/uinput", std::move(keyboardMap));
        if (uinput->available()) {
            logLine("software keys and clicks go through uinput (/dev/uinput)");
            return uinput;
        }
    }
    logLine("software keys and clicks go through XTest (X11 programs only in a Wayland session)");
    if (adapter == InputAdapter::XTest && !uinputWritable &&
        chooseInputAdapter(sessionType != nullptr ? sessionType : "",
                           waylandDisplay != nullptr && *waylandDisplay != '\0',
                           true) == InputAdapter::Uinput) {
        logLine("in this Wayland session /dev/uinput cannot be written, so native Wayland programs "
                "get no software keys and clicks; to enable it, install the uinput rule: sudo "
                "install -m 0644 /usr/share/veldran/71-veldran-uinput.rules /etc/udev/rules.d/ "
                "(see the README)");
    }
    return std::make_unique<XTestInputSynth>();
}

} // namespace veldran
