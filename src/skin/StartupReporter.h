// How the skin loading and the main window's initialisation report a failure at start-up: a
// message box owned by the main window, and the start of the program's end (ExitSequence).
#pragma once

#include <QString>

namespace veldran {

class StartupReporter {
public:
    virtual ~StartupReporter() = default;
    // Shows a message box (caption: the application name, one OK button) and returns when the
    // user has closed it, or at once when the end of the program is pending.
    virtual void message(const QString& text) = 0;
    // Runs ExitSequence: the program ends once the initialisation has returned.
    virtual void exitSequence() = 0;
};

} // namespace veldran
