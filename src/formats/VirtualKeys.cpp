#include "formats/VirtualKeys.h"

#include <algorithm>
#include <array>

namespace veldran {
namespace {

// Keysyms are given as numbers so that this table needs no window-system header; the X name of
// each one stands in the comment.
constexpr VirtualKey kTable[] = {
    {0x03, 0xff69, "CANCEL"},     // Cancel
    {0x08, 0xff08, "BACK"},       // BackSpace
    {0x09, 0xff09, "TAB"},        // Tab
    {0x0C, 0xff0b, "CLEAR"},      // Clear
    {0x0D, 0xff0d, "RETURN"},     // Return
    {0x10, 0xffe1, "SHIFT"},      // Shift_L
    {0x11, 0xffe3, "CONTROL"},    // Control_L
    {0x12, 0xffe9, "MENU"},       // Alt_L
    {0x13, 0xff13, "PAUSE"},      // Pause
    {0x14, 0xffe5, "CAPITAL"},    // Caps_Lock
    {0x15, 0xff27, "KANA"},       // Hiragana_Katakana
    {0x17, 0xff38, "JUNJA"},      // Hangul_Jeonja
    {0x18, 0xff33, "FINAL"},      // Hangul_End
    {0x19, 0xff34, "HANJA"},      // Hangul_Hanja
    {0x1B, 0xff1b, "ESCAPE"},     // Escape
    {0x1C, 0xff23, "CONVERT"},    // Henkan
    {0x1D, 0xff22, "NONCONVERT"}, // Muhenkan
    {0x1F, 0xff7e, "MODECHANGE"}, // Mode_switch
    {0x20, 0x0020, "SPACE"},      // space
    {0x21, 0xff55, "PRIOR"},      // Prior (Page Up)
    {0x22, 0xff56, "NEXT"},       // Next (Page Down)
    {0x23, 0xff57, "END"},        // End
    {0x24, 0xff50, "HOME"},       // Home
    {0x25, 0xff51, "LEFT"},       // Left
    {0x26, 0xff52, "UP"},         // Up
    {0x27, 0xff53, "RIGHT"},      // Right
    {0x28, 0xff54, "DOWN"},       // Down
    {0x29, 0xff60, "SELECT"},     // Select
    {0x2A, 0xff61, "PRINT"},      // Print
    {0x2B, 0xff62, "EXECUTE"},    // Execute
    {0x2C, 0xff61, "SNAPSHOT"},   // Print (the Print Screen key)
    {0x2D, 0xff63, "INSERT"},     // Insert
    {0x2E, 0xffff, "DELETE"},     // Delete
    {0x2F, 0xff6a, "HELP"},       // Help
    {0x30, 0x0030, "0"},
    {0x31, 0x0031, "1"},
    {0x32, 0x0032, "2"},
    {0x33, 0x0033, "3"},
    {0x34, 0x0034, "4"},
    {0x35, 0x0035, "5"},
    {0x36, 0x0036, "6"},
    {0x37, 0x0037, "7"},
    {0x38, 0x0038, "8"},
    {0x39, 0x0039, "9"},
    {0x41, 0x0061, "A"},
    {0x42, 0x0062, "B"},
    {0x43, 0x0063, "C"},
    {0x44, 0x0064, "D"},
    {0x45, 0x0065, "E"},
    {0x46, 0x0066, "F"},
    {0x47, 0x0067, "G"},
    {0x48, 0x0068, "H"},
    {0x49, 0x0069, "I"},
    {0x4A, 0x006a, "J"},
    {0x4B, 0x006b, "K"},
    {0x4C, 0x006c, "L"},
    {0x4D, 0x006d, "M"},
    {0x4E, 0x006e, "N"},
    {0x4F, 0x006f, "O"},
    {0x50, 0x0070, "P"},
    {0x51, 0x0071, "Q"},
    {0x52, 0x0072, "R"},
    {0x53, 0x0073, "S"},
    {0x54, 0x0074, "T"},
    {0x55, 0x0075, "U"},
    {0x56, 0x0076, "V"},
    {0x57, 0x0077, "W"},
    {0x58, 0x0078, "X"},
    {0x59, 0x0079, "Y"},
    {0x5A, 0x007a, "Z"},
    {0x5B, 0xffeb, "LWIN"},      // Super_L
    {0x5C, 0xffec, "RWIN"},      // Super_R
    {0x5D, 0xff67, "APPS"},      // Menu
    {0x5F, 0x1008ff2f, "SLEEP"}, // XF86Sleep
    {0x60, 0xffb0, "NUMPAD0"},   // KP_0
    {0x61, 0xffb1, "NUMPAD1"},
    {0x62, 0xffb2, "NUMPAD2"},
    {0x63, 0xffb3, "NUMPAD3"},
    {0x64, 0xffb4, "NUMPAD4"},
    {0x65, 0xffb5, "NUMPAD5"},
    {0x66, 0xffb6, "NUMPAD6"},
    {0x67, 0xffb7, "NUMPAD7"},
    {0x68, 0xffb8, "NUMPAD8"},
    {0x69, 0xffb9, "NUMPAD9"},   // KP_9
    {0x6A, 0xffaa, "MULTIPLY"},  // KP_Multiply
    {0x6B, 0xffab, "ADD"},       // KP_Add
    {0x6C, 0xffac, "SEPARATOR"}, // KP_Separator
    {0x6D, 0xffad, "SUBTRACT"},  // KP_Subtract
    {0x6E, 0xffae, "DECIMAL"},   // KP_Decimal
    {0x6F, 0xffaf, "DIVIDE"},    // KP_Divide
    {0x70, 0xffbe, "F1"},        // F1
    {0x71, 0xffbf, "F2"},
    {0x72, 0xffc0, "F3"},
    {0x73, 0xffc1, "F4"},
    {0x74, 0xffc2, "F5"},
    {0x75, 0xffc3, "F6"},
    {0x76, 0xffc4, "F7"},
    {0x77, 0xffc5, "F8"},
    {0x78, 0xffc6, "F9"},
    {0x79, 0xffc7, "F10"},
    {0x7A, 0xffc8, "F11"},
    {0x7B, 0xffc9, "F12"},
    {0x7C, 0xffca, "F13"},
    {0x7D, 0xffcb, "F14"},
    {0x7E, 0xffcc, "F15"},
    {0x7F, 0xffcd, "F16"},
    {0x80, 0xffce, "F17"},
    {0x81, 0xffcf, "F18"},
    {0x82, 0xffd0, "F19"},
    {0x83, 0xffd1, "F20"},
    {0x84, 0xffd2, "F21"},
    {0x85, 0xffd3, "F22"},
    {0x86, 0xffd4, "F23"},
    {0x87, 0xffd5, "F24"},                     // F24
    {0x90, 0xff7f, "NUMLOCK"},                 // Num_Lock
    {0x91, 0xff14, "SCROLL"},                  // Scroll_Lock
    {0xA0, 0xffe1, "LSHIFT"},                  // Shift_L
    {0xA1, 0xffe2, "RSHIFT"},                  // Shift_R
    {0xA2, 0xffe3, "LCONTROL"},                // Control_L
    {0xA3, 0xffe4, "RCONTROL"},                // Control_R
    {0xA4, 0xffe9, "LMENU"},                   // Alt_L
    {0xA5, 0xffea, "RMENU"},                   // Alt_R
    {0xA6, 0x1008ff26, "BROWSER_BACK"},        // XF86Back
    {0xA7, 0x1008ff27, "BROWSER_FORWARD"},     // XF86Forward
    {0xA8, 0x1008ff29, "BROWSER_REFRESH"},     // XF86Refresh
    {0xA9, 0x1008ff28, "BROWSER_STOP"},        // XF86Stop
    {0xAA, 0x1008ff1b, "BROWSER_SEARCH"},      // XF86Search
    {0xAB, 0x1008ff30, "BROWSER_FAVORITES"},   // XF86Favorites
    {0xAC, 0x1008ff18, "BROWSER_HOME"},        // XF86HomePage
    {0xAD, 0x1008ff12, "VOLUME_MUTE"},         // XF86AudioMute
    {0xAE, 0x1008ff11, "VOLUME_DOWN"},         // XF86AudioLowerVolume
    {0xAF, 0x1008ff13, "VOLUME_UP"},           // XF86AudioRaiseVolume
    {0xB0, 0x1008ff17, "MEDIA_NEXT_TRACK"},    // XF86AudioNext
    {0xB1, 0x1008ff16, "MEDIA_PREV_TRACK"},    // XF86AudioPrev
    {0xB2, 0x1008ff15, "MEDIA_STOP"},          // XF86AudioStop
    {0xB3, 0x1008ff14, "MEDIA_PLAY_PAUSE"},    // XF86AudioPlay
    {0xB4, 0x1008ff19, "LAUNCH_MAIL"},         // XF86Mail
    {0xB5, 0x1008ff32, "LAUNCH_MEDIA_SELECT"}, // XF86AudioMedia
    {0xB6, 0x1008ff33, "LAUNCH_APP1"},         // XF86MyComputer
    {0xB7, 0x1008ff1d, "LAUNCH_APP2"},         // XF86Calculator
    {0xBA, 0x003b, "OEM_1"},                   // semicolon
    {0xBB, 0x003d, "OEM_PLUS"},                // equal
    {0xBC, 0x002c, "OEM_COMMA"},               // comma
    {0xBD, 0x002d, "OEM_MINUS"},               // minus
    {0xBE, 0x002e, "OEM_PERIOD"},              // period
    {0xBF, 0x002f, "OEM_2"},                   // slash
    {0xC0, 0x0060, "OEM_3"},                   // grave
    {0xDB, 0x005b, "OEM_4"},                   // bracketleft
    {0xDC, 0x005c, "OEM_5"},                   // backslash
    {0xDD, 0x005d, "OEM_6"},                   // bracketright
    {0xDE, 0x0027, "OEM_7"},                   // apostrophe
    {0xE2, 0x003c, "OEM_102"},                 // less (the extra key of 102-key keyboards)
};

constexpr bool ascending() {
    for (std::size_t i = 1; i < std::size(kTable); ++i) {
        if (kTable[i - 1].code >= kTable[i].code) {
            return false;
        }
    }
    return true;
}
static_assert(ascending(), "the table is sorted by code, each code once");

} // namespace

std::span<const VirtualKey> virtualKeyTable() {
    return kTable;
}

const VirtualKey* findVirtualKey(std::uint8_t code) {
    const auto* end = std::end(kTable);
    const auto* it =
        std::lower_bound(std::begin(kTable), end, code,
                         [](const VirtualKey& k, std::uint8_t c) { return k.code < c; });
    return it != end && it->code == code ? it : nullptr;
}

} // namespace veldran
