// The function menu window "MainMenuDlg": ten skinned rows under a button field. Rows 1 to 6
// write their number as the target slot's FunctionCode and close the menu; resting on rows 7 to 10
// opens the advanced function menu beside it with that category's list.
#pragma once

#include "menus/MenuContext.h"
#include "menus/MenuLayout.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

namespace veldran {

class CSubMenuDlg;

class CMenuDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "MainMenuDlg";

    // A frameless window titled "MainMenuDlg", shaped to geometry (see functionMenuGeometry);
    // sets the hot row to none. The caller places and shows it.
    CMenuDlg(const MenuContext& context, const MenuGeometry& geometry, QWidget* parent = nullptr);
    ~CMenuDlg() override;

    const MenuGeometry& menuGeometry() const { return geometry_; }
    // The advanced function menu this window opened last, while it exists and is not closing.
    CSubMenuDlg* advancedMenu() const;
    // The picture the next paint shows.
    QImage composePicture() const;

    // Hides the window and deletes it once control is back in the event loop, so that a handler
    // of this window or of its advanced function menu may call it.
    void destroyWindow();
    bool isDestroying() const { return destroying_; }

signals:
    // A function was chosen in this menu or its advanced function menu.
    void functionChosen();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // However the menu is hidden (a choice, the advanced menu's close, the main window), its
    // advanced function menu goes with it.
    void hideEvent(QHideEvent* event) override;

private:
    // After each paint: the advanced function menu is closed and, while the hot row is a
    // category row, opened again for it.
    void syncAdvancedMenu();
    void closeAdvancedMenu();
    void openAdvancedMenu(int menuRow);

    MenuContext context_;
    MenuGeometry geometry_;
    QPointer<CSubMenuDlg> advanced_;
    bool destroying_ = false;
};

} // namespace veldran
