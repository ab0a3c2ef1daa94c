#include "formats/WindowsLayouts.h"

#include <array>
#include <cstddef>

namespace veldran {
namespace {

constexpr std::string_view kKeyNames[] = {
    "TLDE",                                                                         //
    "AE01", "AE02", "AE03", "AE04", "AE05", "AE06", "AE07", "AE08", "AE09", "AE10", //
    "AE11", "AE12", "AE13",                                                         //
    "AD01", "AD02", "AD03", "AD04", "AD05", "AD06", "AD07", "AD08", "AD09", "AD10", //
    "AD11", "AD12",                                                                 //
    "AC01", "AC02", "AC03", "AC04", "AC05", "AC06", "AC07", "AC08", "AC09", "AC10", //
    "AC11", "BKSL",                                                                 //
    "AB01", "AB02", "AB03", "AB04", "AB05", "AB06", "AB07", "AB08", "AB09", "AB10", //
    "AB11", "LSGT",                                                                 //
};
constexpr std::size_t kKeys = std::size(kKeyNames);

// The codes of the punctuation keys, as Windows names them.
constexpr std::uint8_t Oem1 = 0xBA;
constexpr std::uint8_t Plus = 0xBB;
constexpr std::uint8_t Comma = 0xBC;
constexpr std::uint8_t Minus = 0xBD;
constexpr std::uint8_t Period = 0xBE;
constexpr std::uint8_t Oem2 = 0xBF;
constexpr std::uint8_t Oem3 = 0xC0;
constexpr std::uint8_t AbntC1 = 0xC1; // the extra key beside the right Shift (Brazil, Japan)
constexpr std::uint8_t Oem4 = 0xDB;
constexpr std::uint8_t Oem5 = 0xDC;
constexpr std::uint8_t Oem6 = 0xDD;
constexpr std::uint8_t Oem7 = 0xDE;
constexpr std::uint8_t Oem8 = 0xDF;
constexpr std::uint8_t Oem102 = 0xE2; // the key beside the left Shift of 105-key keyboards
constexpr std::uint8_t Kanji = 0x19;  // Hankaku/Zenkaku
constexpr std::uint8_t None = 0;

using Codes = std::array<std::uint8_t, kKeys>;

struct Layout {
    std::string_view names[3]; // the XKB layouts that use the table
    Codes codes;
};

// Row by row as kKeyNames: the key left of 1, the digit row, then the rows starting with Q, A
// and Z on a US keyboard, each with the keys at its end.
constexpr Layout kLayouts[] = {
    {{"us"},
     {Oem3,                                                                         //
      '1',  '2', '3', '4', '5', '6', '7', '8',   '9',    '0',  Minus,  Plus,  None, //
      'Q',  'W', 'E', 'R', 'T', 'Y', 'U', 'I',   'O',    'P',  Oem4,   Oem6,        //
      'A',  'S', 'D', 'F', 'G', 'H', 'J', 'K',   'L',    Oem1, Oem7,   Oem5,        //
      'Z',  'X', 'C', 'V', 'B', 'N', 'M', Comma, Period, Oem2, AbntC1, Oem102}},
    {{"gb"},
     {Oem8,                                                                       //
      '1',  '2', '3', '4', '5', '6', '7', '8',   '9',    '0',  Minus, Plus, None, //
      'Q',  'W', 'E', 'R', 'T', 'Y', 'U', 'I',   'O',    'P',  Oem4,  Oem6,       //
      'A',  'S', 'D', 'F', 'G', 'H', 'J', 'K',   'L',    Oem1, Oem3,  Oem7,       //
      'Z',  'X', 'C', 'V', 'B', 'N', 'M', Comma, Period, Oem2, None,  Oem5}},
    {{"de", "at", "ch"},
     {Oem5,                                                                        //
      '1',  '2', '3', '4', '5', '6', '7', '8',   '9',    '0',   Oem4, Oem6,  None, //
      'Q',  'W', 'E', 'R', 'T', 'Z', 'U', 'I',   'O',    'P',   Oem1, Plus,        //
      'A',  'S', 'D', 'F', 'G', 'H', 'J', 'K',   'L',    Oem3,  Oem7, Oem2,        //
      'Y',  'X', 'C', 'V', 'B', 'N', 'M', Comma, Period, Minus, None, Oem102}},
    {{"fr"},
     {Oem7,                                                                        //
      '1',  '2', '3', '4', '5', '6', '7',   '8',    '9',  '0',  Oem4, Plus,  None, //
      'A',  'Z', 'E', 'R', 'T', 'Y', 'U',   'I',    'O',  'P',  Oem6, Oem1,        //
      'Q',  'S', 'D', 'F', 'G', 'H', 'J',   'K',    'L',  'M',  Oem3, Oem5,        //
      'W',  'X', 'C', 'V', 'B', 'N', Comma, Period, Oem2, Oem8, None, Oem102}},
    {{"be"},
     {Oem3,                                                                        //
      '1',  '2', '3', '4', '5', '6', '7',   '8',    '9',  '0',  Oem2, Minus, None, //
      'A',  'Z', 'E', 'R', 'T', 'Y', 'U',   'I',    'O',  'P',  Oem4, Oem6,        //
      'Q',  'S', 'D', 'F', 'G', 'H', 'J',   'K',    'L',  'M',  Oem7, Oem5,        //
      'W',  'X', 'C', 'V', 'B', 'N', Comma, Period, Oem1, Plus, None, Oem102}},
    {{"es"},
     {Oem5,                                                                        //
      '1',  '2', '3', '4', '5', '6', '7', '8',   '9',    '0',   Oem4, Oem6,  None, //
      'Q',  'W', 'E', 'R', 'T', 'Y', 'U', 'I',   'O',    'P',   Oem1, Plus,        //
      'A',  'S', 'D', 'F', 'G', 'H', 'J', 'K',   'L',    Oem3,  Oem7, Oem2,        //
      'Z',  'X', 'C', 'V', 'B', 'N', 'M', Comma, Period, Minus, None, Oem102}},
    {{"it"},
     {Oem2,                                                                        //
      '1',  '2', '3', '4', '5', '6', '7', '8',   '9',    '0',   Oem4, Oem6,  None, //
      'Q',  'W', 'E', 'R', 'T', 'Y', 'U', 'I',   'O',    'P',   Oem1, Plus,        //
      'A',  'S', 'D', 'F', 'G', 'H', 'J', 'K',   'L',    Oem3,  Oem7, Oem5,        //
      'Z',  'X', 'C', 'V', 'B', 'N', 'M', Comma, Period, Minus, None, Oem102}},
    {{"se", "fi"},
     {Oem5,                                                                        //
      '1',  '2', '3', '4', '5', '6', '7', '8',   '9',    '0',   Plus, Oem4,  None, //
      'Q',  'W', 'E', 'R', 'T', 'Y', 'U', 'I',   'O',    'P',   Oem6, Oem1,        //
      'A',  'S', 'D', 'F', 'G', 'H', 'J', 'K',   'L',    Oem3,  Oem7, Oem2,        //
      'Z',  'X', 'C', 'V', 'B', 'N', 'M', Comma, Period, Minus, None, Oem102}},
    {{"jp"},
     {Kanji,                                                                        //
      '1',   '2', '3', '4', '5', '6', '7', '8',   '9',    '0',  Minus,  Oem7, Oem5, //
      'Q',   'W', 'E', 'R', 'T', 'Y', 'U', 'I',   'O',    'P',  Oem3,   Oem4,       //
      'A',   'S', 'D', 'F', 'G', 'H', 'J', 'K',   'L',    Plus, Oem1,   Oem6,       //
      'Z',   'X', 'C', 'V', 'B', 'N', 'M', Comma, Period, Oem2, Oem102, None}},
};

const Layout& layoutNamed(std::string_view name) {
    for (const Layout& layout : kLayouts) {
        for (const std::string_view known : layout.names) {
            if (!known.empty() && known == name) {
                return layout;
            }
        }
    }
    return kLayouts[0];
}

} // namespace

std::span<const std::string_view> layoutKeyNames() {
    return kKeyNames;
}

std::uint8_t layoutVirtualKey(std::string_view layout, std::string_view keyName) {
    for (std::size_t i = 0; i < kKeys; ++i) {
        if (kKeyNames[i] == keyName) {
            return layoutNamed(layout).codes[i];
        }
    }
    return 0;
}

} // namespace veldran
