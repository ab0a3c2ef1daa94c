// veldran-driver: the configuration program of the VELDRAN GAMING MOUSE.
#include "app/CommandLine.h"
#include "app/DriverProgram.h"
#include "app/RemoteCommand.h"
#include "app/SessionPlatform.h"
#include "platform/Log.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::string program = "veldran-driver";
    const std::vector<std::string> args(argv + 1, argv + argc);
    veldran::CommandLine commandLine = veldran::parseCommandLine(args);
    switch (commandLine.action) {
    case veldran::CommandLine::Action::Help:
        std::fputs(veldran::usageText(program).c_str(), stdout);
        return 0;
    case veldran::CommandLine::Action::Version:
        std::printf("%s %s\n", program.c_str(), VELDRAN_VERSION);
        std::puts("License GPL-3.0-or-later: GNU GPL version 3 or later "
                  "<https://gnu.org/licenses/gpl.html>.\n"
                  "This is free software: you are free to change and redistribute it.\n"
                  "There is NO WARRANTY, to the extent permitted by law.");
        return 0;
    case veldran::CommandLine::Action::Usage:
        veldran::logLine(commandLine.error);
        std::fputs(veldran::usageText(program).c_str(), stderr);
        return 2;
    case veldran::CommandLine::Action::Request:
        // Answered by the running driver (which --profile starts when there is none).
        return veldran::runRemoteCommand(commandLine);
    case veldran::CommandLine::Action::Run:
        break;
    }

    // A start by the desktop before its session's display is known fails plainly (the user
    // unit tries again) instead of letting Qt abort with a core dump.
    if (commandLine.startHidden && std::getenv("DISPLAY") == nullptr &&
        std::getenv("WAYLAND_DISPLAY") == nullptr && std::getenv("QT_QPA_PLATFORM") == nullptr) {
        veldran::logLine("no graphical session (DISPLAY is not set)");
        return 1;
    }

    // In a Wayland session the window runs on XWayland unless the user chose a platform. The
    // choice goes in as Qt's own argument, not the environment, so that the programs the driver
    // starts keep the session's platform.
    std::vector<char*> qtArgv(argv, argv + argc);
    std::string platformArgument = "-platform";
    std::string platform = veldran::sessionQtPlatform(veldran::processEnvironment).value_or("");
    if (!platform.empty()) {
        qtArgv.push_back(platformArgument.data());
        qtArgv.push_back(platform.data());
    }
    int qtArgc = static_cast<int>(qtArgv.size());
    qtArgv.push_back(nullptr);

    QApplication app(qtArgc, qtArgv.data());
    // Lets the desktop match the window to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.veldran.Driver"));
    commandLine.startProfile = veldran::takeStartProfile();
    veldran::DriverProgram driver(commandLine);
    return driver.run();
}
