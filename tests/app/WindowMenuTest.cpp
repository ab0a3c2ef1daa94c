// The window menu (Alt+Space), the About box, and the macro controls' look.
#include "app/WindowMenu.h"

#include "app/CAboutDlg.h"
#include "macro/MacroControlStyle.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace veldran {
namespace {

class WindowMenuTest : public ::testing::Test {
protected:
    WindowMenuTest() {
        window.resize(300, 200);
        edit = new QLineEdit(&window);
        window.show();
        edit->setFocus();
    }
    QDialog window; // a dialog closes on Escape unless the key is kept from it
    QLineEdit* edit;
    WindowMenu windowMenu{window};
};

TEST_F(WindowMenuTest, AltSpaceOpensTheMenuEndingWithSeparatorAndAbout) {
    QTest::keyClick(edit, Qt::Key_Space, Qt::AltModifier);
    ASSERT_TRUE(windowMenu.menu()->isVisible());
    const QList<QAction*> actions = windowMenu.menu()->actions();
    ASSERT_GE(actions.size(), 2);
    EXPECT_TRUE(actions[actions.size() - 2]->isSeparator());
    EXPECT_EQ(actions.last()->text(), "&About QEL_GMouse...");
    windowMenu.menu()->hide();
}

TEST_F(WindowMenuTest, MinimiseKeepsTheWindowOnTheTaskbar) {
    windowMenu.menu()->actions()[1]->trigger();
    EXPECT_TRUE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());
}

TEST_F(WindowMenuTest, AboutShowsTheVersionAndReturnsToTheWindow) {
    QString title;
    QString text;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
        if (about == nullptr) {
            return;
        }
        title = about->windowTitle();
        text = about->findChild<QLabel*>()->text();
        QPushButton* ok = about->findChild<QPushButton*>();
        EXPECT_TRUE(ok->isDefault());
        ok->click();
    });
    windowMenu.menu()->actions().last()->trigger();
    EXPECT_EQ(title, "About QEL_GMouse");
    EXPECT_EQ(text, "QEL_GMouse Version 1.0");
    EXPECT_TRUE(window.isVisible());
}

TEST(MacroControlStyle, WhiteSongTextOnDarkGrey) {
    QLineEdit edit;
    applyMacroControlStyle(edit);
    edit.resize(120, 24);
    EXPECT_EQ(edit.palette().color(QPalette::Base), QColor(30, 30, 30));
    EXPECT_EQ(edit.palette().color(QPalette::Text), QColor(255, 255, 255));
    EXPECT_EQ(edit.font().family(), QString::fromUtf8("宋体"));
    EXPECT_EQ(edit.font().pointSize(), 10);
    const QImage image = edit.grab().toImage();
    EXPECT_EQ(QColor(image.pixel(60, 12)), QColor(30, 30, 30));
}

} // namespace
} // namespace veldran
