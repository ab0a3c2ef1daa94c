// The advanced function menu: codes of each category, the macro list, releases that choose
// nothing, closing both menus after a choice, and what a paint shows.
#include "menus/CSubMenuDlg.h"

#include "menus/CMenuDlg.h"
#include "menus/FunctionMenus.h"
#include "menus/MenuTestSkin.h"

#include <QPainter>
#include <QPointer>
#include <QSignalSpy>
#include <memory>

namespace veldran::test {
namespace {

// Stands in for the main window: found by its title, and its paint honours the close request
// as the real one does first of all.
class MainWindowStandIn : public QWidget {
public:
    explicit MainWindowStandIn(FunctionMenus& menus) : menus_(menus) {
        setWindowTitle(QStringLiteral("VELDRAN GAMING MOUSE"));
    }
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override {
        menus_.honourCloseRequest();
        ++paints;
        QPainter(this).fillRect(rect(), Qt::black);
    }

private:
    FunctionMenus& menus_;
};

class CSubMenuDlgTest : public MenuSkinTest {
protected:
    void SetUp() override {
        MenuSkinTest::SetUp();
        menus = std::make_unique<FunctionMenus>(state, profile, [this] { return macroNames; });
        mainWindow = std::make_unique<MainWindowStandIn>(*menus);
        mainWindow->setGeometry(100, 100, 400, 300);
        mainWindow->show();
        // The field of slot 3.
        ASSERT_TRUE(menus->open(19, mainWindow->geometry(), QRect(20, 40, 80, 20)));
    }
    void TearDown() override {
        menus.reset();
        mainWindow.reset();
        MenuSkinTest::TearDown();
    }

    // Rests on a category row of the function menu and returns the advanced menu it opens.
    CSubMenuDlg* openCategory(int menuRow) {
        CMenuDlg* menu = menus->menu();
        return restOn(menu, menuRow) ? menu->advancedMenu() : nullptr;
    }

    // Presses and releases on a point of the advanced menu.
    static void click(CSubMenuDlg* advanced, QPoint at) {
        moveTo(advanced, at);
        press(advanced, at);
        release(advanced, at);
    }

    std::unique_ptr<FunctionMenus> menus;
    std::unique_ptr<MainWindowStandIn> mainWindow;
};

TEST_F(CSubMenuDlgTest, ChoiceWritesTheCodeAndClosesBothMenus) {
    QSignalSpy chosen(menus.get(), &FunctionMenus::functionChosen);
    QPointer<CMenuDlg> menu = menus->menu();
    QPointer<CSubMenuDlg> advanced = openCategory(10);
    ASSERT_TRUE(advanced);
    EXPECT_EQ(advanced->menuGeometry().windowHeight, 10 * kRow + 1);
    const int paintsBefore = mainWindow->paints;

    click(advanced, rowPoint(3));

    EXPECT_EQ(profile.code(3), 33);
    EXPECT_EQ(state.functionMenu.lastAdvancedChoice, 33);
    EXPECT_EQ(chosen.count(), 1);
    // The main window was repainted at once and its paint took the close request.
    EXPECT_GT(mainWindow->paints, paintsBefore);
    EXPECT_FALSE(state.functionMenu.closeRequest);
    EXPECT_EQ(menus->menu(), nullptr);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_FALSE(advanced->isVisible());
    flushDeletes();
    EXPECT_TRUE(menu.isNull());
    EXPECT_TRUE(advanced.isNull());
    // Nothing else changed.
    for (int slot : {1, 2, 4, 5, 6, 7, 8, 9, 10}) {
        EXPECT_EQ(profile.code(slot), 100 + slot) << slot;
    }
}

TEST_F(CSubMenuDlgTest, WithoutAMainWindowTheCloseRequestWaitsForItsPaint) {
    mainWindow->setWindowTitle(QStringLiteral("another window"));
    CSubMenuDlg* advanced = openCategory(7);
    ASSERT_TRUE(advanced);
    click(advanced, rowPoint(8));
    EXPECT_EQ(profile.code(3), 18);
    EXPECT_TRUE(state.functionMenu.closeRequest);
    ASSERT_NE(menus->menu(), nullptr);
    EXPECT_FALSE(menus->menu()->isVisible());
    EXPECT_TRUE(menus->honourCloseRequest());
    EXPECT_EQ(menus->menu(), nullptr);
    EXPECT_FALSE(menus->honourCloseRequest());
}

TEST_F(CSubMenuDlgTest, TwelveMacrosGiveTwelveRowsTheLastGivingFiftyTwo) {
    for (int i = 0; i < 12; ++i) {
        macroNames << QStringLiteral("macro %1").arg(i);
    }
    CSubMenuDlg* advanced = openCategory(9);
    ASSERT_TRUE(advanced);
    EXPECT_EQ(advanced->category().rowCount, 12);
    EXPECT_EQ(advanced->mask(), QRegion(0, 0, kAdvancedWidth, 12 * kRow + 1));
    EXPECT_EQ(advanced->rowText(12), "macro 11");
    click(advanced, rowPoint(12));
    EXPECT_EQ(profile.code(3), 52);
}

TEST_F(CSubMenuDlgTest, WithoutMacrosTheMacroMenuShowsAndChoosesNothing) {
    CSubMenuDlg* advanced = openCategory(9);
    ASSERT_TRUE(advanced);
    EXPECT_EQ(advanced->category().rowCount, 0);
    // A shape, and one that holds no pixel of the window (an empty mask would mean none).
    EXPECT_FALSE(advanced->mask().isEmpty());
    EXPECT_FALSE(advanced->mask().intersects(advanced->rect()));
    EXPECT_TRUE(advanced->composePicture().isNull());
    click(advanced, QPoint(10, 0));
    EXPECT_EQ(profile.code(3), 103);
    EXPECT_FALSE(state.functionMenu.closeRequest);
    EXPECT_NE(menus->menu(), nullptr);
}

TEST_F(CSubMenuDlgTest, ReleasesOffTheRowsChooseNothing) {
    CSubMenuDlg* advanced = openCategory(7);
    ASSERT_TRUE(advanced);
    // The line below the last of the 8 rows, then a release dragged out of the window.
    click(advanced, QPoint(10, 8 * kRow));
    moveTo(advanced, rowPoint(2));
    press(advanced, rowPoint(2));
    moveTo(advanced, QPoint(-20, 10));
    release(advanced, QPoint(-20, 10));
    EXPECT_EQ(profile.code(3), 103);
    EXPECT_FALSE(state.functionMenu.closeRequest);
    EXPECT_TRUE(advanced->isVisible());
}

TEST_F(CSubMenuDlgTest, LastChoiceStandsWhenTheFunctionMenuLeftItsCategoryRows) {
    CSubMenuDlg* advanced = openCategory(8);
    ASSERT_TRUE(advanced);
    // Nothing chosen yet: a release while the function menu's hot row is no category writes
    // nothing.
    state.functionMenu.hotRow = 3;
    click(advanced, rowPoint(2));
    EXPECT_EQ(profile.code(3), 103);

    state.functionMenu.lastAdvancedChoice = 35;
    click(advanced, rowPoint(2));
    EXPECT_EQ(profile.code(3), 35);
}

TEST_F(CSubMenuDlgTest, PaintShowsTheHotRowBandAndItsTextInRed) {
    CSubMenuDlg* advanced = openCategory(10);
    ASSERT_TRUE(advanced);
    moveTo(advanced, rowPoint(4));
    EXPECT_EQ(advanced->hotRow(), 4);
    const QImage picture = advanced->composePicture();
    ASSERT_EQ(picture.size(), QSize(kAdvancedWidth, 10 * kRow + 1));
    EXPECT_TRUE(near(picture.pixelColor(1, 3 * kRow + 1), kAdvancedOver));
    EXPECT_TRUE(near(picture.pixelColor(1, 2 * kRow + 1), kAdvancedNormal));
    EXPECT_GT(countInk(picture, 4, isRedInk), 0);
    EXPECT_EQ(countInk(picture, 4, isWhiteInk), 0);
    EXPECT_GT(countInk(picture, 5, isWhiteInk), 0);
    EXPECT_EQ(countInk(picture, 5, isRedInk), 0);
}

} // namespace
} // namespace veldran::test
