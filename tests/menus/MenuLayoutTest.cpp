// Row hit test, menu sizes, the four categories and the advanced function menu's placement.
#include "menus/MenuLayout.h"

#include <gtest/gtest.h>

namespace veldran {
namespace {

TEST(MenuLayout, HitTestFindsRowBandsWithRightAndBottomEdgesExcluded) {
    const int width = 120;
    const int rowHeight = 25;
    EXPECT_EQ(hitRow(0, 0, width, rowHeight), 1);
    EXPECT_EQ(hitRow(width - 1, rowHeight - 1, width, rowHeight), 1);
    EXPECT_EQ(hitRow(10, rowHeight, width, rowHeight), 2);
    EXPECT_EQ(hitRow(10, 3 * rowHeight - 1, width, rowHeight), 3);
    // The line just below the ten rows of the function menu belongs to row 11.
    EXPECT_EQ(hitRow(10, 10 * rowHeight, width, rowHeight), 11);
    EXPECT_EQ(hitRow(10, 12 * rowHeight - 1, width, rowHeight), 12);
    EXPECT_EQ(hitRow(10, 12 * rowHeight, width, rowHeight), kNoRow);
    EXPECT_EQ(hitRow(width, 10, width, rowHeight), kNoRow);
    EXPECT_EQ(hitRow(-1, 10, width, rowHeight), kNoRow);
    EXPECT_EQ(hitRow(10, -1, width, rowHeight), kNoRow);
    // A mask shorter than its row count gives rows of no height: nothing is ever hit.
    EXPECT_EQ(hitRow(0, 0, width, 0), kNoRow);
}

TEST(MenuLayout, SizesComeFromTheMaskPicture) {
    const MenuGeometry menu = functionMenuGeometry(QSize(120, 259));
    EXPECT_EQ(menu.width, 120);
    EXPECT_EQ(menu.rowHeight, 25);
    EXPECT_EQ(menu.windowHeight, 251);

    const MenuGeometry advanced = advancedMenuGeometry(QSize(150, 311), 8);
    EXPECT_EQ(advanced.width, 150);
    EXPECT_EQ(advanced.rowHeight, 25);
    EXPECT_EQ(advanced.windowHeight, 201);
    EXPECT_EQ(advancedMenuGeometry(QSize(150, 311), 0).windowHeight, 0);
}

struct CategoryCase {
    int menuRow;
    int macroCount;
    int rowCount;
    int firstCode;
    int lastCode;
};

TEST(MenuLayout, CategoriesGiveTheirRowsAndCodes) {
    const CategoryCase cases[] = {
        {7, 0, 8, 11, 18},   {8, 0, 6, 21, 26}, {10, 0, 10, 31, 40},
        {9, 12, 12, 41, 52}, {9, 3, 3, 41, 43},
    };
    for (const CategoryCase& c : cases) {
        SCOPED_TRACE(c.menuRow);
        const auto category = categoryFor(c.menuRow, c.macroCount);
        ASSERT_TRUE(category);
        EXPECT_EQ(category->rowCount, c.rowCount);
        EXPECT_EQ(category->code(1), c.firstCode);
        EXPECT_EQ(category->code(c.rowCount), c.lastCode);
        // The line below the last row and rows outside the list choose nothing.
        EXPECT_FALSE(category->code(c.rowCount + 1));
        EXPECT_FALSE(category->code(0));
        EXPECT_FALSE(category->code(kNoRow));
    }
    EXPECT_EQ(categoryFor(10, 0)->code(3), 33);
    for (int row : {1, 6, 11, 12, 255}) {
        EXPECT_FALSE(categoryFor(row, 5)) << row;
    }
}

TEST(MenuLayout, MacroCategoryIsBoundedByTwelveAndEmptyWithoutMacros) {
    EXPECT_EQ(categoryFor(9, 0)->rowCount, 0);
    EXPECT_FALSE(categoryFor(9, 0)->code(1));
    EXPECT_EQ(categoryFor(9, -4)->rowCount, 0);
    EXPECT_EQ(categoryFor(9, 300)->rowCount, 12);
    EXPECT_EQ(categoryFor(9, 300)->code(12), 52);
}

TEST(MenuLayout, RowTextsComeFromTheNameTableOrTheMacroNames) {
    std::array<QString, kFunctionNameCount> names;
    for (int i = 0; i < kFunctionNameCount; ++i) {
        names[static_cast<std::size_t>(i)] = QStringLiteral("F%1").arg(i);
    }
    const QStringList macros{QStringLiteral("alpha"), QStringLiteral("beta")};
    EXPECT_EQ(categoryRowText(*categoryFor(7, 2), 1, names, macros), "F11");
    EXPECT_EQ(categoryRowText(*categoryFor(8, 2), 6, names, macros), "F26");
    EXPECT_EQ(categoryRowText(*categoryFor(10, 2), 3, names, macros), "F33");
    EXPECT_EQ(categoryRowText(*categoryFor(9, 2), 1, names, macros), "alpha");
    EXPECT_EQ(categoryRowText(*categoryFor(9, 2), 2, names, macros), "beta");
    EXPECT_EQ(categoryRowText(*categoryFor(9, 2), 3, names, macros), "");
    EXPECT_EQ(categoryRowText(*categoryFor(10, 2), 13, names, macros), "");
}

TEST(MenuLayout, AdvancedMenuBottomLinesUpWithTheRowThatOpenedIt) {
    const int top = 100;
    const int rowHeight = 20;
    for (int macroCount = 0; macroCount <= 12; ++macroCount) {
        for (int menuRow = 7; menuRow <= 10; ++menuRow) {
            const auto category = categoryFor(menuRow, macroCount);
            const int bottom = *advancedMenuTop(menuRow, top, rowHeight, macroCount) +
                               category->rowCount * rowHeight;
            EXPECT_EQ(bottom, top + menuRow * rowHeight) << menuRow << " " << macroCount;
        }
    }
}

} // namespace
} // namespace veldran
