// The driver's texts in the user's language, as the screen shows them: with LANG=en_US.UTF-8 the
// status line and the macro editor's context menu in English, with LANG=C the texts of the
// sources. The program's copy has its translations beside it, as a build or an install does.
#include "e2e/DriverRig.h"
#include "e2e/XServerProbe.h"
#include "macro/CQelMenu.h"
#include "skin/PageRenderer.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <functional>

namespace {

using namespace veldran::testing;

// Where the pixels that pass keep lie and how many there are.
struct Ink {
    QRect box;
    int count = 0;
};

Ink inkOf(const QImage& image, const std::function<bool(QPoint, QRgb)>& keep) {
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (keep({x, y}, image.pixel(x, y))) {
                ink.box |= QRect(x, y, 1, 1);
                ++ink.count;
            }
        }
    }
    return ink;
}

bool yellowish(QRgb c) {
    return qRed(c) > 128 && qGreen(c) > 128 && qBlue(c) < 96;
}
bool whitish(QRgb c) {
    return qRed(c) > 160 && qGreen(c) > 160 && qBlue(c) > 160;
}

// The ink of text drawn in font and colour over background (at the skin's resolution), as
// passes tells it apart from the background.
Ink inkOfText(const QString& text, const QFont& font, const QColor& colour, QImage background,
              const std::function<bool(QRgb)>& passes) {
    const QImage plain = background;
    background.setDotsPerMeterX(veldran::kSkinDotsPerMeter);
    background.setDotsPerMeterY(veldran::kSkinDotsPerMeter);
    QPainter painter(&background);
    painter.setFont(font);
    painter.setPen(colour);
    const QFontMetrics metrics(font, &background);
    painter.drawText(QPoint(background.width() - metrics.horizontalAdvance(text) - 4,
                            (background.height() + metrics.ascent() - metrics.descent()) / 2),
                     text);
    painter.end();
    return inkOf(background,
                 [&](QPoint at, QRgb c) { return passes(c) && !passes(plain.pixel(at)); });
}

// Whether the screen's ink is that of the text: the same extent and nearly as many pixels (the
// background the glyphs are smoothed against differs).
::testing::AssertionResult sameInk(const Ink& shown, const Ink& text, const QString& what) {
    const bool close = std::abs(shown.box.width() - text.box.width()) <= 2 &&
                       std::abs(shown.box.height() - text.box.height()) <= 2 &&
                       std::abs(shown.count - text.count) <= text.count / 6;
    if (close) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "the screen does not show \"" << what.toStdString() << "\": ink " << shown.box.width()
           << "x" << shown.box.height() << " (" << shown.count << " pixels), the text's "
           << text.box.width() << "x" << text.box.height() << " (" << text.count << " pixels)";
}

QImage grabScreen(const QRect& area) {
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
        .toImage();
}

class TranslatedWindowTest : public DriverRig {
protected:
    // The driver's locale comes from LANG alone.
    void useLang(const QString& lang) {
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"}) {
            extraEnvironment.insert(name, QString());
        }
        extraEnvironment.insert("LANG", lang);
    }

    void prepareFolder(const QString& app) override {
        const QString from = env("VELDRAN_BIN_DIR") + "/translations";
        QDir().mkpath(app + "/translations");
        for (const QString& name : QDir(from).entryList({"*.qm"}, QDir::Files)) {
            ASSERT_TRUE(QFile::copy(from + '/' + name, app + "/translations/" + name));
        }
    }

    // The status line shows text (in yellow, over the skin's own picture of the line).
    void expectStatusLine(const QString& text) {
        const QRect status = elementRect(layout, 1);
        ASSERT_FALSE(status.isEmpty());
        const QImage skin = QImage(dir.path() + "/skins/main_normal.jpg").copy(status);
        const Ink expected = inkOfText(text, veldran::skinFont(), Qt::yellow, skin, yellowish);
        Ink shown;
        const auto showsText = [&] {
            const QImage screen = grabScreen(status.translated(windowPosition()));
            shown = inkOf(screen, [&](QPoint at, QRgb c) {
                return yellowish(c) && !yellowish(skin.pixel(at));
            });
            return sameInk(shown, expected, text);
        };
        // The line is painted once the start-up Apply is through; then its text must match.
        if (!QTest::qWaitFor([&] { return bool(showsText()); }, 3000)) {
            EXPECT_TRUE(showsText());
        }
    }

    // Right-clicks an event line of the first macro: the context menu opens there with these
    // rows, as wide as its longest text (8 pixels a character), the first showing its text.
    void expectContextMenu(const QStringList& rows) {
        clickElement(10); // the Macros tab
        const QString advanced = QString::fromUtf8([&] {
            QFile file(dir.path() + "/skins/skin_advance_en.ini");
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }());
        const QRect names = skinRect(advanced, "MACRODISPLAY", 1);
        const QRect events = skinRect(advanced, "MACRODISPLAY", 2);
        ASSERT_FALSE(events.isEmpty());
        const QPoint origin = windowPosition();
        moveTo(origin + names.topLeft() + QPoint(30, 6));
        run("xdotool", {"click", "1"});
        const QPoint line = origin + events.topLeft() + QPoint(60, 10);
        moveTo(line);
        run("xdotool", {"click", "3"});

        XServerProbe probe;
        ASSERT_TRUE(probe.ok());
        unsigned long menu = 0;
        ASSERT_TRUE(QTest::qWaitFor([&] { return (menu = probe.topLevelAt(line, 3)) != 0; }, 3000));
        qsizetype longest = 0;
        for (const QString& row : rows) {
            longest = std::max(longest, row.size());
        }
        const QRect geometry = probe.geometry(menu);
        EXPECT_EQ(geometry.width(), 8 * longest + 2); // the rows and the 1-pixel frame
        EXPECT_EQ(geometry.height(), 20 * rows.size() + 2);

        // The first row: white text on the menu's band.
        const QRect firstRow(geometry.x() + 1, geometry.y() + 1, geometry.width() - 2, 20);
        QImage band(firstRow.size(), QImage::Format_RGB32);
        band.fill(veldran::kMenuBandColor);
        const Ink shown = inkOf(grabScreen(firstRow), [](QPoint, QRgb c) { return whitish(c); });
        EXPECT_TRUE(sameInk(
            shown, inkOfText(rows.first(), QGuiApplication::font(), Qt::white, band, whitish),
            rows.first()));
        run("xdotool", {"key", "Escape"});
    }
};

class EnglishWindowTest : public TranslatedWindowTest {
    void SetUp() override {
        useLang("en_US.UTF-8");
        TranslatedWindowTest::SetUp();
    }
};

class CLocaleWindowTest : public TranslatedWindowTest {
    void SetUp() override {
        useLang("C");
        TranslatedWindowTest::SetUp();
    }
};

TEST_F(EnglishWindowTest, StatusLineAndContextMenuInEnglish) {
    // The default profile gives button 6 a software function: the prompt asks for it.
    expectStatusLine("Press mouse button 6 once to activate.");
    expectContextMenu(
        {"Left Button", "Right Button", "Middle Button", "Change Delay", "Delete Item"});
}

TEST_F(CLocaleWindowTest, StatusLineAndContextMenuAsTheSourcesGiveThem) {
    expectStatusLine(QString::fromUtf8("Pressione a tecla( 6 ) após o driver estar ok."));
    expectContextMenu({QString::fromUtf8("Botão Esquerdo"), QString::fromUtf8("Botão Direito"),
                       QString::fromUtf8("Botão do Meio"), "Modificar Delay", "Apagar item"});
}

} // namespace
