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

namespace {

using namespace veldran::testing;

bool yellowish(QRgb c) {
    return qRed(c) > 128 && qGreen(c) > 128 && qBlue(c) < 96;
}
bool whitish(QRgb c) {
    return qRed(c) > 160 && qGreen(c) > 160 && qBlue(c) > 160;
}

// Whether the screen's area shows text in font and colour over background, placed with
// alignment: the pixels of the area that passes tells apart from the background are those of the
// text drawn so by this test (but for a few, as a safety margin).
::testing::AssertionResult shows(const QRect& area, const QString& text, const QFont& font,
                                 const QColor& colour, const QImage& background,
                                 bool (*passes)(QRgb), const QRect& place, int alignment) {
    QImage drawn = background;
    drawn.setDotsPerMeterX(veldran::kSkinDotsPerMeter);
    drawn.setDotsPerMeterY(veldran::kSkinDotsPerMeter);
    QPainter painter(&drawn);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(place, alignment, text);
    painter.end();
    const QImage screen = QGuiApplication::primaryScreen()
                              ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                              .toImage();
    int ink = 0;
    int differing = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            if (!passes(background.pixel(x, y))) {
                const bool inText = passes(drawn.pixel(x, y));
                ink += inText ? 1 : 0;
                differing += inText != passes(screen.pixel(x, y)) ? 1 : 0;
            }
        }
    }
    if (ink > 0 && differing <= 3) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "the screen does not show \"" << text.toStdString() << "\": " << differing << " of "
           << ink << " pixels of its ink differ";
}

struct Language {
    const char* lang;
    const char* status;            // with the default profile: button 6 is a software one
    std::vector<const char*> menu; // the event list's context menu
};

class TranslatedWindowTest : public DriverRig, public ::testing::WithParamInterface<Language> {
protected:
    void SetUp() override {
        // The driver's locale comes from LANG alone.
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"}) {
            extraEnvironment.insert(name, QString());
        }
        extraEnvironment.insert("LANG", GetParam().lang);
        DriverRig::SetUp();
    }
    void prepareFolder(const QString& app) override {
        const QString from = env("VELDRAN_BIN_DIR") + "/translations";
        QDir().mkpath(app + "/translations");
        for (const QString& name : QDir(from).entryList({"*.qm"}, QDir::Files)) {
            ASSERT_TRUE(QFile::copy(from + '/' + name, app + "/translations/" + name));
        }
    }
};

TEST_P(TranslatedWindowTest, StatusLineAndContextMenu) {
    const QPoint origin = windowPosition();
    const QRect status = elementRect(layout, 1);
    QImage line = QImage(dir.path() + "/skins/main_normal.jpg").copy(status);
    line.setDotsPerMeterX(veldran::kSkinDotsPerMeter);
    line.setDotsPerMeterY(veldran::kSkinDotsPerMeter);
    const QString statusText = QString::fromUtf8(GetParam().status);
    // Centred on whole pixels.
    const QFontMetrics metrics(veldran::skinFont(), &line);
    const QRect centred((line.width() - metrics.horizontalAdvance(statusText)) / 2,
                        (line.height() - metrics.height()) / 2, line.width(), metrics.height());
    const auto statusShown = [&] {
        return shows(status.translated(origin), statusText, veldran::skinFont(), Qt::yellow, line,
                     yellowish, centred, Qt::AlignLeft | Qt::AlignTop);
    };
    // The line is painted once the start-up Apply is through.
    if (!QTest::qWaitFor([&] { return bool(statusShown()); }, 3000)) {
        EXPECT_TRUE(statusShown());
    }

    // Right-click the first event of the first macro: the menu opens at the pointer, 8 pixels a
    // character of its longest row wide, 20 pixels a row high, inside a 1-pixel frame.
    clickElement(10); // the Macros tab
    QFile advancedFile(dir.path() + "/skins/skin_advance_en.ini");
    ASSERT_TRUE(advancedFile.open(QIODevice::ReadOnly));
    const QString advanced = QString::fromUtf8(advancedFile.readAll());
    moveTo(origin + skinRect(advanced, "MACRODISPLAY", 1).topLeft() + QPoint(30, 6));
    run("xdotool", {"click", "1"});
    const QPoint event = origin + skinRect(advanced, "MACRODISPLAY", 2).topLeft() + QPoint(60, 10);
    moveTo(event);
    run("xdotool", {"click", "3"});
    XServerProbe probe;
    unsigned long menu = 0;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (menu = probe.topLevelAt(event, 3)) != 0; }, 3000));
    QStringList rows;
    qsizetype longest = 0;
    for (const char* row : GetParam().menu) {
        rows << QString::fromUtf8(row);
        longest = std::max(longest, rows.last().size());
    }
    const QRect geometry = probe.geometry(menu);
    EXPECT_EQ(geometry.width(), 8 * longest + 2);
    EXPECT_EQ(geometry.height(), 20 * rows.size() + 2);
    QImage band(geometry.width() - 2, 20, QImage::Format_RGB32);
    band.fill(veldran::kMenuBandColor);
    EXPECT_TRUE(shows({geometry.topLeft() + QPoint(1, 1), band.size()}, rows.first(),
                      QGuiApplication::font(), Qt::white, band, whitish,
                      band.rect().adjusted(10, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter));
    run("xdotool", {"key", "Escape"});
}

INSTANTIATE_TEST_SUITE_P(Locales, TranslatedWindowTest,
                         ::testing::Values(Language{"en_US.UTF-8",
                                                    "Press mouse button 6 once to activate.",
                                                    {"Left Button", "Right Button", "Middle Button",
                                                     "Change Delay", "Delete Item"}},
                                           Language{
                                               "C",
                                               "Pressione a tecla( 6 ) após o driver estar ok.",
                                               {"Botão Esquerdo", "Botão Direito", "Botão do Meio",
                                                "Modificar Delay", "Apagar item"}}),
                         [](const ::testing::TestParamInfo<Language>& info) {
                             return info.index == 0 ? std::string("English") : std::string("C");
                         });

} // namespace
