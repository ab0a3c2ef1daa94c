// The default skin that the build draws beside the executables: its layout files read without a
// message, every element with a role has a place, no two chrome or page elements overlap, and
// every picture is there at the size the paint and the menus expect.
#include "skin/PageRenderer.h"
#include "skin/SkinReader.h"
#include "skin/StartupReporter.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

namespace veldran {
namespace {

class RecordingReporter final : public StartupReporter {
public:
    void message(const QString& text) override { messages.push_back(text.toStdString()); }
    void exitSequence() override { messages.push_back("exit"); }
    std::vector<std::string> messages;
};

// Contrast of two colours as the accessibility guidelines define it: (L1 + 0.05) / (L2 + 0.05) of
// their relative luminances, the lighter first.
double contrast(QRgb a, QRgb b) {
    auto luminance = [](QRgb c) {
        auto channel = [](int v) {
            const double s = v / 255.0;
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The lightest colour of a picture inside a rectangle.
QRgb lightestIn(const QImage& picture, const QRect& area) {
    QRgb lightest = qRgb(0, 0, 0);
    const QRect inside = area.intersected(picture.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (qGray(picture.pixel(x, y)) > qGray(lightest)) {
                lightest = picture.pixel(x, y);
            }
        }
    }
    return lightest;
}

// The part of a menu row band where the text goes (its middle half).
QRgb lightestBehindText(const QImage& picture, int row, int rowHeight) {
    return lightestIn(picture, QRect(picture.width() / 4, row * rowHeight + 3, picture.width() / 2,
                                     rowHeight - 6));
}

class DefaultSkin : public ::testing::Test {
protected:
    void SetUp() override {
        // The build draws the skin beside the executables, this test's among them.
        const char* bin = std::getenv("VELDRAN_BIN_DIR");
        std::error_code ec;
        folder =
            (bin != nullptr ? std::filesystem::path(bin)
                            : std::filesystem::read_symlink("/proc/self/exe", ec).parent_path()) /
            "skins";
        if (!std::filesystem::exists(folder / "main_mask.jpg", ec)) {
            GTEST_SKIP() << "the default skin has not been built";
        }
        SkinReader reader(folder, tables, reporter);
        reader.readMainTable();
        reader.readFunctionNames();
        reader.readColorTable();
        reader.readAdvancedTable();
        reader.readNameEditRect();
        reader.readListRects();
    }
    QImage picture(const char* name) const {
        return QImage(QString::fromStdString((folder / name).string()));
    }
    std::filesystem::path folder;
    SkinTables tables;
    RecordingReporter reporter;
};

template <std::size_t N>
void expectNoOverlap(const std::array<Element, N>& table, std::initializer_list<int> indices) {
    for (int a : indices) {
        for (int b : indices) {
            if (a < b) {
                EXPECT_FALSE(table[a].rect().intersects(table[b].rect())) << a << " and " << b;
            }
        }
    }
}

TEST_F(DefaultSkin, ReadsWithoutAMessageAndPlacesEveryElementWithARole) {
    EXPECT_TRUE(reporter.messages.empty());
    for (int i = 0; i < kMainElementCount; ++i) {
        const bool unused = (i >= 24 && i <= 26) || i == 69;
        EXPECT_EQ(tables.main[static_cast<std::size_t>(i)].rect().isEmpty(), unused) << i;
    }
    for (const Element& e : tables.color) {
        EXPECT_FALSE(e.rect().isEmpty());
    }
    for (const Element& e : tables.advanced) {
        EXPECT_FALSE(e.rect().isEmpty());
    }
    for (int code = 0; code < 50; ++code) {
        EXPECT_FALSE(tables.functionNames[static_cast<std::size_t>(code)].isEmpty()) << code;
    }
    EXPECT_EQ(tables.functionNames[31], QStringLiteral("Copy (Ctrl+C)"));
    EXPECT_FALSE(tables.nameEditRect.isEmpty());
    EXPECT_FALSE(tables.nameListRect.intersects(tables.eventListRect));
    // Chrome, button fields and DPI choices never share a pixel.
    expectNoOverlap(tables.main, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    expectNoOverlap(tables.main, {17, 18, 19, 20, 21, 22, 23, 32, 33, 41, 42, 43, 44});
    expectNoOverlap(tables.main, {45, 46, 47, 48, 50, 51, 52, 53, 55, 56, 57, 58, 60, 61, 62, 63});
    expectNoOverlap(tables.advanced, {17, 18, 19, 20});
    for (const QRect& control : {tables.nameEditRect, tables.nameListRect, tables.eventListRect}) {
        for (int i : {17, 18, 19, 20}) {
            EXPECT_FALSE(tables.advanced[static_cast<std::size_t>(i)].rect().intersects(control));
        }
    }
}

TEST_F(DefaultSkin, PicturesHaveTheSizesThePaintAndMenusUse) {
    const QImage mask = picture("main_mask.jpg");
    ASSERT_EQ(mask.size(), QSize(800, 600));
    for (const char* name :
         {"main_normal.jpg", "main_over.jpg", "main_down.jpg", "advanced_normal.jpg",
          "advanced_over.jpg", "advanced_down.jpg", "color_normal_pink.jpg", "color_over_red.jpg",
          "color_down_purple.jpg", "color_over_blue.jpg"}) {
        EXPECT_EQ(picture(name).size(), mask.size()) << name;
    }
    const QImage knob = picture("dpi_slider.jpg");
    EXPECT_GE(knob.width(), tables.main[45].width);
    EXPECT_GE(knob.height(), tables.main[45].height);
    const QImage menu = picture("menu_mask.jpg");
    const QImage advancedMenu = picture("advanced menu_mask.jpg");
    ASSERT_FALSE(menu.isNull());
    ASSERT_FALSE(advancedMenu.isNull());
    EXPECT_EQ(menu.height() / 10, advancedMenu.height() / 12); // equal row heights
    EXPECT_LE(menu.height(), 300);
    for (const char* name : {"menu_normal.jpg", "menu_over.jpg", "menu_down.jpg"}) {
        EXPECT_EQ(picture(name).size(), menu.size()) << name;
    }
    for (const char* name :
         {"advanced menu_normal.jpg", "advanced menu_over.jpg", "advanced menu_down.jpg"}) {
        EXPECT_EQ(picture(name).size(), advancedMenu.size()) << name;
    }
}

TEST_F(DefaultSkin, MenuRowsKeepTheirTextLegible) {
    // White text on resting rows, red text on the row under the pointer, highlighted or pressed.
    const QRgb white = qRgb(255, 255, 255);
    const QRgb red = qRgb(255, 0, 0);
    const std::pair<const char*, int> menus[] = {{"menu", 10}, {"advanced menu", 12}};
    for (const auto& [menu, rows] : menus) {
        const std::string base(menu);
        const QImage normal = picture((base + "_normal.jpg").c_str());
        const QImage over = picture((base + "_over.jpg").c_str());
        const QImage down = picture((base + "_down.jpg").c_str());
        ASSERT_FALSE(normal.isNull() || over.isNull() || down.isNull()) << menu;
        const int rowHeight = normal.height() / rows;
        for (int row = 0; row < rows; ++row) {
            EXPECT_GE(contrast(white, lightestBehindText(normal, row, rowHeight)), 4.5)
                << menu << " row " << row + 1;
            EXPECT_GE(contrast(red, lightestBehindText(over, row, rowHeight)), 4.5)
                << menu << " row " << row + 1 << " highlighted";
            EXPECT_GE(contrast(red, lightestBehindText(down, row, rowHeight)), 4.5)
                << menu << " row " << row + 1 << " pressed";
        }
    }
}

TEST_F(DefaultSkin, MacroEditorLabelsStayLegibleOnEveryLook) {
    // The program writes these labels centred on the element: white at rest, red under the
    // pointer (over or pressed). The panel bar is always shown pressed, and Record shows its
    // pressed look with "Stop" while a recording runs, so white must also read on the pressed look.
    const QRgb white = qRgb(255, 255, 255);
    const QRgb red = qRgb(255, 0, 0);
    const QImage normal = picture("advanced_normal.jpg");
    const QImage over = picture("advanced_over.jpg");
    const QImage down = picture("advanced_down.jpg");
    ASSERT_FALSE(normal.isNull() || over.isNull() || down.isNull());
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDotsPerMeterX(kSkinDotsPerMeter);
    probe.setDotsPerMeterY(kSkinDotsPerMeter);
    const QFontMetrics metrics(skinFont(), &probe);
    int labelled = 0;
    for (int k = 0; k < kAdvancedElementCount; ++k) {
        const Element& e = tables.advanced[static_cast<std::size_t>(k)];
        if (e.label.isEmpty()) {
            continue;
        }
        ++labelled;
        const int width = std::max(metrics.horizontalAdvance(e.label),
                                   k == 19 ? metrics.horizontalAdvance(QStringLiteral("Stop")) : 0);
        const QRect text(e.x + (e.width - width) / 2, e.y + (e.height - metrics.height()) / 2,
                         width, metrics.height());
        EXPECT_GE(contrast(white, lightestIn(normal, text)), 4.5) << k << " at rest";
        EXPECT_GE(contrast(white, lightestIn(down, text)), 4.5) << k << " pressed";
        // The panel bar is never shown in its over look.
        const QImage& hot = k == 8 ? down : over;
        EXPECT_GE(contrast(red, lightestIn(hot, text)), 4.5) << k << " under the pointer";
        EXPECT_GE(contrast(red, lightestIn(down, text)), 4.5) << k << " pressed, under the pointer";
    }
    EXPECT_EQ(labelled, 18); // captions, the guide, the panel bar and the four buttons
}

} // namespace
} // namespace veldran
