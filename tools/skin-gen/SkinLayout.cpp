// The default skin's layout: an 800 x 600 window with the chrome in a header (logo, status line,
// window buttons, page tabs) and a footer (profiles, Save, Defaults, Cancel, Apply), and each
// page's content between them.
#include "SkinLayout.h"

#include <QColor>

namespace skingen {
namespace {

ElementSpec el(int x, int y, int w, int h, Kind kind, const QString& label = {},
               const QString& name = {}) {
    return ElementSpec{QRect(x, y, w, h), label, kind, name.isEmpty() ? label : name};
}

// Button fields: seven rows on the left of the main page.
constexpr int kFieldX = 30;
constexpr int kFieldTop = 150;
constexpr int kFieldPitch = 56;

// DPI table: four rows of four stops.
constexpr int kStageTop = 160;
constexpr int kStagePitch = 48;
constexpr int kTrackX = 530;
constexpr int kColumnPitch = 60;

std::vector<ElementSpec> buildMain() {
    std::vector<ElementSpec> t(70);
    t[0] = el(24, 8, 300, 44, Kind::Logo, {}, QStringLiteral("logo"));
    t[1] = el(24, 62, 352, 22, Kind::Status, {}, QStringLiteral("status"));
    t[2] = el(620, 548, 76, 32, Kind::Button, QStringLiteral("Cancel"));
    t[3] = el(700, 548, 76, 32, Kind::Button, QStringLiteral("Apply"));
    for (int k = 0; k < 5; ++k) {
        t[static_cast<std::size_t>(4 + k)] =
            el(24 + k * 84, 548, 80, 32, Kind::Button, QStringLiteral("Profile %1").arg(k + 1));
    }
    t[9] = el(392, 56, 126, 34, Kind::Tab, QStringLiteral("Buttons & DPI"));
    t[10] = el(522, 56, 126, 34, Kind::Tab, QStringLiteral("Macros"));
    t[11] = el(652, 56, 126, 34, Kind::Tab, QStringLiteral("Lighting"));
    t[12] = el(700, 24, 28, 22, Kind::WindowButton, {}, QStringLiteral("minimise"));
    t[13] = el(732, 24, 28, 22, Kind::WindowButton, {}, QStringLiteral("hide"));
    t[14] = el(652, 24, 40, 22, Kind::Emblem, {}, QStringLiteral("emblem"));
    t[15] = el(464, 548, 72, 32, Kind::Button, QStringLiteral("Save"));
    t[16] = el(540, 548, 76, 32, Kind::Button, QStringLiteral("Defaults"));

    static const char* const buttonCaptions[7] = {
        "1  Left button",         "2  Right button", "3  Wheel button", "4  Side button (rear)",
        "5  Side button (front)", "6  DPI button",   "7  Top button"};
    for (int k = 0; k < 7; ++k) {
        const int y = kFieldTop + k * kFieldPitch;
        t[static_cast<std::size_t>(17 + k)] =
            el(kFieldX, y, 156, 26, Kind::Field, {}, QStringLiteral("button%1").arg(k + 1));
        t[static_cast<std::size_t>(34 + k)] =
            el(kFieldX, y - 18, 156, 16, Kind::Caption, QString::fromUtf8(buttonCaptions[k]));
    }
    t[27] = el(28, 106, 300, 22, Kind::Heading, QStringLiteral("BUTTON ASSIGNMENT"));
    t[28] = el(422, 106, 300, 22, Kind::Heading, QStringLiteral("SENSITIVITY"));
    t[29] = el(422, 406, 300, 22, Kind::Heading, QStringLiteral("SCROLL WHEEL"));
    t[30] = el(422, 134, 76, 16, Kind::Caption, QStringLiteral("Stage"));
    t[31] =
        el(422, 352, 350, 18, Kind::Caption, QStringLiteral("Apply sends the stages to the mouse"));
    t[32] = el(422, 442, 170, 34, Kind::WheelOption, QStringLiteral("Line scroll"));
    t[33] = el(602, 442, 170, 34, Kind::WheelOption, QStringLiteral("Page scroll"));

    for (int stage = 0; stage < 4; ++stage) {
        const int y = kStageTop + stage * kStagePitch;
        t[static_cast<std::size_t>(41 + stage)] =
            el(422, y, 76, 30, Kind::StageButton, QStringLiteral("Stage %1").arg(stage + 1));
        t[static_cast<std::size_t>(65 + stage)] =
            el(506, y + 9, 12, 12, Kind::Led, {}, QStringLiteral("level%1").arg(stage + 1));
        for (int code = 0; code < 4; ++code) {
            const int x = kTrackX + choiceColumn(code) * kColumnPitch;
            t[static_cast<std::size_t>(45 + 5 * stage + code)] =
                el(x, y, 46, 30, Kind::Choice, {},
                   QStringLiteral("stage%1_%2").arg(stage + 1).arg(choiceResolution(code)));
        }
        t[static_cast<std::size_t>(49 + 5 * stage)] =
            el(kTrackX, y + 34, 3 * kColumnPitch + 60, 4, Kind::Chip,
               QStringLiteral("Stage %1 colour").arg(stage + 1));
    }
    return t;
}

std::vector<ElementSpec> buildColor() {
    std::vector<ElementSpec> t(8);
    static const char* const modes[4] = {"Breathing", "Steady glow", "Colour cycle", "Lights off"};
    for (int k = 0; k < 4; ++k) {
        t[static_cast<std::size_t>(k)] =
            el(30, 146 + k * 58, 356, 44, Kind::Option, QString::fromUtf8(modes[k]));
    }
    t[4] = el(422, 404, 350, 20, Kind::Caption, QStringLiteral("Resolution of the current stage"));
    t[5] = el(517, 432, 160, 34, Kind::Readout, {}, QStringLiteral("resolution"));
    t[6] = el(422, 108, 350, 20, Kind::Caption, QStringLiteral("Colour of the current stage"));
    t[7] = el(448, 134, 298, 256, Kind::ColorPicture, {}, QStringLiteral("colour"));
    return t;
}

std::vector<ElementSpec> buildAdvanced() {
    std::vector<ElementSpec> t(21);
    t[8] = el(24, 106, 752, 26, Kind::Panel, QStringLiteral("MACRO EDITOR"));
    t[0] = el(32, 140, 220, 18, Kind::Caption, QStringLiteral("Macro name"));
    t[1] = el(32, 196, 220, 18, Kind::Caption, QStringLiteral("Macros"));
    t[2] = el(344, 140, 250, 18, Kind::Caption, QStringLiteral("Events and pauses"));
    t[3] = el(610, 140, 166, 18, Kind::Caption, QStringLiteral("Quick guide"));
    const QRect edit = nameEditRect();
    const QRect names = nameListRect();
    const QRect events = eventListRect();
    t[4] = el(edit.x() - 2, edit.y() - 2, edit.width() + 4, edit.height() + 4, Kind::Frame, {},
              QStringLiteral("nameframe"));
    t[5] = el(names.x() - 2, names.y() - 2, names.width() + 4, names.height() + 4, Kind::Frame, {},
              QStringLiteral("listframe"));
    t[6] = el(events.x() - 2, events.y() - 2, events.width() + 4, events.height() + 4, Kind::Frame,
              {}, QStringLiteral("eventframe"));
    // How the editor is used: recording, the event list's context menu (mouse-button inserts
    // before the event, delete, "Modificar Delay" on a pause), editing a pause in place, and
    // Save, without which every change stays in memory.
    static const char* const guide[9] = {
        "1. Type a name: Add", "2. Record then Stop", "Right-click an event",
        "to insert a mouse",   "button or delete it", "Double-click a pause",
        "to type its delay",   "Save macros keeps",   "them (up to 12)"};
    static const int guideIndex[9] = {7, 9, 10, 11, 12, 13, 14, 15, 16};
    for (int k = 0; k < 9; ++k) {
        t[static_cast<std::size_t>(guideIndex[k])] =
            el(610, 166 + k * 26, 166, 22, Kind::Caption, QString::fromUtf8(guide[k]));
    }
    t[17] = el(260, 160, 72, 26, Kind::Button, QStringLiteral("Add"));
    t[18] = el(32, 496, 220, 28, Kind::Button, QStringLiteral("Delete"));
    t[19] = el(344, 496, 122, 28, Kind::Button, QStringLiteral("Record"));
    t[20] = el(472, 496, 122, 28, Kind::Button, QStringLiteral("Save macros"));
    return t;
}

} // namespace

const std::vector<ElementSpec>& mainElements() {
    static const std::vector<ElementSpec> table = buildMain();
    return table;
}
const std::vector<ElementSpec>& colorElements() {
    static const std::vector<ElementSpec> table = buildColor();
    return table;
}
const std::vector<ElementSpec>& advancedElements() {
    static const std::vector<ElementSpec> table = buildAdvanced();
    return table;
}

QRect nameEditRect() {
    return QRect(32, 160, 220, 26);
}
QRect nameListRect() {
    return QRect(32, 216, 220, 270);
}
QRect eventListRect() {
    return QRect(344, 160, 250, 326);
}

const std::vector<QString>& functionNames() {
    static const std::vector<QString> names = [] {
        std::vector<QString> n(50);
        const char* const fixed[50] = {
            "Disabled", "Left Click", "Right Click", "Middle Click", "Forward", "Back", "DPI Cycle",
            "Mouse Functions", "Multimedia", "Macros", "Shortcuts",
            // 11 to 18: mouse functions 7 to 12, then the program's DPI steps
            "Double Click", "Triple Click", "Fire Key", "Scroll Up", "Scroll Down", "Sniper",
            "DPI +", "DPI -",
            // 19, 20
            "Color Picker", "Unassigned",
            // 21 to 26: mouse functions 13 to 17, then mute
            "Play / Pause", "Next Track", "Previous Track", "Volume Up", "Volume Down", "Mute",
            // 27 to 30
            "Unassigned", "Unassigned", "Unassigned", "Unassigned",
            // 31 to 40
            "Copy (Ctrl+C)", "Paste (Ctrl+V)", "Select All (Ctrl+A)", "Undo (Ctrl+Z)",
            "Close (Alt+F4)", "Computer", "Lock Screen", "Calculator", "Terminal", "Next Profile",
            // 41 to 49: replaced by the macro names when drawn
            "Macro 1", "Macro 2", "Macro 3", "Macro 4", "Macro 5", "Macro 6", "Macro 7", "Macro 8",
            "Macro 9"};
        for (int i = 0; i < 50; ++i) {
            n[static_cast<std::size_t>(i)] = QString::fromUtf8(fixed[i]);
        }
        return n;
    }();
    return names;
}

QRgb stageColor(int level) {
    static const QRgb colors[4] = {qRgb(40, 140, 255), qRgb(255, 92, 200), qRgb(255, 40, 40),
                                   qRgb(160, 60, 255)};
    return colors[level & 3];
}

int choiceResolution(int code) {
    static const int dpi[4] = {4000, 1600, 2400, 3200};
    return dpi[code & 3];
}

int choiceColumn(int code) {
    return (code + 3) % 4;
}

} // namespace skingen
