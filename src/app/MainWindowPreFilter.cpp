#include "app/MainWindowPreFilter.h"

#include "macro/WindowKeyMessages.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace veldran {

namespace {
constexpr std::uint32_t kVirtualKeyReturn = 0x0D;
constexpr std::uint32_t kVirtualKeyEscape = 0x1B;
} // namespace

MainWindowPreFilter::MainWindowPreFilter(QWidget& window, Steps steps, QObject* parent)
    : QObject(parent), window_(window), steps_(std::move(steps)) {
    qApp->installEventFilter(this);
}

MainWindowPreFilter::~MainWindowPreFilter() {
    qApp->removeEventFilter(this);
}

// A release is taken where the window system delivers it, at the top-level window, so that it is
// seen once (a widget that ignores it would hand it on to its parent). The main window and the
// windows it owns count; pop-up menus have no owner and do not.
bool MainWindowPreFilter::ownsWindowOf(QObject* watched) const {
    if (!watched->isWindowType()) {
        return false;
    }
    const QWindow* target = static_cast<QWindow*>(watched);
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->windowHandle() != target) {
            continue;
        }
        const QWidget* owner = top->parentWidget();
        return top == &window_ || (owner != nullptr && owner->window() == &window_);
    }
    return false;
}

// A key goes to the focused widget: it counts when that widget is in the main window or in a
// window the main window owns.
bool MainWindowPreFilter::belongsToWindow(QObject* watched) const {
    if (!watched->isWidgetType()) {
        return false;
    }
    const QWidget* top = static_cast<QWidget*>(watched)->window();
    return top == &window_ ||
           (top->parentWidget() != nullptr && top->parentWidget()->window() == &window_);
}

bool MainWindowPreFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();

    // Step 1: the right-button release of the advanced page.
    if (type == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton && steps_.rightButtonReleased &&
            ownsWindowOf(watched)) {
            steps_.rightButtonReleased(mouse->globalPosition().toPoint());
        }
        return false; // the release goes on to its window
    }

    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) {
        return false;
    }
    if (!belongsToWindow(watched)) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);

    // Step 2: recording.
    const RecordingResult recorded =
        steps_.recordKey ? steps_.recordKey(watched, *key) : RecordingResult::Continue;
    if (recorded != RecordingResult::Continue) {
        return recorded == RecordingResult::Consume;
    }

    // Step 3: the key-downs of Enter and Escape are swallowed in the main window, on every page
    // and whether or not a recording runs; as system keys (Alt held without Ctrl) they pass, as
    // their releases do. A message box or dialog of the window closes on them as usual.
    if (static_cast<QWidget*>(watched)->window() != &window_) {
        return false;
    }
    const auto message = windowKeyMessage(*key);
    if (message && message->message == WM_KEYDOWN &&
        (message->virtualKey == kVirtualKeyReturn || message->virtualKey == kVirtualKeyEscape)) {
        return true;
    }
    return false;
}

} // namespace veldran
