// What the running driver does for a request line of the single-instance socket: switch the
// profile through the controller, show or hide the window, leave as the tray menu's "Sair do
// Driver" does, or tell its status.
#pragma once

#include "control/DriverWindow.h"
#include "formats/RequestLine.h"

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
    };
    explicit RemoteRequests(Services services) : s_(std::move(services)) {}

    // Runs request on the user-interface thread; returns the answer line.
    std::string run(const Request& request);

    // The status as the command line prints it: profile N, connected yes|no, armed yes|no,
    // recording yes|no, dpi-stage K, focus-source x11|wlroots|kwin|gnome-shell|none, separated
    // by ';' in the answer line.
    std::string status() const;

private:
    std::string switchProfile(const Request& request);
    Services s_;
};

} // namespace veldran
