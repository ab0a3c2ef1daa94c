// The main window's message pre-filter: one application-wide event filter that sees the input
// of the main window and of its child and owned windows before they do, in three steps:
//   1. a right-button release while the advanced page is shown goes to the macro editor (the line
//      under the pointer and the context menu); the release then goes on to its window;
//   2. recording: while a macro is recorded, every key press and release becomes an event of it;
//   3. Enter and Escape in the main window itself: their key presses are swallowed, so that no
//      control sees them and the window never closes on them; their releases pass. The windows
//      it owns (message boxes, dialogs) keep their usual Enter and Escape.
// The steps are hooks set by the main window; an unset hook is a step that does nothing.
#pragma once

#include <QObject>
#include <QPoint>
#include <functional>

class QKeyEvent;
class QWidget;

namespace veldran {

class MainWindowPreFilter final : public QObject {
    Q_OBJECT
public:
    // What the recording step decided about a key.
    enum class RecordingResult {
        Continue,        // go on to step 3
        SkipEnterEscape, // straight to the window (a generic modifier already seen by side)
        Consume,         // the key goes no further
    };

    struct Steps {
        // Step 1: a right-button release at a screen position, on any page; the hook checks the
        // page. Runs once per release, before the release reaches its widget.
        std::function<void(QPoint globalPos)> rightButtonReleased;
        // Step 2: every key press and release (spontaneous ones and the keyboard hook's forwarded
        // keys alike) addressed to a widget of the main window, with that widget. A key that a
        // widget leaves unhandled is handed to its parent and comes here again; the recorder
        // keeps out repeats and second copies (its last-pair rule) and never consumes a key.
        std::function<RecordingResult(QObject* watched, const QKeyEvent& key)> recordKey;
    };

    // Watches the input of window and of the windows it owns. Installs itself on the
    // application; removes itself when destroyed.
    MainWindowPreFilter(QWidget& window, Steps steps, QObject* parent = nullptr);
    ~MainWindowPreFilter() override;

    void setSteps(Steps steps) { steps_ = std::move(steps); }
    Steps& steps() { return steps_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool ownsWindowOf(QObject* watched) const;
    bool belongsToWindow(QObject* watched) const;

    QWidget& window_;
    Steps steps_;
};

} // namespace veldran
