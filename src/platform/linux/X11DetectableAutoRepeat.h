// Held keys in the program's own windows on X11. By default the server sends each repeat of a
// held key as a release and a press, which Qt cannot always tell from real strokes; with
// detectable auto-repeat it sends the repeats as presses only, so that every release the
// program's windows see is a real one.
#pragma once

namespace veldran {

// Asks the X server of the running Qt application for detectable auto-repeat. False when the
// application does not run on X11 or the server cannot do it.
bool enableDetectableAutoRepeat();

} // namespace veldran
