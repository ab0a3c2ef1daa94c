// The page paint against a tiny skin of solid-colour pictures: which picture each element is
// copied from, the chrome rules, the knob, the color page's picture, the texts of the text layer
// and the picture cache.
#include "skin/PageRenderer.h"

#include "app/MainWindowState.h"
#include "config/MacroTable.h"
#include "config/Profile.h"
#include "skin/ImageCache.h"
#include "skin/TinySkin.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace veldran {
namespace {

using testing::near;
using testing::TinySkin;
namespace tiny = testing::tiny;

void place(Element& e, int x, int y, int w, int h, const QString& label = {}) {
    e.x = x;
    e.y = y;
    e.width = w;
    e.height = h;
    e.label = label;
}

class PageRendererTest : public ::testing::Test {
protected:
    PageRendererTest() : renderer(state, state.macroEditor, model, macros, cache) {
        state.skinFolder = skin.skinFolder();
        state.maskSize = QSize(testing::kTinyWidth, testing::kTinyHeight);
        state.pointer.mainHot = 255;
        model.runtime.curConfig = 1;
        model.profile.dpiLevel = 1;
        SkinTables& t = state.skin;
        place(t.main[0], 0, 0, 10, 10);
        for (int i = 2; i <= 16; ++i) {
            place(t.main[static_cast<std::size_t>(i)], (i - 2) * 12, 100, 10, 10);
        }
        place(t.main[32], 0, 40, 20, 10, QStringLiteral("A"));
        place(t.main[33], 22, 40, 20, 10, QStringLiteral("B"));
        for (int k = 0; k < 4; ++k) {
            place(t.main[static_cast<std::size_t>(45 + k)], 100 + 20 * k, 60, 10, 10);
            place(t.main[static_cast<std::size_t>(65 + k)], 100 + 20 * k, 80, 10, 10);
        }
        for (int k = 0; k < 8; ++k) {
            place(t.color[static_cast<std::size_t>(k)], 20 * k, 20, 10, 10);
            place(t.advanced[static_cast<std::size_t>(k)], 20 * k, 20, 10, 10);
        }
        place(t.advanced[8], 160, 20, 10, 10);
        place(t.advanced[19], 160, 40, 40, 30, QStringLiteral("Record"));
        renderer.setTextObserver([this](const TextDraw& d) { texts.push_back(d); });
    }

    const QImage& render() {
        texts.clear();
        return renderer.render();
    }
    const TextDraw* textOf(const QString& text) const {
        for (const TextDraw& d : texts) {
            if (d.text == text) {
                return &d;
            }
        }
        return nullptr;
    }

    TinySkin skin;
    MainWindowState state;
    ConfigModel model;
    MacroTable macros;
    ImageCache cache;
    PageRenderer renderer;
    std::vector<TextDraw> texts;
};

TEST_F(PageRendererTest, HotElementComesFromTheOverOrDownPicture) {
    EXPECT_TRUE(near(render(), 5, 5, tiny::mainNormal));
    state.pointer.mainHot = 0;
    EXPECT_TRUE(near(render(), 5, 5, tiny::mainOver));
    EXPECT_TRUE(near(render(), 50, 50, tiny::mainNormal));
    state.pointer.buttonHeld = true;
    EXPECT_TRUE(near(render(), 5, 5, tiny::mainDown));
    state.pointer.mainHot = 200; // no such element: nothing drawn
    EXPECT_TRUE(near(render(), 5, 5, tiny::mainNormal));
}

TEST_F(PageRendererTest, SelectedElementsAreDrawnDownOnEachPage) {
    model.profile.dpiLevel = 2;
    const QImage& main = render();
    EXPECT_TRUE(near(main, 145, 85, tiny::mainDown));
    EXPECT_TRUE(near(main, 125, 85, tiny::mainNormal));
    EXPECT_TRUE(near(main, 5, 45, tiny::mainDown)); // wheel mode 0: element 32
    EXPECT_TRUE(near(main, 27, 45, tiny::mainNormal));
    model.profile.wheelMode = 1;
    EXPECT_TRUE(near(render(), 27, 45, tiny::mainDown));

    state.pointer.page = SkinPage::Advanced;
    EXPECT_TRUE(near(render(), 165, 25, tiny::advancedDown));
    EXPECT_TRUE(near(render(), 162, 42, tiny::advancedNormal));
    state.macroEditor.recording = true;
    EXPECT_TRUE(near(render(), 162, 42, tiny::advancedDown));

    state.pointer.page = SkinPage::Color;
    model.profile.lightMode = 3;
    const QImage& color = render();
    EXPECT_TRUE(near(color, 65, 25, tiny::colorDown));
    EXPECT_TRUE(near(color, 45, 25, tiny::colorNormal));
}

TEST_F(PageRendererTest, HotAndSelectedShowsSelected) {
    state.pointer.page = SkinPage::Color;
    state.pointer.colorHot = 2;
    model.profile.lightMode = 2;
    EXPECT_TRUE(near(render(), 45, 25, tiny::colorDown));
    state.pointer.colorHot = 1;
    EXPECT_TRUE(near(render(), 25, 25, tiny::colorOver));
}

TEST_F(PageRendererTest, ChromeRulesOnEveryPage) {
    model.runtime.curConfig = 2; // profile button: element 5
    auto x = [](int i) { return (i - 2) * 12 + 5; };
    const QImage& main = render();
    EXPECT_TRUE(near(main, x(5), 105, tiny::mainDown));
    EXPECT_TRUE(near(main, x(4), 105, tiny::mainNormal));
    EXPECT_TRUE(near(main, x(9), 105, tiny::mainDown)); // tab of the current page
    // Pressing the current profile's button keeps it down; another element shows over, then down.
    state.pointer.mainHot = 5;
    EXPECT_TRUE(near(render(), x(5), 105, tiny::mainDown));
    state.pointer.mainHot = 3;
    EXPECT_TRUE(near(render(), x(3), 105, tiny::mainOver));
    state.pointer.buttonHeld = true;
    EXPECT_TRUE(near(render(), x(3), 105, tiny::mainDown));
    state.pointer.mainHot = 10; // hot before current tab: the advanced tab shows over
    state.pointer.page = SkinPage::Advanced;
    state.pointer.buttonHeld = false;
    const QImage& advanced = render();
    EXPECT_TRUE(near(advanced, x(10), 105, tiny::mainOver));
    // On the other pages the chrome comes from the main page's pictures.
    EXPECT_TRUE(near(advanced, x(9), 105, tiny::mainNormal));
    EXPECT_TRUE(near(advanced, x(5), 105, tiny::mainDown));
    EXPECT_TRUE(near(advanced, 100, 60, tiny::advancedNormal));
    state.pointer.page = SkinPage::Color;
    state.pointer.mainHot = 255;
    EXPECT_TRUE(near(render(), x(11), 105, tiny::mainDown));
}

TEST_F(PageRendererTest, KnobIsDrawnSevenPixelsRightOfTheChosenElement) {
    model.profile.stages[0].selectionId = 46; // element at x 120
    model.profile.stages[1].selectionId = 500;
    model.profile.stages[2].selectionId = -3;
    const QImage& img = render();
    EXPECT_TRUE(near(img, 127, 62, tiny::knob));
    EXPECT_TRUE(near(img, 136, 68, tiny::knob));
    EXPECT_TRUE(near(img, 125, 65, tiny::mainNormal));
    EXPECT_TRUE(near(img, 138, 65, tiny::mainNormal));
}

TEST_F(PageRendererTest, ColorPictureFollowsTheDpiLevel) {
    state.pointer.page = SkinPage::Color;
    const QColor expected[4] = {tiny::colorBlue, tiny::colorNormal, tiny::colorOver,
                                tiny::colorDown};
    for (int level = 0; level < 4; ++level) {
        model.profile.dpiLevel = level;
        EXPECT_TRUE(near(render(), 145, 25, expected[level])) << level;
    }
}

TEST_F(PageRendererTest, HandEditedValuesNeverReachOutsideTheTables) {
    model.profile.dpiLevel = 99;
    model.profile.lightMode = 200;
    model.profile.setCode(1, -5);
    model.profile.setCode(2, 999);
    model.profile.stages[3].selectionId = 70;
    state.pointer.advancedHot = 250;
    state.pointer.colorHot = 9;
    for (SkinPage page : {SkinPage::Main, SkinPage::Advanced, SkinPage::Color}) {
        state.pointer.page = page;
        EXPECT_FALSE(render().isNull());
    }
    state.maskSize = QSize(0, 0);
    EXPECT_TRUE(render().isNull());
}

TEST_F(PageRendererTest, TextLayerWritesStatusFunctionNamesAndLabels) {
    place(state.skin.main[1], 10, 0, 180, 16);
    place(state.skin.main[17], 0, 0, 100, 16);
    place(state.skin.main[18], 0, 20, 100, 16);
    place(state.skin.main[19], 0, 40, 100, 16);
    place(state.skin.main[24], 0, 60, 100, 16); // slot 8: never shows a name
    state.skin.functionNames[2] = QStringLiteral("Right Click");
    model.profile.setCode(1, 2);
    model.profile.setCode(2, 41);
    model.profile.setCode(3, 52);
    model.profile.setCode(8, 2);
    macros.edit([](auto& records) {
        records[0].setName("Combo");
        records[11].setName("Last");
    });
    model.runtime.armed = false;
    model.runtime.firstSoftwareSlot = 3;

    const QImage& img = render();
    const QString status = QString::fromUtf8("Pressione a tecla( 3 ) após o driver estar ok.");
    ASSERT_NE(textOf(status), nullptr);
    EXPECT_EQ(textOf(status)->color, QColor(255, 255, 0));
    EXPECT_EQ(state.skin.main[1].label, status);
    const TextDraw* right = textOf(QStringLiteral("Right Click"));
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(right->topLeft.x(), 5);
    EXPECT_EQ(right->color, QColor(255, 255, 255));
    EXPECT_NE(textOf(QStringLiteral("Combo")), nullptr);
    EXPECT_NE(textOf(QStringLiteral("Last")), nullptr);
    EXPECT_EQ(state.skin.functionNames[52], QStringLiteral("Last"));
    int rightDraws = 0;
    for (const TextDraw& d : texts) {
        rightDraws += d.text == QStringLiteral("Right Click");
    }
    EXPECT_EQ(rightDraws, 1); // slot 8 shows nothing
    // Wheel option labels sit 27 pixels right of centre.
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDotsPerMeterX(kSkinDotsPerMeter);
    probe.setDotsPerMeterY(kSkinDotsPerMeter);
    const QFontMetrics metrics(skinFont(), &probe);
    ASSERT_NE(textOf(QStringLiteral("A")), nullptr);
    EXPECT_EQ(textOf(QStringLiteral("A"))->topLeft.x(),
              27 + (20 - metrics.horizontalAdvance(QStringLiteral("A"))) / 2);
    // The status text really is in the picture: yellow glyph pixels inside its element.
    int yellow = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 10; x < 190; ++x) {
            const QColor c = img.pixelColor(x, y);
            yellow += c.red() > 150 && c.green() > 150 && c.blue() < 90;
        }
    }
    EXPECT_GT(yellow, 20);

    model.runtime.armed = true;
    render();
    EXPECT_NE(textOf(QStringLiteral("Driver esta ok funcionando.")), nullptr);
}

TEST_F(PageRendererTest, ColorAndAdvancedTexts) {
    state.pointer.page = SkinPage::Color;
    place(state.skin.color[0], 0, 0, 80, 20, QStringLiteral("Steady"));
    place(state.skin.color[5], 0, 40, 80, 20);
    model.profile.dpiLevel = 2;
    model.profile.stages[2].codeInForce = 4;
    render();
    ASSERT_NE(textOf(QStringLiteral("3200")), nullptr);
    ASSERT_NE(textOf(QStringLiteral("Steady")), nullptr);
    EXPECT_EQ(textOf(QStringLiteral("Steady"))->topLeft.x(), 20);
    model.profile.stages[2].codeInForce = 0;
    render();
    EXPECT_NE(textOf(QStringLiteral("4000")), nullptr);

    state.pointer.page = SkinPage::Advanced;
    state.skin.advanced[3].label = QStringLiteral("Guide");
    state.pointer.advancedHot = 3;
    state.macroEditor.recording = true;
    render();
    ASSERT_NE(textOf(QStringLiteral("Guide")), nullptr);
    EXPECT_EQ(textOf(QStringLiteral("Guide"))->color, QColor(255, 0, 0));
    ASSERT_NE(textOf(QStringLiteral("Stop")), nullptr);
    EXPECT_EQ(textOf(QStringLiteral("Stop"))->color, QColor(255, 255, 255));
    state.macroEditor.recording = false;
    render();
    EXPECT_NE(textOf(QStringLiteral("Record")), nullptr);
    EXPECT_EQ(state.skin.advanced[19].label, QStringLiteral("Record"));
}

TEST_F(PageRendererTest, PictureReplacedOnDiskShowsAtTheNextPaint) {
    EXPECT_TRUE(near(render(), 50, 50, tiny::mainNormal));
    const int decodes = cache.decodes();
    render();
    EXPECT_EQ(cache.decodes(), decodes); // nothing changed: nothing decoded again
    skin.writePicture("main_normal.jpg", QColor(250, 250, 250));
    EXPECT_TRUE(near(render(), 50, 50, QColor(250, 250, 250)));
    std::filesystem::remove(skin.skinFolder() / "main_normal.jpg");
    // Without its normal picture the page shows the mask underneath.
    EXPECT_TRUE(near(render(), 50, 50, QColor(0, 0, 0)));
}

} // namespace
} // namespace veldran
