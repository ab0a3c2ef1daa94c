// GNOME Shell extension of the VELDRAN GAMING MOUSE driver: while enabled, the driver is told
// which window is in front (focusReporter.js), so that its profiles follow the program in front.
import Meta from 'gi://Meta';
import {Extension} from 'resource:///org/gnome/shell/extensions/extension.js';

import {FocusReporter} from './focusReporter.js';

export default class VeldranFocusExtension extends Extension {
    enable() {
        this._reporter = new FocusReporter(global.display, Meta.WindowType.DESKTOP);
        this._reporter.start();
    }

    disable() {
        this._reporter?.stop();
        this._reporter = null;
    }
}
