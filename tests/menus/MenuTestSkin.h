// A tiny generated menu skin in a temporary folder, the state the menus work with, and pointer
// events sent straight to a menu window.
#pragma once

#include "app/MainWindowState.h"
#include "config/Profile.h"
#include "menus/CMenuDlg.h"
#include "menus/CSubMenuDlg.h"
#include "menus/MenuContext.h"

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace veldran::test {

// Function menu mask 120 x 250 (rows of 25), advanced menu mask 150 x 300 (rows of 25).
inline constexpr int kMenuWidth = 120;
inline constexpr int kAdvancedWidth = 150;
inline constexpr int kRow = 25;

inline const QColor kMenuNormal(0, 0, 128);
inline const QColor kMenuOver(0, 160, 0);
inline const QColor kMenuDown(200, 100, 0);
inline const QColor kAdvancedNormal(40, 40, 40);
inline const QColor kAdvancedOver(0, 0, 200);

class MenuSkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        state.skinFolder = dir.path().toStdString();
        writePicture("menu_mask.jpg", QSize(kMenuWidth, 10 * kRow), Qt::black);
        writePicture("menu_normal.jpg", QSize(kMenuWidth, 10 * kRow), kMenuNormal);
        writePicture("menu_over.jpg", QSize(kMenuWidth, 10 * kRow), kMenuOver);
        writePicture("menu_down.jpg", QSize(kMenuWidth, 10 * kRow), kMenuDown);
        writePicture("advanced menu_mask.jpg", QSize(kAdvancedWidth, 12 * kRow), Qt::black);
        writePicture("advanced menu_normal.jpg", QSize(kAdvancedWidth, 12 * kRow), kAdvancedNormal);
        writePicture("advanced menu_over.jpg", QSize(kAdvancedWidth, 12 * kRow), kAdvancedOver);
        writePicture("advanced menu_down.jpg", QSize(kAdvancedWidth, 12 * kRow), kMenuDown);
        for (int i = 0; i < kFunctionNameCount; ++i) {
            state.skin.functionNames[static_cast<std::size_t>(i)] = QStringLiteral("F%1").arg(i);
        }
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            profile.setCode(slot, 100 + slot);
        }
    }

    void TearDown() override { flushDeletes(); }

    void writePicture(const char* name, QSize size, const QColor& color) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(color);
        ASSERT_TRUE(image.save(dir.filePath(QString::fromUtf8(name)), "JPG", 100));
    }

    MenuContext context() {
        return MenuContext{state, profile, [this] { return macroNames; }};
    }

    static void flushDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QTemporaryDir dir;
    MainWindowState state;
    Profile profile;
    QStringList macroNames;
};

inline void sendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

inline void moveTo(QWidget* widget, QPoint at) {
    sendMouse(widget, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
}
inline void press(QWidget* widget, QPoint at) {
    sendMouse(widget, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
}
inline void release(QWidget* widget, QPoint at) {
    sendMouse(widget, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}
// A point in the middle of row 1 to 12.
inline QPoint rowPoint(int row) {
    return QPoint(10, (row - 1) * kRow + kRow / 2);
}

// Rests the pointer on a function menu row and waits for the repaint it asks for: on a category
// row until that category's advanced menu is open, on another row until none is. Returns whether
// that happened.
inline bool restOn(CMenuDlg* menu, int row) {
    moveTo(menu, rowPoint(row));
    const bool category = row >= 7 && row <= 10;
    return QTest::qWaitFor(
        [&] {
            CSubMenuDlg* advanced = menu->advancedMenu();
            return category ? advanced != nullptr && advanced->category().menuRow == row
                            : advanced == nullptr;
        },
        2000);
}

inline bool near(const QColor& a, const QColor& b, int tolerance = 12) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// Text pixels over the test skin's blue, green and grey backgrounds (antialiased edges included).
inline bool isWhiteInk(const QColor& c) {
    return c.red() > 80 && c.green() > 80 && c.blue() > 80;
}
inline bool isRedInk(const QColor& c) {
    return c.red() > 100 && c.red() > c.green() + 60;
}

// Pixels of one row band (rows of kRow pixels) that pass the test.
template <typename Test> int countInk(const QImage& picture, int row, Test test) {
    int count = 0;
    for (int y = (row - 1) * kRow; y < row * kRow && y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            count += test(picture.pixelColor(x, y)) ? 1 : 0;
        }
    }
    return count;
}

} // namespace veldran::test
