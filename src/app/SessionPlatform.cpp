#include "app/SessionPlatform.h"

#include <cstdlib>

namespace veldran {

namespace {

bool isSet(const std::optional<std::string>& value) {
    return value && !value->empty();
}

} // namespace

std::optional<std::string> processEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

std::optional<std::string> sessionQtPlatform(const EnvironmentLookup& environment) {
    if (isSet(environment("QT_QPA_PLATFORM"))) {
        return std::nullopt;
    }
    const auto sessionType = environment("XDG_SESSION_TYPE");
    const bool wayland =
        (sessionType && *sessionType == "wayland") || isSet(environment("WAYLAND_DISPLAY"));
    if (!wayland || !isSet(environment("DISPLAY"))) {
        return std::nullopt;
    }
    return std::string("xcb");
}

} // namespace veldran
