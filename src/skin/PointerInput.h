// The main window's pointer input: which element of each table lies under the pointer, the hover
// repaints, the button-held flag, and what a press or a release on an element does on each page.
// The effects on windows, files and the mouse go through PointerActions, which the main window
// implements, so the rules themselves run without any widget.
#pragma once

#include "skin/MacroEditorState.h"
#include "skin/SkinWindowState.h"

#include <QPoint>
#include <cstdint>
#include <span>

namespace veldran {

struct ConfigModel;
class MacroTable;

// The hit test: the lowest index from 0 to lastIndex whose rectangle contains the point, or 255.
std::uint8_t hitTest(std::span<const Element> table, int lastIndex, QPoint point);

// What the pointer rules ask of the main window.
class PointerActions {
public:
    enum class Area { Whole, PaintRegion };
    virtual ~PointerActions() = default;

    // Marks the area for painting; the paint follows when the event loop gets to it.
    virtual void invalidate(Area area) = 0;
    // Paints the area now, before the caller goes on.
    virtual void repaintNow(Area area) = 0;

    virtual void apply() = 0;
    virtual void defaults() = 0;
    virtual void load(int profileNumber) = 0;
    // A profile button: profile n (1-5) becomes the selected one and fills the working profile.
    virtual void chooseProfile(int profileNumber) = 0;
    virtual void save(int profileNumber) = 0;

    virtual void hideToTray() = 0;
    virtual void minimise() = 0;
    // Moves the window with the pointer from the press at pos (client coordinates).
    virtual void startDrag(QPoint pos) = 0;

    // Opens the function menu below main element `element` (17 to 26), closes it again.
    virtual void openFunctionMenu(int element) = 0;
    virtual void closeFunctionMenu() = 0;

    // The macro editor's controls on the advanced page.
    virtual void createMacroControls() = 0;
    virtual void destroyMacroControls() = 0;
    // Number of lines of the macro name list.
    virtual int macroNameLineCount() = 0;
    // Selects line of the name list and shows that macro in the editor.
    virtual void selectMacro(int line) = 0;
    virtual void addMacro() = 0;
    virtual void deleteMacro() = 0;
    virtual void toggleRecording() = 0;
    virtual void saveMacros() = 0;
};

class PointerInput {
public:
    PointerInput(SkinWindowState& state, MacroEditorState& editor, ConfigModel& model,
                 const MacroTable& macros, PointerActions& actions);

    // Pointer movement, press and release of the left button, in client coordinates.
    void moved(QPoint pos);
    void pressed(QPoint pos);
    void released(QPoint pos);
    // The left button's release went to another window (an open function menu): the button is
    // no longer held, and no element of the main window acts.
    void releasedElsewhere();
    // The pointer went from the page onto one of the macro editor's controls: no element lies
    // under it any more.
    void movedOntoControl();

private:
    void setHot(std::uint8_t mainHot, std::uint8_t colorHot, std::uint8_t advancedHot);
    void pressOnMain(QPoint pos);
    void pressOnAdvanced(QPoint pos);
    void pressOnColor(QPoint pos);
    void enterAdvanced(bool limitSelection);
    void chooseDpi(int element);

    SkinWindowState& state_;
    MacroEditorState& editor_;
    PointerState& pointer_;
    ConfigModel& model_;
    const MacroTable& macros_;
    PointerActions& actions_;
};

} // namespace veldran
