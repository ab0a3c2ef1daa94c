// What the running driver does for a request line of the single-instance socket: switch the
// profile through the controller, show or hide the window, leave as the tray menu's "Sair do
// Driver" does, stop the macros, tell its status, or export and import the profile set.
#pragma once

#include "control/DriverWindow.h"
#include "formats/RequestLine.h"

#include <functional>
#include <string>
#include <utility>

namespace veldran {

struct ConfigModel;
class ProfileController;

class RemoteRequests {
public:
    struct Services {
        ProfileController& controller;
        const ConfigModel& model;
        DriverWindow window;
        // Write the profile set to a file, and replace it with a file's (each gives "" or what
        // went wrong in one line).
        std::function<std::string(const std::string& file)> exportSet;
        std::function<std::string(const std::string& file)> importSet;
    };
    explicit RemoteRequests(Services services) : s_(std::move(services)) {}

    // Runs request on the user-interface thread; returns the answer line.
    std::string run(const Request& request);

    // The status as the command line prints it: profile N, connected yes|no, armed yes|no,
    // recording yes|no, dpi-stage K, playing yes|no, focus-source
    // x11|wlroots|kwin|gnome-shell|none, separated by ';' in the answer line.
    std::string status() const;
    // The status as one JSON object on one line, of the profile the mouse holds: profile,
    // connected, armed, recording, playing, focusSource, dpiStage (1-4), dpi (the four stages' DPI
    // codes), wheel, light, buttons (slots 1 to 7, each {"code", "name"}). Fields may be added,
    // none is renamed.
    std::string statusJson() const;

private:
    std::string switchProfile(const Request& request);
    std::string transfer(const Request& request);
    std::string focusSource() const;
    Services s_;
};

} // namespace veldran
