#include "platform/linux/FocusSourceChoice.h"

#include "platform/linux/GnomeShellExtension.h"
#include "platform/linux/KWinFocusScript.h"
#include "platform/linux/ReportedActiveWindow.h"
#include "platform/linux/WlrootsActiveWindow.h"
#include "platform/linux/X11ActiveWindow.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <cstdlib>

namespace veldran {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool waylandSession() {
    return !environment("WAYLAND_DISPLAY").empty() || environment("XDG_SESSION_TYPE") == "wayland";
}

// XDG_CURRENT_DESKTOP is a ':'-separated list ("ubuntu:GNOME").
bool gnomeDesktop() {
    const std::string desktops = ":" + environment("XDG_CURRENT_DESKTOP") + ":";
    return desktops.find(":GNOME:") != std::string::npos ||
           (QDBusConnection::sessionBus().interface() != nullptr &&
            QDBusConnection::sessionBus()
                .interface()
                ->isServiceRegistered(QStringLiteral("org.gnome.Shell"))
                .value());
}

// The reports of the driver's KWin script, which is loaded while this lives.
class KWinActiveWindow : public ReportedActiveWindow {
public:
    KWinActiveWindow(Listener listener, const std::string& script)
        : ReportedActiveWindow("kwin", std::move(listener)), script_(script) {}
    bool loaded() const { return script_.loaded(); }

private:
    KWinFocusScript script_;
};

} // namespace

FocusSource chooseFocusSource(ActiveWindow::Listener listener, const std::string& kwinScript) {
    FocusSource source;
    if (waylandSession()) {
        auto wlroots = std::make_unique<WlrootsActiveWindow>(listener);
        if (wlroots->watching()) {
            source.window = std::move(wlroots);
            return source;
        }
        if (kwinIsRunning()) {
            auto kwin = std::make_unique<KWinActiveWindow>(listener, kwinScript);
            if (kwin->loaded()) {
                source.reported = kwin.get();
                source.window = std::move(kwin);
                return source;
            }
        }
        // A Shell that cannot run the extension of its kind (not installed, a Shell older than
        // 43, a failed one) reports nothing: there the XWayland windows at least are seen
        // through X11.
        if (gnomeDesktop() && focusExtensionState() != FocusExtensionState::Unusable) {
            auto gnome = std::make_unique<ReportedActiveWindow>("gnome-shell", listener);
            source.reported = gnome.get();
            source.window = std::move(gnome);
            return source;
        }
    }
    source.window = std::make_unique<X11ActiveWindow>(std::move(listener));
    return source;
}

} // namespace veldran
