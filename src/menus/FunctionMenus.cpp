#include "menus/FunctionMenus.h"

#include "menus/CMenuDlg.h"
#include "menus/MacroNames.h"
#include "menus/MenuPicture.h"

#include <QWidget>

namespace veldran {

FunctionMenus::FunctionMenus(SkinWindowState& state, Profile& profile, MacroNameSource macroNames,
                             QWidget* owner)
    : QObject(owner), context_{state, profile, std::move(macroNames)}, owner_(owner) {}

FunctionMenus::FunctionMenus(SkinWindowState& state, Profile& profile, const MacroTable& macros,
                             QWidget* owner)
    : FunctionMenus(state, profile, macroNameSource(macros), owner) {}

FunctionMenus::~FunctionMenus() {
    // Deleted at once: no event loop may run after the owner is gone.
    delete menu_.data();
}

bool FunctionMenus::open(int targetElement, const QRect& mainWindow, const QRect& field) {
    destroyMenu();
    FunctionMenuState& state = context_.menu();
    state.targetSlot = targetElement;

    const auto mask = decodedPictureSize(context_.state.skinFolder / kFunctionMenuPictures.mask);
    if (!mask) {
        return false;
    }
    auto* menu = new CMenuDlg(context_, functionMenuGeometry(*mask), owner_);
    connect(menu, &CMenuDlg::functionChosen, this, &FunctionMenus::functionChosen);
    menu_ = menu;
    state.menuOpen = true;
    menu->setGeometry(mainWindow.x() + field.x(), mainWindow.y() + field.y() + field.height(),
                      kFunctionMenuSide, kFunctionMenuSide);
    menu->show();
    return true;
}

void FunctionMenus::destroyMenu() {
    if (menu_) {
        menu_->destroyWindow();
    }
    menu_.clear();
    context_.menu().menuOpen = false;
}

bool FunctionMenus::honourCloseRequest() {
    FunctionMenuState& state = context_.menu();
    if (!state.closeRequest) {
        return false;
    }
    state.closeRequest = false;
    destroyMenu();
    return true;
}

CMenuDlg* FunctionMenus::menu() const {
    return menu_ && !menu_->isDestroying() ? menu_.data() : nullptr;
}

} // namespace veldran
