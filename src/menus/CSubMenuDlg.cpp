#include "menus/CSubMenuDlg.h"

#include "menus/CMenuDlg.h"
#include "menus/MenuPicture.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QThread>

namespace veldran {

namespace {

// How long the choice waits after updating the main window before this window goes away.
constexpr unsigned long kCloseDelayMs = 10;

} // namespace

CSubMenuDlg::CSubMenuDlg(const MenuContext& context, const Category& category,
                         const MenuGeometry& geometry, const QStringList& macroNames,
                         QWidget* parent)
    : QWidget(parent, kMenuWindowFlags), context_(context), category_(category),
      geometry_(geometry), macroNames_(macroNames) {
    prepareMenuWindow(*this, geometry_);

    FunctionMenuState& menu = context_.menu();
    menu.advancedPreviousHotRow = kNoRow;
    menu.closeRequest = false;
}

CSubMenuDlg::~CSubMenuDlg() = default;

QString CSubMenuDlg::rowText(int row) const {
    return categoryRowText(category_, row, context_.state.skin.functionNames, macroNames_);
}

QImage CSubMenuDlg::composePicture() const {
    MenuPictureRequest request;
    request.skinFolder = context_.state.skinFolder;
    request.pictures = kAdvancedMenuPictures;
    request.geometry = geometry_;
    request.hotRow = hotRow_;
    request.pressed = pressed_;
    request.rowText = [this](int row) { return rowText(row); };
    return composeMenuPicture(request);
}

void CSubMenuDlg::destroyWindow() {
    if (destroying_) {
        return;
    }
    destroying_ = true;
    hide();
    deleteLater();
}

void CSubMenuDlg::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    hotRow_ = hitRow(at.x(), at.y(), geometry_.width, geometry_.rowHeight);
    FunctionMenuState& menu = context_.menu();
    if (hotRow_ != menu.advancedPreviousHotRow) {
        update();
        menu.advancedPreviousHotRow = hotRow_;
    }
}

void CSubMenuDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    pressed_ = true;
    update();
}

std::optional<int> CSubMenuDlg::chosenCode() const {
    const FunctionMenuState& menu = context_.menu();
    const auto current = categoryFor(menu.hotRow, static_cast<int>(macroNames_.size()));
    if (!current) {
        // The function menu has left its category rows: the last choice made here stands.
        if (hotRow_ == kNoRow || hotRow_ > category_.rowCount || menu.lastAdvancedChoice == 0) {
            return std::nullopt;
        }
        return menu.lastAdvancedChoice;
    }
    // Only the category's rows choose; the line below the last row and the area outside the
    // rows do not.
    return current->code(hotRow_);
}

void CSubMenuDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    pressed_ = false;
    const auto code = chosenCode();
    if (!code) {
        update();
        return;
    }
    FunctionMenuState& menu = context_.menu();
    menu.lastAdvancedChoice = *code;
    context_.writeTargetCode(*code);
    menu.closeRequest = true;
    update();
    closeFunctionMenuAndUpdateMainWindow();
    emit functionChosen();
    QThread::msleep(kCloseDelayMs);
    destroyWindow();
}

void CSubMenuDlg::closeFunctionMenuAndUpdateMainWindow() {
    const QString menuTitle = QString::fromLatin1(CMenuDlg::kTitle);
    const QString mainTitle = QString::fromLatin1(kMainWindowTitle);
    QWidget* mainWindow = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->windowTitle() == menuTitle && window->isVisible()) {
            // Hidden now; the main window's next paint destroys it.
            window->close();
        } else if (mainWindow == nullptr && window->windowTitle() == mainTitle) {
            mainWindow = window;
        }
    }
    if (mainWindow != nullptr) {
        mainWindow->repaint();
    }
}

void CSubMenuDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, composePicture());
}

} // namespace veldran
