// Follows the window in front on a wlroots compositor (sway, Hyprland, labwc, river, Wayfire):
// a Wayland connection of the driver's own to $WAYLAND_DISPLAY binds the compositor's
// zwlr_foreign_toplevel_manager_v1, which lists every client's toplevel windows with their app id
// and states. The toplevel whose state holds `activated` is the window in front; none activated
// (an empty workspace, the last window closed) is no window in front. Events arrive on the
// connection's descriptor, read on the event loop: an idle desktop wakes nothing up. XWayland
// windows are in the list too, under their WM_CLASS as app id. The protocol tells no process, so
// no pid and no executable come from here; a window cannot be picked by clicking it.
#pragma once

#include "platform/ActiveWindow.h"

#include <QObject>
#include <memory>
#include <string>
#include <vector>

class QSocketNotifier;

namespace veldran {

class WlrootsActiveWindow : public QObject, public ActiveWindow {
    Q_OBJECT
public:
    // Connects to the compositor and starts following its toplevels; the listener is told on the
    // event loop about every change of the window in front. Without a compositor, or one that
    // does not offer the toplevel list, it stays silent and watching() is false.
    explicit WlrootsActiveWindow(Listener listener, QObject* parent = nullptr);
    ~WlrootsActiveWindow() override;

    // "wlroots" while the compositor's toplevels are followed, else "none".
    const char* sourceName() const override;
    bool watching() const override;
    WindowProgram activeProgram() override;
    // Always false: the protocol has no way to ask which window is under the pointer.
    bool pickWindow(Listener picked) override;
    void cancelPick() override {}
    // The app ids of the toplevels open now, sorted, each once.
    std::vector<std::string> programsWithWindows() override;

    struct Toplevels; // the connection and the list, kept by the protocol's callbacks

private:
    void readEvents();
    void tellIfChanged();

    std::unique_ptr<Toplevels> w_;
    std::unique_ptr<QSocketNotifier> notifier_;
    Listener listener_;
};

} // namespace veldran
