// What the configuration and device layers ask of the main window, without knowing any window
// class: a repaint, a message box, and running work on the user-interface thread.
#pragma once

#include <functional>
#include <string>

namespace veldran {

class WindowPort {
public:
    virtual ~WindowPort() = default;
    // Asks for a repaint of the whole main window. Callable from any thread; the paint itself
    // runs on the user-interface thread.
    virtual void repaint() = 0;
    // Shows a message box owned by the main window (caption: the application name, one OK
    // button) and returns without waiting for the user: an Apply that a request, a D-Bus call or
    // the mouse caused is answered at once, and nothing runs nested inside it. A box of the same
    // text that is still open is not shown twice; nothing is shown once the end of the program
    // is pending. Callable from any thread; the box is shown by the user-interface thread.
    virtual void showMessage(const std::string& text) = 0;
    // Runs work on the user-interface thread and returns when it has finished. Called on the
    // user-interface thread itself, it simply runs work.
    virtual void runOnUiThread(const std::function<void()>& work) = 0;
};

} // namespace veldran
