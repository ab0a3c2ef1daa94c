// Tells the VELDRAN GAMING MOUSE driver which window is in front: on every change of the Shell's
// focused window (the display's notify::focus-window), and when the driver appears on the
// session bus, it calls the driver's ActiveWindowChanged with the window's app id, its WM_CLASS
// (instance and class, separated by a newline) and its pid; with empty strings and 0 when no
// window is in front (no focus, the desktop's own window). A driver that is not running is not
// started, and a call it does not answer is dropped.
import Gio from 'gi://Gio';
import GLib from 'gi://GLib';

const DRIVER_NAME = 'org.veldran.Driver';
const DRIVER_PATH = '/org/veldran/Driver';
const DRIVER_INTERFACE = 'org.veldran.Driver1';

// What the driver is told of window: [appId, wmClass, pid].
export function windowReport(window, desktopType) {
    if (!window || window.get_window_type() === desktopType) {
        return ['', '', 0];
    }
    const appId = window.get_gtk_application_id() || window.get_sandboxed_app_id() || '';
    const wmClass = `${window.get_wm_class_instance() || ''}\n${window.get_wm_class() || ''}`;
    const pid = window.get_pid();
    return [appId, wmClass, pid > 0 ? pid : 0];
}

export class FocusReporter {
    // display: the Shell's global.display; desktopType: Meta.WindowType.DESKTOP.
    constructor(display, desktopType) {
        this._display = display;
        this._desktopType = desktopType;
        this._focusId = 0;
        this._watchId = 0;
    }

    start() {
        this._focusId = this._display.connect('notify::focus-window', () => this.report());
        // Also tells a driver started after the window came to the front.
        this._watchId = Gio.bus_watch_name(Gio.BusType.SESSION, DRIVER_NAME,
            Gio.BusNameWatcherFlags.NONE, () => this.report(), null);
    }

    stop() {
        if (this._focusId !== 0) {
            this._display.disconnect(this._focusId);
            this._focusId = 0;
        }
        if (this._watchId !== 0) {
            Gio.bus_unwatch_name(this._watchId);
            this._watchId = 0;
        }
    }

    report() {
        const [appId, wmClass, pid] = windowReport(this._display.focus_window, this._desktopType);
        Gio.DBus.session.call(DRIVER_NAME, DRIVER_PATH, DRIVER_INTERFACE, 'ActiveWindowChanged',
            new GLib.Variant('(ssu)', [appId, wmClass, pid]), null,
            Gio.DBusCallFlags.NO_AUTO_START, 1000, null, (bus, result) => {
                try {
                    bus.call_finish(result);
                } catch (e) {
                    // No driver, or one that follows the window in front by itself.
                }
            });
    }
}
