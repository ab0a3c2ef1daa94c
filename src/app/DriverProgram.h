// The whole running program: every object of the driver, created in dependency order and wired
// together — the HID bus (real or virtual), the device link and protocol, the configuration
// model and stores, the device event reader, the application object and the main window — and
// torn down in reverse order with the reader joined.
#pragma once

#include "app/CommandLine.h"

#include <memory>
#include <string>

namespace veldran {

class CQEL_GMouseApp;

class DriverProgram {
public:
    explicit DriverProgram(const CommandLine& commandLine);
    ~DriverProgram();
    DriverProgram(const DriverProgram&) = delete;
    DriverProgram& operator=(const DriverProgram&) = delete;

    // Runs the program: single instance, the main window's initialisation, the event loop.
    // Returns the process's exit status.
    int run();

private:
    // The request --import FILE: "" or what went wrong, in one line.
    std::string importProfileSet(const std::string& file);
    struct Parts;
    // The application object comes first and goes last: it holds the single-instance claim.
    std::unique_ptr<CQEL_GMouseApp> app_;
    std::unique_ptr<Parts> parts_;
    CommandLine commandLine_;
};

} // namespace veldran
