// The main window's initialisation sequence, shape and paint.
#include "app/CQEL_GMouseDlg.h"

#include "app/CQEL_GMouseApp.h"
#include "app/MainWindowInput.h"
#include "app/MainWindowState.h"
#include "config/MacroStore.h"
#include "config/MacroTable.h"
#include "config/Profile.h"
#include "config/ProfileStore.h"
#include "control/ProfileController.h"
#include "device/DeviceEventReader.h"
#include "device/DeviceLink.h"
#include "device/DeviceProtocol.h"
#include "macro/CEditableListBox.h"
#include "platform/Log.h"
#include "skin/ShapedWindow.h"
#include "skin/SkinReader.h"
#include "skin/WindowShape.h"

#include <QCoreApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

namespace veldran {
namespace {

// The start-up Apply runs this long after discovery.
constexpr std::chrono::milliseconds kApplyDelay{5};
// Size of the window before the mask has given it its own.
constexpr QSize kDefaultSize(800, 600);

} // namespace

void CQEL_GMouseDlg::Reporter::message(const QString& text) {
    app_.messageBox(text);
}
void CQEL_GMouseDlg::Reporter::exitSequence() {
    app_.exitSequence();
}

CQEL_GMouseDlg::CQEL_GMouseDlg(Services services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), s_(services), reporter_(services.app),
      renderer_(services.state, services.state.macroEditor, services.model, services.macros,
                images_) {
    // The paint covers the whole window from the back buffer: the background is never erased.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    // Pointer input follows the pointer without a pressed button (hover looks).
    setMouseTracking(true);
    resize(kDefaultSize);
    // Where the program has already placed the skin, the mask decodes on a thread of its own
    // from here on, while the window's parts are built and the skin and settings are read.
    if (!s_.state.skinFolder.empty()) {
        images_.prefetch({renderer_.skinPath("main_mask.jpg")});
    }
    input_ = std::make_unique<MainWindowInput>(*this, s_);
}

CQEL_GMouseDlg::~CQEL_GMouseDlg() = default;

void CQEL_GMouseDlg::step(std::string_view name, const std::function<void()>& hook) {
    if (hooks_.trace) {
        hooks_.trace(name);
    }
    if (hook) {
        hook();
    }
}

bool CQEL_GMouseDlg::initialise() {
    if (initialised_) {
        return true;
    }
    initialised_ = true;
    MainWindowState& state = s_.state;

    // The reader copes with the mouse not yet open and the settings not yet loaded.
    step("reader");
    s_.reader.start();
    step("system menu", hooks_.systemMenu);
    setWindowTitle(QString::fromUtf8(kMainWindowTitle));

    if (state.appFolder.empty()) {
        state.appFolder = CQEL_GMouseApp::appFolder();
    }
    // The program's wiring may already have put the skin and the settings elsewhere (the
    // installed data folder, the user's configuration folder).
    if (state.skinFolder.empty()) {
        state.skinFolder = state.appFolder / "skins";
    }
    images_.prefetch({renderer_.skinPath("main_mask.jpg")});
    SkinReader skin(state.skinFolder, state.skin, reporter_);
    step("skin");
    skin.readMainTable();
    skin.readFunctionNames();
    skin.readColorTable();
    skin.readAdvancedTable();
    step("name edit", hooks_.constructNameEdit);
    skin.readNameEditRect();
    step("lists", hooks_.constructLists);
    skin.readListRects();

    step("config");
    if (state.configPath.empty()) {
        state.configPath = state.appFolder / "config.ini";
    }
    s_.model.runtime.curConfig.store(s_.profiles.readCurConfig());
    s_.profiles.load(s_.model.runtime.curConfig.load(), s_.model.profile);

    step("shape");
    applyShape();

    step("macros");
    if (state.macroPath.empty()) {
        state.macroPath = state.appFolder / "Macro.dat";
    }
    loadMacros();
    state.functionMenu.menuOpen = false;

    step("context menu", [this] {
        input_->loadContextMenu();
        if (hooks_.loadContextMenu) {
            hooks_.loadContextMenu();
        }
    });
    const MacroRecord selected = s_.macros.snapshot(state.macroEditor.selectedMacro);
    const int events = selected.usableEventCount();
    state.macroEditor.selectedEventLine = events > 0 ? 2 * events - 2 : 0;
    step("tray menu", [this] {
        input_->loadTrayMenu();
        if (hooks_.loadTrayMenu) {
            hooks_.loadTrayMenu();
        }
    });

    step("discover");
    state.connected = s_.link.discover();
    // A mouse that is there but cannot be used (an interface missing or not opened, an odd
    // report length) is explained instead of failing silently.
    if (const std::string problem = s_.link.problem(); !problem.empty()) {
        reporter_.message(QString::fromStdString(problem));
    }
    if (!state.connected) {
        if (hooks_.mouseMissing) {
            hooks_.mouseMissing();
        } else {
            reporter_.message(tr("Insert【ZEV】USB Mouse"));
        }
        reporter_.exitSequence();
    }

    // The wait and the Apply run after a failed start as well: the program ends only once the
    // sequence has returned, so the mouse still receives the working profile. What runs within
    // the wait is seen neither by the mouse nor by the files: the window appears, gets its icon,
    // the first page's pictures decode on their own thread and the text face loads, so that the
    // first paint finds them ready.
    const auto waitEnds = std::chrono::steady_clock::now() + kApplyDelay;
    if (hooks_.showWindow && !s_.app.endPending()) {
        step("show", hooks_.showWindow);
    }
    step("wait");
    if (!s_.app.endPending()) {
        images_.prefetch(renderer_.pagePictures());
        setWindowIcon(QIcon(QStringLiteral(":/veldran/icon.png")));
        renderer_.prepareTextFace();
    }
    std::this_thread::sleep_until(waitEnds);
    step("apply");
    s_.controller.startUp();
    return true;
}

void CQEL_GMouseDlg::loadMacros() {
    std::vector<std::string> problems;
    if (!s_.macroStore.readTable(s_.macros, problems)) {
        reporter_.message(QCoreApplication::translate("SkinReader", kSkinFileMissingMessage));
        reporter_.exitSequence();
        return;
    }
    const int count = s_.macros.count();
    s_.state.macroEditor.selectedMacro = count > 0 ? count - 1 : 0;
    for (const std::string& problem : problems) {
        logLine(problem);
    }
}

void CQEL_GMouseDlg::settingsReplaced() {
    const int count = s_.macros.count();
    s_.state.macroEditor.selectedMacro = count > 0 ? count - 1 : 0;
    input_->macrosReplaced();
    repaint();
}

void CQEL_GMouseDlg::applyShape() {
    MainWindowState& state = s_.state;
    const QImage& mask = images_.get(renderer_.skinPath("main_mask.jpg"));
    const WindowShape shape = buildWindowShape(mask, state.skin.nameEditRect,
                                               state.skin.eventListRect, state.skin.nameListRect);
    state.maskSize = shape.maskSize;
    state.windowRegion = shape.windowRegion;
    state.paintRegion = shape.paintRegion;
    if (!shape.maskSize.isEmpty()) {
        setFixedSize(shape.maskSize);
    }
    setWindowShape(*this, shape.windowRegion);
    update();
}

void CQEL_GMouseDlg::repaintWindow() {
    repaint();
}

void CQEL_GMouseDlg::repaintForPointer() {
    if (s_.state.pointer.page == SkinPage::Advanced) {
        repaint(s_.state.paintRegion);
    } else {
        repaint();
    }
}

void CQEL_GMouseDlg::requestRepaint() {
    update();
}

void CQEL_GMouseDlg::setFunctionMenu(QWidget* menu) {
    functionMenu_ = menu;
}

void CQEL_GMouseDlg::destroyFunctionMenu() {
    if (functionMenu_) {
        // The menu may be in one of its own handlers (a choice in its advanced menu updates this
        // window): hide it now, delete it once control is back in the event loop.
        functionMenu_->hide();
        functionMenu_->deleteLater();
        functionMenu_ = nullptr;
    }
}

bool CQEL_GMouseDlg::event(QEvent* event) {
    if (event->type() == UM_EDIT_CLOSED) {
        input_->editClosed();
        return true;
    }
    return QWidget::event(event);
}

void CQEL_GMouseDlg::mouseMoveEvent(QMouseEvent* event) {
    input_->mouseMoved(*event);
}

void CQEL_GMouseDlg::mousePressEvent(QMouseEvent* event) {
    input_->mousePressed(*event);
    QWidget::mousePressEvent(event);
}

void CQEL_GMouseDlg::mouseReleaseEvent(QMouseEvent* event) {
    input_->mouseReleased(*event);
    QWidget::mouseReleaseEvent(event);
}

void CQEL_GMouseDlg::paintEvent(QPaintEvent*) {
    FunctionMenuState& menu = s_.state.functionMenu;
    if (menu.closeRequest) {
        menu.closeRequest = false;
        destroyFunctionMenu();
    }
    QPainter painter(this);
    if (isMinimized()) {
        const int size = style()->pixelMetric(QStyle::PM_LargeIconSize);
        painter.drawPixmap((width() - size + 1) / 2, (height() - size + 1) / 2,
                           windowIcon().pixmap(size, size));
        return;
    }
    const QImage& frame = renderer_.render();
    if (!frame.isNull()) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(0, 0), frame);
    }
}

} // namespace veldran
