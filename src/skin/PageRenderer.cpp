// The paint in its order of steps: back buffer, the page's normal picture, page layer, chrome
// layer, text layer. Values that come from a hand-edited config.ini go through the settings'
// guards before they index anything: the DPI level is held to the four stages, a selection id or
// light mode that names none of the window's choices draws nothing, and a function code outside
// the function-name table shows no name.
#include "skin/PageRenderer.h"

#include "config/FunctionCode.h"
#include "config/MacroTable.h"
#include "config/Profile.h"
#include "config/ValueBounds.h"
#include "skin/ImageCache.h"
#include "skin/MacroEditorState.h"
#include "skin/SkinWindowState.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>
#include <array>
#include <mutex>

namespace veldran {
namespace {

const QColor kWhite(255, 255, 255);
const QColor kYellow(255, 255, 0);
const QColor kRed(255, 0, 0);

template <std::size_t N>
const Element* elementAt(const std::array<Element, N>& table, long long index) {
    return index >= 0 && index < static_cast<long long>(N) ? &table[static_cast<std::size_t>(index)]
                                                           : nullptr;
}

// A paint device at the back buffer's resolution, for measuring text before the first paint.
const QImage& skinResolutionProbe() {
    static const QImage probe = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(kSkinDotsPerMeter);
        image.setDotsPerMeterY(kSkinDotsPerMeter);
        return image;
    }();
    return probe;
}

// The page's normal, over and down pictures.
std::array<const char*, 3> statePictures(SkinPage page) {
    switch (page) {
    case SkinPage::Advanced:
        return {"advanced_normal.jpg", "advanced_over.jpg", "advanced_down.jpg"};
    case SkinPage::Color:
        return {"color_normal_pink.jpg", "color_over_red.jpg", "color_down_purple.jpg"};
    case SkinPage::Main:
        break;
    }
    return {"main_normal.jpg", "main_over.jpg", "main_down.jpg"};
}

} // namespace

void installSkinFontFallback() {
    static std::once_flag once;
    std::call_once(once, [] {
        const QStringList song = {QStringLiteral("AR PL UMing CN"),
                                  QStringLiteral("AR PL UMing TW"),
                                  QStringLiteral("AR PL UMing HK")};
        QFont::insertSubstitutions(QString::fromUtf8("宋体"), song);
        QFont::insertSubstitutions(QStringLiteral("SimSun"), song);
    });
}

QFont skinFont() {
    installSkinFontFallback();
    QFont font(QString::fromUtf8("宋体"));
    font.setPointSize(10);
    return font;
}

struct PageRenderer::Context {
    QPainter& p;
    const SkinTables& skin;
    SkinPage page;
    const QFontMetrics& metrics;
    const QImage* over = nullptr;
    const QImage* down = nullptr;
    const QImage* knob = nullptr;
    const QImage* mainNormal = nullptr;
    const QImage* mainOver = nullptr;
    const QImage* mainDown = nullptr;

    void copy(const QImage& from, const Element& e) const {
        if (e.width > 0 && e.height > 0 && !from.isNull()) {
            p.drawImage(QPoint(e.x, e.y), from, QRect(e.x, e.y, e.width, e.height));
        }
    }
};

PageRenderer::PageRenderer(SkinWindowState& state, const MacroEditorState& editor,
                           const ConfigModel& model, const MacroTable& macros, ImageCache& images)
    : state_(state), editor_(editor), model_(model), macros_(macros), images_(images),
      font_(skinFont()), metrics_(font_, &skinResolutionProbe()) {}

QString PageRenderer::skinPath(const char* name) const {
    return QString::fromStdString((state_.skinFolder / name).string());
}

QStringList PageRenderer::pagePictures() const {
    QStringList paths;
    for (const char* name : statePictures(state_.pointer.page)) {
        paths.append(skinPath(name));
    }
    // The knob, then the chrome's pictures (those of the main page).
    paths.append(skinPath("dpi_slider.jpg"));
    for (const char* name : statePictures(SkinPage::Main)) {
        if (!paths.contains(skinPath(name))) {
            paths.append(skinPath(name));
        }
    }
    return paths;
}

const QImage& PageRenderer::render() {
    const QSize size = state_.maskSize;
    if (size.width() <= 0 || size.height() <= 0) {
        back_ = QImage();
        return back_;
    }
    if (back_.size() != size) {
        back_ = QImage(size, QImage::Format_RGB32);
        back_.setDotsPerMeterX(kSkinDotsPerMeter);
        back_.setDotsPerMeterY(kSkinDotsPerMeter);
    }
    const SkinPage page = state_.pointer.page;
    const auto names = statePictures(page);
    const QImage& normal = images_.get(skinPath(names[0]));

    QPainter p(&back_);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    // The back buffer starts as the mask picture; the page's normal picture covers it.
    if (normal.width() < size.width() || normal.height() < size.height()) {
        p.drawImage(QPoint(0, 0), images_.get(skinPath("main_mask.jpg")));
    }
    p.drawImage(QPoint(0, 0), normal, QRect(QPoint(0, 0), size));

    Context c{p, state_.skin, page, metrics_};
    c.over = &images_.get(skinPath(names[1]));
    c.down = &images_.get(skinPath(names[2]));
    c.knob = &images_.get(skinPath("dpi_slider.jpg"));
    pageLayer(c);
    c.mainNormal = &images_.get(skinPath("main_normal.jpg"));
    c.mainOver = &images_.get(skinPath("main_over.jpg"));
    c.mainDown = &images_.get(skinPath("main_down.jpg"));
    chromeLayer(c);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setFont(font_);
    textLayer(c);
    return back_;
}

void PageRenderer::pageLayer(Context& c) {
    const PointerState& pointer = state_.pointer;
    const Profile& profile = model_.profile;
    const bool held = pointer.buttonHeld;
    const QImage& hotImage = held ? *c.down : *c.over;
    const int level = safeDpiLevel(profile.dpiLevel.load());

    switch (c.page) {
    case SkinPage::Main: {
        if (const Element* e = elementAt(c.skin.main, pointer.mainHot)) {
            c.copy(hotImage, *e);
        }
        c.copy(*c.down, c.skin.main[static_cast<std::size_t>(65 + level)]);
        for (int stage = 1; stage <= kStageCount; ++stage) {
            const std::int32_t id =
                profile.stages[static_cast<std::size_t>(stage - 1)].selectionId.load();
            const Element* e = isValidSelectionId(stage, id) ? elementAt(c.skin.main, id) : nullptr;
            if (e != nullptr && e->width > 0 && e->height > 0 && !c.knob->isNull()) {
                c.p.drawImage(QPoint(e->x + 7, e->y), *c.knob, QRect(0, 0, e->width, e->height));
            }
        }
        c.copy(*c.down, c.skin.main[profile.wheelMode.load() == 0 ? 32 : 33]);
        break;
    }
    case SkinPage::Advanced:
        if (const Element* e = elementAt(c.skin.advanced, pointer.advancedHot)) {
            c.copy(hotImage, *e);
        }
        c.copy(*c.down, c.skin.advanced[8]);
        if (editor_.recording) {
            c.copy(*c.down, c.skin.advanced[19]);
        }
        break;
    case SkinPage::Color:
        if (const Element* e = elementAt(c.skin.color, pointer.colorHot)) {
            c.copy(hotImage, *e);
        }
        if (isValidLightMode(profile.lightMode.load())) {
            c.copy(*c.down, c.skin.color[profile.lightMode.load()]);
        }
        if (level == 0) {
            c.copy(images_.get(skinPath("color_over_blue.jpg")), c.skin.color[7]);
        } else if (level == 2) {
            c.copy(*c.over, c.skin.color[7]);
        } else if (level == 3) {
            c.copy(*c.down, c.skin.color[7]);
        }
        break;
    }
}

void PageRenderer::chromeLayer(Context& c) {
    const PointerState& pointer = state_.pointer;
    const long long current = model_.runtime.curConfig.load();
    const int currentTab = c.page == SkinPage::Main ? 9 : c.page == SkinPage::Advanced ? 10 : 11;
    for (int i = 1; i <= 16; ++i) {
        const QImage* from = c.mainNormal;
        if (i == current + 3) {
            from = c.mainDown;
        } else if (i == pointer.mainHot) {
            from = pointer.buttonHeld ? c.mainDown : c.mainOver;
        } else if (i == currentTab) {
            from = c.mainDown;
        }
        c.copy(*from, c.skin.main[static_cast<std::size_t>(i)]);
    }
}

QString PageRenderer::statusText() const {
    if (!editor_.statusNote.empty()) {
        return QString::fromStdString(editor_.statusNote);
    }
    if (model_.runtime.mouseUnanswered.load()) {
        return QCoreApplication::translate("PageRenderer", "O mouse não respondeu.");
    }
    if (model_.runtime.armed.load()) {
        return QCoreApplication::translate("PageRenderer", "Driver esta ok funcionando.");
    }
    return QCoreApplication::translate("PageRenderer",
                                       "Pressione a tecla( %1 ) após o driver estar ok.")
        .arg(model_.runtime.firstSoftwareSlot.load());
}

void PageRenderer::drawText(Context& c, int x, int y, const QString& text, const QColor& color) {
    if (text.isEmpty()) {
        return;
    }
    c.p.setPen(color);
    c.p.drawText(QPoint(x, y + c.metrics.ascent()), text);
    if (observer_) {
        observer_(TextDraw{QPoint(x, y), text, color});
    }
}

void PageRenderer::drawCentred(Context& c, int x, int y, int width, int height, const QString& text,
                               const QColor& color) {
    const int textWidth = c.metrics.horizontalAdvance(text);
    const int textHeight = c.metrics.height();
    drawText(c, x + (width - textWidth) / 2, y + (height - textHeight) / 2, text, color);
}

void PageRenderer::textLayer(Context& c) {
    SkinTables& skin = state_.skin;
    const Profile& profile = model_.profile;
    const int textHeight = c.metrics.height();
    auto centred = [&](const Element& e, const QColor& color, int dx = 0) {
        drawCentred(c, e.x + dx, e.y, e.width, e.height, e.label, color);
    };
    for (int i = 0; i <= 49; ++i) {
        QColor color = kWhite;
        if (i == 1) {
            skin.main[1].label = statusText();
            centred(skin.main[1], kYellow);
            continue;
        }
        if (i <= 16) {
            centred(skin.main[static_cast<std::size_t>(i)], color);
            continue;
        }
        if (c.page == SkinPage::Main) {
            const Element& e = skin.main[static_cast<std::size_t>(i)];
            if (i >= 30 && i <= 46) {
                centred(e, color, i == 32 || i == 33 ? 27 : 0);
            } else if (i >= 17 && i <= 23) {
                const long long code = profile.code(i - 16);
                if (code < 0 || code >= kFunctionNameCount) {
                    continue; // a hand-edited code that names no function
                }
                if (code >= 41 && isValidMacroIndex(static_cast<std::int32_t>(code - 41))) {
                    skin.functionNames[static_cast<std::size_t>(code)] = QString::fromStdString(
                        macros_.snapshot(static_cast<int>(code - 41)).nameUtf8());
                }
                drawText(c, e.x + 5, e.y + (e.height - textHeight) / 2,
                         skin.functionNames[static_cast<std::size_t>(code)], color);
            }
        } else if (c.page == SkinPage::Color && i <= 24) {
            const int k = i - 17;
            const Element& e = skin.color[static_cast<std::size_t>(k)];
            if (k <= 3) {
                drawText(c, e.x + 20, e.y + (e.height - textHeight) / 2, e.label, color);
            } else if (k == 5) {
                const int level = safeDpiLevel(profile.dpiLevel.load());
                const int code = profile.stages[static_cast<std::size_t>(level)].codeInForce.load();
                drawCentred(c, e.x, e.y, e.width, e.height,
                            QString::fromLatin1(dpiResolutionText(code)), color);
            } else {
                centred(e, color);
            }
        } else if (c.page == SkinPage::Advanced && i <= 37) {
            const int k = i - 17;
            Element& e = skin.advanced[static_cast<std::size_t>(k)];
            if (k == 19) {
                e.label = editor_.recording ? QCoreApplication::translate("PageRenderer", "Stop")
                                            : QCoreApplication::translate("PageRenderer", "Record");
            }
            if (k == state_.pointer.advancedHot) {
                color = kRed;
            }
            centred(e, color);
        }
    }
}

} // namespace veldran
