// The advanced function menu: the list of one category of the function menu (rows 7, 8, 10) or
// the recorded macros (row 9), opened beside the function menu. A release on a row writes its
// FunctionCode into the target slot, closes both menus and updates the main window.
#pragma once

#include "menus/MenuContext.h"
#include "menus/MenuLayout.h"

#include <QImage>
#include <QStringList>
#include <QWidget>

namespace veldran {

class CSubMenuDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kMainWindowTitle = "VELDRAN GAMING MOUSE";

    // A frameless window showing category, shaped to geometry (see advancedMenuGeometry; with no
    // rows the shape is empty). macroNames are the names the macro category lists. Clears the
    // close request; the caller places and shows it.
    CSubMenuDlg(const MenuContext& context, const Category& category, const MenuGeometry& geometry,
                const QStringList& macroNames, QWidget* parent = nullptr);
    ~CSubMenuDlg() override;

    const Category& category() const { return category_; }
    const MenuGeometry& menuGeometry() const { return geometry_; }
    std::uint8_t hotRow() const { return hotRow_; }
    // Text of row 1 to 12 as the paint draws it.
    QString rowText(int row) const;
    QImage composePicture() const;

    // Hides the window and deletes it once control is back in the event loop.
    void destroyWindow();
    bool isDestroying() const { return destroying_; }

signals:
    void functionChosen();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The code a release produces now, or nothing when the release is not on one of the rows.
    std::optional<int> chosenCode() const;
    // Hides the function menu and repaints the main window, both found by their titles.
    void closeFunctionMenuAndUpdateMainWindow();

    MenuContext context_;
    Category category_;
    MenuGeometry geometry_;
    QStringList macroNames_;
    std::uint8_t hotRow_ = kNoRow;
    bool pressed_ = false;
    bool destroying_ = false;
};

} // namespace veldran
