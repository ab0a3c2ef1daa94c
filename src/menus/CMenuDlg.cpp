#include "menus/CMenuDlg.h"

#include "menus/CSubMenuDlg.h"
#include "menus/MenuPicture.h"
#include "menus/MenuPointerRelay.h"

#include <QMouseEvent>
#include <QPainter>

namespace veldran {

CMenuDlg::CMenuDlg(const MenuContext& context, const MenuGeometry& geometry, QWidget* parent)
    : QWidget(parent, kMenuWindowFlags), context_(context), geometry_(geometry) {
    setWindowTitle(QString::fromLatin1(kTitle));
    prepareMenuWindow(*this, geometry_);

    // A new menu starts with nothing highlighted, so that the first movement onto any row
    // repaints, whatever the previous menu showed last.
    FunctionMenuState& menu = context_.menu();
    menu.hotRow = kNoRow;
    menu.previousHotRow = kNoRow;
    menu.pressed = false;
}

CMenuDlg::~CMenuDlg() = default;

CSubMenuDlg* CMenuDlg::advancedMenu() const {
    return advanced_ && !advanced_->isDestroying() ? advanced_.data() : nullptr;
}

QImage CMenuDlg::composePicture() const {
    const FunctionMenuState& menu = context_.menu();
    MenuPictureRequest request;
    request.skinFolder = context_.state.skinFolder;
    request.pictures = kFunctionMenuPictures;
    request.geometry = geometry_;
    request.hotRow = menu.hotRow;
    request.pressed = menu.pressed;
    const auto& names = context_.state.skin.functionNames;
    request.rowText = [&names](int row) { return names[static_cast<std::size_t>(row)]; };
    return composeMenuPicture(request);
}

void CMenuDlg::destroyWindow() {
    if (destroying_) {
        return;
    }
    destroying_ = true;
    closeAdvancedMenu();
    hide();
    deleteLater();
}

void CMenuDlg::mouseMoveEvent(QMouseEvent* event) {
    // A press here keeps the pointer with this window until the release: over the advanced
    // function menu, the move is that menu's (and this menu's hot row stays on its category).
    if (relayHeldPointerTo(advancedMenu(), *event)) {
        return;
    }
    FunctionMenuState& menu = context_.menu();
    const QPoint at = event->position().toPoint();
    menu.hotRow = hitRow(at.x(), at.y(), geometry_.width, geometry_.rowHeight);
    if (menu.hotRow != menu.previousHotRow) {
        update();
        menu.previousHotRow = menu.hotRow;
    }
}

void CMenuDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    context_.menu().pressed = true;
    update();
}

void CMenuDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    FunctionMenuState& menu = context_.menu();
    menu.pressed = false;
    update();
    if (relayHeldPointerTo(advancedMenu(), *event)) {
        return; // chosen there, if on one of its rows
    }
    if (menu.hotRow >= 1 && menu.hotRow <= kDirectRowCount) {
        context_.writeTargetCode(menu.hotRow);
        emit functionChosen();
        destroyWindow();
    }
}

void CMenuDlg::paintEvent(QPaintEvent*) {
    {
        QPainter painter(this);
        painter.drawImage(0, 0, composePicture());
    }
    syncAdvancedMenu();
}

void CMenuDlg::hideEvent(QHideEvent* event) {
    closeAdvancedMenu();
    QWidget::hideEvent(event);
}

void CMenuDlg::syncAdvancedMenu() {
    FunctionMenuState& menu = context_.menu();
    if (menu.advancedMenuOpen) {
        closeAdvancedMenu();
    }
    if (!destroying_ && menu.hotRow >= 7 && menu.hotRow <= kMenuRows) {
        openAdvancedMenu(menu.hotRow);
    }
}

void CMenuDlg::closeAdvancedMenu() {
    context_.menu().advancedMenuOpen = false;
    if (advanced_) {
        advanced_->destroyWindow();
    }
    advanced_.clear();
}

void CMenuDlg::openAdvancedMenu(int menuRow) {
    QStringList names = context_.macroNames ? context_.macroNames() : QStringList();
    names = names.mid(0, kMaxMacroRows);
    const auto category = categoryFor(menuRow, static_cast<int>(names.size()));
    const auto mask = decodedPictureSize(context_.state.skinFolder / kAdvancedMenuPictures.mask);
    if (!category || !mask) {
        return;
    }
    const MenuGeometry geometry = advancedMenuGeometry(*mask, category->rowCount);
    const QRect own = this->geometry();
    const int top =
        advancedMenuTop(menuRow, own.y(), geometry_.rowHeight, static_cast<int>(names.size()))
            .value_or(own.y());

    advanced_ = new CSubMenuDlg(context_, *category, geometry, names, this);
    connect(advanced_, &CSubMenuDlg::functionChosen, this, &CMenuDlg::functionChosen);
    context_.menu().advancedMenuOpen = true;
    advanced_->setGeometry(own.x() + geometry_.width, top, kAdvancedMenuWidth, kAdvancedMenuHeight);
    advanced_->show();
}

} // namespace veldran
