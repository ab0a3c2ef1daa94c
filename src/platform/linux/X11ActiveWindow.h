// Follows the window in front on X11: the root window's _NET_ACTIVE_WINDOW, watched through a
// PropertyNotify selection on a connection of its own, so that an idle desktop wakes nothing up.
// Each change is handed on with what the window shows of its program (WM_CLASS and the file name
// of the executable of _NET_WM_PID, or of the local client that made the window when it carries
// no _NET_WM_PID). It also lets the user pick a program by clicking its window. Without an X
// server it stays silent.
#pragma once

#include "platform/ActiveWindow.h"
#include "platform/linux/ProcessExecutable.h"

#include <QObject>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QSocketNotifier;
class QTimer;

namespace veldran {

class X11ActiveWindow : public QObject, public ActiveWindow {
    Q_OBJECT
public:
    // Connects to the X server of $DISPLAY and starts watching; the listener is told on the
    // event loop about every change of the active window.
    explicit X11ActiveWindow(Listener listener, QObject* parent = nullptr);
    ~X11ActiveWindow() override;

    // "x11" while an X server is watched, else "none".
    const char* sourceName() const override;
    // Whether an X server is watched.
    bool watching() const override;
    // What the window in front shows of its program now (empty fields when there is none).
    WindowProgram activeProgram() override;
    // Lets the user click a window: the pointer is grabbed (a crosshair) until the next button
    // press, and picked is told the program of the window clicked (empty fields over the bare
    // desktop). Without a click within kPickTimeout the pick ends by itself. False when the
    // pointer cannot be grabbed or a pick runs already.
    bool pickWindow(Listener picked) override;
    void cancelPick() override;
    static constexpr std::chrono::seconds kPickTimeout{10};
    // The WM_CLASS instance names of the windows the window manager lists now (_NET_CLIENT_LIST),
    // sorted, each once.
    std::vector<std::string> programsWithWindows() override;

private:
    void readEvents();
    WindowProgram programOf(std::uint32_t window);
    std::uint32_t clientWindowOf(std::uint32_t window);

    struct Connection;
    std::unique_ptr<Connection> x_;
    std::unique_ptr<QSocketNotifier> notifier_;
    Listener listener_;
    Listener picked_; // set while a pick runs
    std::unique_ptr<QTimer> pickTimeout_;
};

} // namespace veldran
