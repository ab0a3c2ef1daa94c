// GNOME Shell 43 and 44 load extensions as scripts of the older kind: the same extension as
// focus@veldran.org (GNOME 45 and later), whose focusReporter.js the build writes from that one's
// ES module (cmake/GnomeShellLegacy.cmake).
/* exported init */
const {Meta} = imports.gi;
const ExtensionUtils = imports.misc.extensionUtils;

const {FocusReporter} = ExtensionUtils.getCurrentExtension().imports.focusReporter;

class VeldranFocusExtension {
    enable() {
        this._reporter = new FocusReporter(global.display, Meta.WindowType.DESKTOP);
        this._reporter.start();
    }

    disable() {
        this._reporter?.stop();
        this._reporter = null;
    }
}

function init() {
    return new VeldranFocusExtension();
}
