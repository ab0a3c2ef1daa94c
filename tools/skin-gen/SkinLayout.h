// The one layout table of the default skin: every element of the three pages with its rectangle,
// its label and the way it is drawn, the macro editor's control rectangles, the function names
// and the menu sizes. The pictures and the layout files are both made from these tables, so the
// coordinates in the INI files always match what the pictures show.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <vector>

namespace skingen {

inline constexpr int kWidth = 800;
inline constexpr int kHeight = 600;

// How an element is drawn in the pictures.
enum class Kind {
    Empty,        // no rectangle
    Logo,         // the wordmark
    Caption,      // text drawn by the program over a plain area
    Heading,      // text drawn by the picture (the program does not draw this label)
    Button,       // chamfered push button
    Tab,          // page tab
    WindowButton, // minimise / hide glyph buttons
    Emblem,       // decorative gem
    Field,        // button-assignment field
    Option,       // radio option, indicator on the left
    WheelOption,  // radio option whose label sits 27 pixels right of centre
    StageButton,  // DPI stage selector
    Choice,       // one stop of a DPI track
    Led,          // DPI level indicator
    Chip,         // stage colour stripe
    Readout,      // numeric display (resolution)
    ColorPicture, // color page: the glowing mouse in the stage colour
    Panel,        // always-down panel (title bar of the macro editor)
    Frame,        // frame drawn around a platform control
    Status,       // status line
};

struct ElementSpec {
    QRect rect;    // x, y, width, height in window pixels
    QString label; // written to the INI file (field 6)
    Kind kind = Kind::Empty;
    QString name; // field 1, for people reading the INI file
};

enum class Look { Normal, Over, Down };

// Element tables, indexed like the program's tables (70, 8 and 21 entries).
const std::vector<ElementSpec>& mainElements();
const std::vector<ElementSpec>& colorElements();
const std::vector<ElementSpec>& advancedElements();

// Macro editor controls: name edit (EDIT key 4), name list and event list (MACRODISPLAY 1, 2).
QRect nameEditRect();
QRect nameListRect();
QRect eventListRect();

// Function names for codes 0 to 49 (FUN_STRING).
const std::vector<QString>& functionNames();

// Stage colours of DPI levels 0 to 3 (blue, pink, red, purple), as the color page shows them.
QRgb stageColor(int level);

// Resolution of DPI choice code 0 to 3, and the column at which the choice lies on its track
// (the tracks run from the lowest to the highest resolution).
int choiceResolution(int code);
int choiceColumn(int code);

// Function menu (ten rows) and advanced function menu (twelve rows).
inline constexpr int kMenuWidth = 176;
inline constexpr int kMenuRowHeight = 26;
inline constexpr int kMenuRows = 10;
inline constexpr int kAdvancedMenuRows = 12;

} // namespace skingen
