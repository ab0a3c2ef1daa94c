// The virtual-key codes that the Windows keyboard layouts give the keys whose code depends on the
// layout: the digit row, the three letter rows and the keys around them, named by their place on a
// PC keyboard (the XKB key names TLDE, AE01, AD11, AC10, BKSL, LSGT, ...). Letters, digits and
// the keys that every layout names alike (Shift, Return, the keypad, the function row) are not
// here: they are known by what they type. Pure data.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace veldran {

// The XKB names of the keys the layout tables cover, in the tables' order.
std::span<const std::string_view> layoutKeyNames();

// The virtual-key code that the Windows layout named like the XKB layout `layout` ("de", "fr",
// "jp", ...) gives the key named keyName; layouts without a table of their own take the US one.
// 0 when the layout gives that key no code (or keyName is not one of layoutKeyNames()).
std::uint8_t layoutVirtualKey(std::string_view layout, std::string_view keyName);

} // namespace veldran
