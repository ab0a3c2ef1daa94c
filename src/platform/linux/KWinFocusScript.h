// The KWin script that reports the window in front to the driver (installed as
// share/veldran/kwin/veldran-focus.js): loaded into the running KWin over D-Bus (org.kde.KWin,
// /Scripting, loadScript then start) while the driver runs, and unloaded when it ends. The script
// connects to the window-activation signal (workspace.windowActivated on Plasma 6,
// workspace.clientActivated on 5) and calls the driver's ActiveWindowChanged.
#pragma once

#include <string>

namespace veldran {

inline constexpr const char* kKWinScriptName = "veldran-focus";
// The script's file in the driver's data folder.
inline constexpr const char* kKWinScriptFile = "kwin/veldran-focus.js";

class KWinFocusScript {
public:
    // Loads and starts the script file. A script of that name left by a driver that did not end
    // cleanly is unloaded first.
    explicit KWinFocusScript(const std::string& file);
    ~KWinFocusScript();
    KWinFocusScript(const KWinFocusScript&) = delete;
    KWinFocusScript& operator=(const KWinFocusScript&) = delete;

    // Whether KWin took the script.
    bool loaded() const { return loaded_; }

private:
    bool loaded_ = false;
};

// Whether a KWin answers on the session bus.
bool kwinIsRunning();

} // namespace veldran
