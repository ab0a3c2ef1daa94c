// The window in front as the desktop itself reports it: a KWin script or a GNOME Shell extension
// calls the driver back over D-Bus (ActiveWindowChanged) with the app id, the WM_CLASS and the pid
// of each window that comes to the front, and empty strings and 0 when none is. Each report is
// handed on as the program rules see a window: the executable's file name is read from the pid
// (for a process of the driver's own user only).
#pragma once

#include "platform/ActiveWindow.h"

#include <set>
#include <string>
#include <vector>

namespace veldran {

// The WM_CLASS of a report: the instance and the class separated by a newline; a value without
// a newline is the class alone.
WindowProgram reportedProgram(const std::string& appId, const std::string& wmClass, unsigned pid);

class ReportedActiveWindow : public ActiveWindow {
public:
    ReportedActiveWindow(const char* sourceName, Listener listener)
        : sourceName_(sourceName), listener_(std::move(listener)) {}

    const char* sourceName() const override { return sourceName_; }
    bool watching() const override { return true; }
    // What was reported last (empty fields before the first report).
    WindowProgram activeProgram() override { return front_; }
    // Always false: the desktop reports the front window only.
    bool pickWindow(Listener /*picked*/) override { return false; }
    void cancelPick() override {}
    // The programs (app id, else the WM_CLASS instance or class) reported in front so far.
    std::vector<std::string> programsWithWindows() override {
        return {reportedNames_.begin(), reportedNames_.end()};
    }

    // A report of the desktop: the window in front now.
    void report(const std::string& appId, const std::string& wmClass, unsigned pid);

private:
    const char* sourceName_;
    Listener listener_;
    WindowProgram front_;
    std::set<std::string> reportedNames_;
};

} // namespace veldran
