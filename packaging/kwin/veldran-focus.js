// Loaded into KWin by the VELDRAN GAMING MOUSE driver while it runs (org.kde.KWin /Scripting):
// tells the driver which window is in front, on every activation, so that its profiles can
// follow the program in front. It calls the driver's ActiveWindowChanged with the window's app
// id (its desktop file's name), its WM_CLASS (resource name and resource class, separated by a
// newline) and its pid; with empty strings and 0 when no window is in front (the desktop, an
// empty virtual desktop). Plasma 6 names the signal windowActivated, Plasma 5 clientActivated.

function tellDriver(window) {
    var appId = "";
    var wmClass = "";
    var pid = 0;
    if (window && !window.desktopWindow) {
        appId = String(window.desktopFileName || "");
        wmClass = String(window.resourceName || "") + "\n" + String(window.resourceClass || "");
        pid = window.pid > 0 ? window.pid : 0;
    }
    callDBus("org.veldran.Driver", "/org/veldran/Driver", "org.veldran.Driver1",
             "ActiveWindowChanged", appId, wmClass, pid);
}

if (workspace.windowActivated !== undefined) {
    workspace.windowActivated.connect(tellDriver);
    tellDriver(workspace.activeWindow);
} else {
    workspace.clientActivated.connect(tellDriver);
    tellDriver(workspace.activeClient);
}
