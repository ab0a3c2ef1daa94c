// The GNOME Shell objects that the driver's extension uses, stood in for under gjs: a display
// with its focus window and notify::focus-window, and windows with what Mutter's windows tell.
// The extension runs on them with the real session bus: with no argument the reporter of the
// GNOME 45 extension (an ES module), with "legacy FOLDER" the GNOME 43 and 44 extension in FOLDER,
// loaded the way those Shells load one. Commands, one a line on standard input, each answered
// "ok" once the focus has moved:
//   window APP_ID INSTANCE CLASS PID   a window comes to the front ("-" for an empty field)
//   desktop                            the desktop's own window comes to the front
//   none                               no window has the focus
//   quit
import Gio from 'gi://Gio';
import GLib from 'gi://GLib';
import System from 'system';

import {FocusReporter} from '../../../packaging/gnome-shell/focus@veldran.org/focusReporter.js';

const WINDOW_TYPE_NORMAL = 0;
const WINDOW_TYPE_DESKTOP = 1;

class StandInWindow {
    constructor(appId, instance, wmClass, pid, type) {
        Object.assign(this, {appId, instance, wmClass, pid, type});
    }

    get_gtk_application_id() { return this.appId; }
    get_sandboxed_app_id() { return null; }
    get_wm_class_instance() { return this.instance; }
    get_wm_class() { return this.wmClass; }
    get_pid() { return this.pid; }
    get_window_type() { return this.type; }
}

class StandInDisplay {
    constructor() {
        this.focus_window = null;
        this._handlers = new Map();
        this._nextId = 1;
    }

    connect(signal, handler) {
        this._handlers.set(this._nextId, {signal, handler});
        return this._nextId++;
    }

    disconnect(id) {
        this._handlers.delete(id);
    }

    focus(window) {
        this.focus_window = window;
        for (const {signal, handler} of this._handlers.values()) {
            if (signal === 'notify::focus-window')
                handler(this);
        }
    }
}

const field = text => (text === '-' ? null : text);

// GNOME 43 and 44: the extension's folder becomes an importer of its own (the Shell's
// ExtensionUtils.installImporter), so its focusReporter.js loads as a legacy module, and
// extension.js runs as a script whose init() returns the object that enable() and disable()
// start and stop. The script runs here in a function whose imports and global are stand-ins:
// Meta (no typelib outside the Shell) and imports.misc.extensionUtils; the rest of imports.gi
// is the real one.
function legacyExtension(folder, display) {
    const dir = Gio.File.new_for_path(folder);
    const searchPath = imports.searchPath.slice();
    imports.searchPath = [dir.get_parent().get_path()];
    const extension = {uuid: dir.get_basename(), dir, path: folder,
        imports: imports[dir.get_basename()]};
    imports.searchPath = searchPath;
    const meta = {WindowType: {NORMAL: WINDOW_TYPE_NORMAL, DESKTOP: WINDOW_TYPE_DESKTOP}};
    const shellImports = {
        gi: new Proxy({}, {get: (_, name) => (name === 'Meta' ? meta : imports.gi[name])}),
        misc: {extensionUtils: {getCurrentExtension: () => extension}},
    };
    const [, script] = GLib.file_get_contents(`${folder}/extension.js`);
    const init = new Function('imports', 'global',
        `${new TextDecoder().decode(script)}\nreturn init;`)(shellImports, {display});
    return init(extension);
}

const display = new StandInDisplay();
const [variant, folder] = System.programArgs;
let extension;
if (variant === 'legacy') {
    extension = legacyExtension(folder, display);
} else {
    const reporter = new FocusReporter(display, WINDOW_TYPE_DESKTOP);
    extension = {enable: () => reporter.start(), disable: () => reporter.stop()};
}
extension.enable();

const loop = new GLib.MainLoop(null, false);
const input = new Gio.DataInputStream({base_stream: new Gio.UnixInputStream({fd: 0})});
function nextCommand() {
    input.read_line_async(GLib.PRIORITY_DEFAULT, null, (stream, result) => {
        const [line] = stream.read_line_finish_utf8(result);
        const [command, appId, instance, wmClass, pid] = (line ?? 'quit').split(' ');
        if (command === 'quit') {
            extension.disable();
            loop.quit();
            return;
        }
        if (command === 'window') {
            display.focus(new StandInWindow(field(appId), field(instance), field(wmClass),
                Number(pid), WINDOW_TYPE_NORMAL));
        } else if (command === 'desktop') {
            display.focus(new StandInWindow(null, 'desktop', 'Desktop', 0, WINDOW_TYPE_DESKTOP));
        } else {
            display.focus(null);
        }
        print('ok');
        nextCommand();
    });
}
nextCommand();
loop.run();
