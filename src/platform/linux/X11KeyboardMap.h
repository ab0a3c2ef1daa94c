// Reading the X server's keyboard map: the keysyms and XKB names of every keycode, the layout of
// each keyboard group (from the rules names the server was set up with), the group in use and the
// modifier that Num Lock is.
#pragma once

#include "platform/linux/XKeycodeChoice.h"

struct _XDisplay;

namespace veldran {

XKeyboardMap readKeyboardMap(_XDisplay* display);

// The keyboard group in use (0 for the first).
int currentKeyboardGroup(_XDisplay* display);

// The modifier mask of Num Lock, 0 when no modifier is Num Lock.
unsigned int numLockMask(_XDisplay* display);

// Whether Num Lock is on.
bool numLockOn(_XDisplay* display);

} // namespace veldran
