// The keyboard message a key event of one of the program's own windows stands for, as the main
// window's pre-filter sees it: key down or up (or their system variants while Alt is held) with
// the key's virtual-key code, Shift, Ctrl and Alt by their generic codes 0x10 to 0x12.
#pragma once

#include "platform/KeyboardHook.h"

#include <optional>

class QKeyEvent;

namespace veldran {

// The message of a key press or release; nothing for other events, for the release half of an
// auto-repeat (a held key repeats its key-down only) and for keys no virtual key stands for.
// physicalKey, when not 0, is the virtual key of the event's native key code as the keyboard map
// names it (so that Shift+1 is the key 1 on every layout, not "!"); without it the event's keysym
// names the key.
std::optional<KeyMessage> windowKeyMessage(const QKeyEvent& event, std::uint8_t physicalKey = 0);

// Virtual-key code of a Qt key (for events that carry no X keysym), 0 when none.
std::uint8_t virtualKeyOfQtKey(int key);

} // namespace veldran
