// The main window's side of the function menus: opens a new function menu under a button field,
// destroys it on the next press on the main page or when the advanced function menu asks for it,
// and tells the main window when a function was chosen.
#pragma once

#include "menus/MenuContext.h"

#include <QObject>
#include <QPointer>
#include <QRect>

class QWidget;

namespace veldran {

class CMenuDlg;
class MacroTable;

class FunctionMenus : public QObject {
    Q_OBJECT
public:
    // owner: the main window (the menus stay above it and go away with it), or none.
    FunctionMenus(SkinWindowState& state, Profile& profile, MacroNameSource macroNames,
                  QWidget* owner = nullptr);
    // The same, listing the macros of macros (which must outlive this object).
    FunctionMenus(SkinWindowState& state, Profile& profile, const MacroTable& macros,
                  QWidget* owner = nullptr);
    ~FunctionMenus() override;

    // Opens a new function menu for main element targetElement (17 to 26): destroys any menu
    // still open, places the new one at window left + field x, window top + field y + field
    // height, 300 x 300, and shows it. mainWindow is the main window's screen rectangle and field
    // the element's rectangle in window pixels. Returns false, opening nothing, when the menu
    // picture's mask cannot be decoded.
    bool open(int targetElement, const QRect& mainWindow, const QRect& field);

    // Destroys the function menu (and its advanced function menu) and clears the open flag.
    // Safe to call with no menu and from the menus' own handlers.
    void destroyMenu();

    // At the start of the main window's paint: when a choice in the advanced function menu asked
    // for it, clears the close request and destroys the function menu. Returns whether it did.
    bool honourCloseRequest();

    // The function menu window while it exists and is not being destroyed.
    CMenuDlg* menu() const;

signals:
    // A function was written into the target slot; the main window repaints to show its name.
    void functionChosen();

private:
    MenuContext context_;
    QWidget* owner_;
    QPointer<CMenuDlg> menu_;
};

} // namespace veldran
