// The owner-drawn menus: the entry tables of the two menus, item sizes, and the drawn pixels of
// plain, highlighted and separator items, alone and inside a real pop-up.
#include "macro/CQelMenu.h"

#include <QImage>
#include <QMenu>
#include <QPainter>
#include <gtest/gtest.h>

namespace veldran {
namespace {

QImage drawn(const MenuItemEntry& entry, bool highlighted, QSize size = {152, 20}) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    CQelMenu::DrawItem(painter, QRect(QPoint(0, 0), size), entry, highlighted);
    return image;
}

TEST(CQelMenu, ConvertsBothMenusDepthFirst) {
    CQelMenu tray(kTrayMenuId);
    ASSERT_TRUE(tray.ConvertToOwnerDraw(tray.menu()));
    ASSERT_EQ(tray.itemCount(), 5);
    EXPECT_EQ(tray.entry(0).text, "Menu_Tray");
    EXPECT_EQ(tray.entry(0).id, -1);
    EXPECT_EQ(tray.entry(1).text, "Mostrar a Janela UI");
    EXPECT_EQ(tray.entry(1).id, 32801);
    EXPECT_EQ(tray.entry(2).text, "Profiles for programs");
    EXPECT_EQ(tray.entry(2).id, 32802);
    EXPECT_EQ(tray.entry(3).text, "Stop macros");
    EXPECT_EQ(tray.entry(3).id, kCmdStopMacros);
    EXPECT_EQ(tray.entry(4).text, "Sair do Driver");
    EXPECT_EQ(tray.entry(4).id, 32800);
    ASSERT_NE(tray.popup(), nullptr);
    EXPECT_EQ(tray.popup()->actions().size(), 4);

    CQelMenu context(kMacroContextMenuId);
    context.ConvertToOwnerDraw(context.menu());
    ASSERT_EQ(context.itemCount(), 12);
    const std::pair<const char*, int> expected[] = {
        {"MENU_CN", -1},      {"Botão Esquerdo", -1},     {"Para baixo", 32782},
        {"Para cima", 32775}, {"Botão Direito", -1},      {"Para baixo", 32776},
        {"Para cima", 32777}, {"Botão do Meio", -1},      {"Para baixo", 32783},
        {"Para cima", 32779}, {"Modificar Delay", 32780}, {"Apagar item", 32781}};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(context.entry(i).text, QString::fromUtf8(expected[i].first)) << i;
        EXPECT_EQ(context.entry(i).id, expected[i].second) << i;
    }
}

TEST(CQelMenu, TableStopsAtTwentyEntries) {
    CQelMenu menu(0);
    QMenu* big = menu.menu()->addMenu("big");
    for (int i = 0; i < 30; ++i) {
        big->addAction(QString::number(i))->setData(i + 1);
    }
    big->addSeparator();
    EXPECT_TRUE(menu.ConvertToOwnerDraw(menu.menu()));
    EXPECT_EQ(menu.itemCount(), 20);
    EXPECT_EQ(menu.entry(19).text, "18");
    EXPECT_TRUE(menu.ConvertToOwnerDraw(nullptr));
}

TEST(CQelMenu, MeasuresEightPixelsPerCharacterAndTwentyHigh) {
    EXPECT_EQ(CQelMenu::MeasureItem({"Mostrar a Janela UI", 32801}), QSize(152, 20));
    EXPECT_EQ(CQelMenu::MeasureItem({"Apagar item", 32781}), QSize(88, 20));
    EXPECT_EQ(CQelMenu::MeasureItem({"Botão Direito", -1}), QSize(104, 20));
    EXPECT_EQ(CQelMenu::MeasureItem({"", 0}), QSize(0, 1));
}

TEST(CQelMenu, PlainItemIsATealBand) {
    const QImage image = drawn({"Apagar item", 32781}, false);
    for (QPoint p : {QPoint(0, 0), QPoint(5, 10), QPoint(151, 19), QPoint(150, 2)}) {
        EXPECT_EQ(image.pixel(p), qRgb(0, 120, 153)) << p.x() << "," << p.y();
    }
}

TEST(CQelMenu, HighlightedItemHasAnOutlineAndAGradientRowPerPixel) {
    const QImage image = drawn({"", 32781}, true); // no text over the rows
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(151, 19), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(151, 7), qRgb(0, 0, 0));
    for (int row = 0; row < 18; ++row) {
        EXPECT_EQ(image.pixel(1, 1 + row), qRgb(0, 14 * row, 255)) << row;
        EXPECT_EQ(image.pixel(150, 1 + row), qRgb(0, 14 * row, 255)) << row;
    }
    EXPECT_EQ(image.pixel(1, 18), qRgb(0, 238, 255));

    // Taller items wrap the green part around 256.
    const QImage tall = drawn({"", 1}, true, {40, 12}); // h 10, step 25
    EXPECT_EQ(tall.pixel(5, 10), qRgb(0, 225, 255));
    const QImage thin = drawn({"", 1}, true, {40, 2}); // no rows, only the outline
    EXPECT_EQ(thin.pixel(5, 1), qRgb(0, 0, 0));
}

TEST(CQelMenu, TextIsWhiteAndStartsTenPixelsIn) {
    const QImage image = drawn({"MMMM", 1}, false);
    bool white = false;
    int firstX = 1000;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 152; ++x) {
            if (image.pixel(x, y) != qRgb(0, 120, 153)) {
                firstX = std::min(firstX, x);
                white = white || image.pixel(x, y) == qRgb(255, 255, 255);
            }
        }
    }
    EXPECT_TRUE(white);
    EXPECT_GE(firstX, 10);
    EXPECT_LT(firstX, 14);
}

TEST(CQelMenu, SeparatorIsARedAndBlueFrameFromTwentyFivePixelsIn) {
    const QImage image = drawn({"", 0}, false, {60, 4});
    EXPECT_EQ(image.pixel(24, 0), qRgb(255, 0, 255)); // left of the frame: untouched
    EXPECT_EQ(image.pixel(25, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(40, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(25, 2), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(59, 0), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(59, 2), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(40, 3), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(40, 1), qRgb(255, 0, 255)); // inside: untouched

    // The separator of a menu is one pixel high: the bottom side covers the top.
    const QImage line = drawn({"", 0}, false, {60, 1});
    EXPECT_EQ(line.pixel(30, 0), qRgb(0, 0, 255));
}

TEST(CQelMenu, PopupUsesTheOwnerDrawnSizesAndLook) {
    CQelMenu tray(kTrayMenuId);
    tray.ConvertToOwnerDraw(tray.menu());
    QMenu* popup = tray.popup();
    const QList<QAction*> actions = popup->actions();
    popup->ensurePolished();
    (void)popup->sizeHint();
    const QRect show = popup->actionGeometry(actions[0]);
    const QRect exit = popup->actionGeometry(actions[1]);
    EXPECT_EQ(show.height(), 20);
    EXPECT_EQ(exit.height(), 20);
    EXPECT_GE(show.width(), 152); // the widest item sets the width of all
    EXPECT_EQ(exit.width(), show.width());

    popup->setActiveAction(actions[1]);
    const QImage image = popup->grab().toImage();
    EXPECT_EQ(image.pixel(show.right() - 2, show.center().y()), qRgb(0, 120, 153));
    EXPECT_EQ(image.pixel(exit.left() + 3, exit.top() + 1), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(exit.right() - 1, exit.top() + 18), qRgb(0, 238, 255));
}

} // namespace
} // namespace veldran
