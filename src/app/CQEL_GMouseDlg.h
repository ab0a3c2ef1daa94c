// The main window: a frameless, shaped window on which the three pages are painted. It runs the
// initialisation sequence (device event reader, skin, settings, shape, macros, menus, discovery,
// the first Apply), paints through the page renderer, and offers the repaint entry points that
// pointer input and the other windows use. Every collaborator comes in through the constructor.
#pragma once

#include "skin/ImageCache.h"
#include "skin/PageRenderer.h"
#include "skin/StartupReporter.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string_view>

namespace veldran {

class CQEL_GMouseApp;
class Clock;
struct ConfigModel;
class DeviceEventReader;
class DeviceLink;
class DeviceProtocol;
class KeyboardHook;
class MacroStore;
class MacroTable;
class MainWindowInput;
struct MainWindowState;
class ProfileController;
class ProfileStore;

inline constexpr const char* kMainWindowTitle = "VELDRAN GAMING MOUSE";

class CQEL_GMouseDlg : public QWidget {
    Q_OBJECT
public:
    struct Services {
        CQEL_GMouseApp& app;
        MainWindowState& state;
        ConfigModel& model;
        MacroTable& macros;
        ProfileStore& profiles;
        MacroStore& macroStore;
        DeviceLink& link;
        DeviceProtocol& protocol;
        DeviceEventReader& reader;
        // Every profile switch and Apply of the window goes through it.
        ProfileController& controller;
        // The UTC time of day of recorded pauses (the system clock when none is given), and the
        // key capture while a macro is recorded (none: only keys typed into the program's own
        // windows are recorded).
        Clock* clock = nullptr;
        KeyboardHook* keyboardHook = nullptr;
    };

    // Steps of the initialisation that belong to other parts of the program. Each is optional;
    // trace, when set, is told the name of every step as it runs.
    struct InitHooks {
        std::function<void()> systemMenu;        // append "&About QEL_GMouse..." (step 3)
        std::function<void()> constructNameEdit; // the macro name edit (step 11)
        std::function<void()> constructLists;    // the macro name list, then the event list
        std::function<void()> loadContextMenu;   // owner-drawn context menu 154 (step 20)
        std::function<void()> loadTrayMenu;      // owner-drawn tray menu 157 (step 21)
        std::function<void()> mouseMissing;      // said instead of the message box when no mouse
        // Puts the window on the screen (or hides it to the tray) once discovery has run and the
        // program goes on, at the start of the 5 ms wait before the Apply, so that neither delays
        // the window's first appearance.
        std::function<void()> showWindow;
        std::function<void(std::string_view)> trace;
    };

    explicit CQEL_GMouseDlg(Services services, QWidget* parent = nullptr);
    ~CQEL_GMouseDlg() override;

    void setInitHooks(InitHooks hooks) { hooks_ = std::move(hooks); }
    // Runs the initialisation sequence once. The window is shown through the showWindow hook,
    // at the start of the wait before the Apply; without that hook, after the sequence.
    // Returns true.
    bool initialise();

    // The macro table and the working profile were read again from replaced settings files (an
    // import): the window shows what they hold now.
    void settingsReplaced();

    // Repaint entry points. repaintWindow: the whole window, at once. repaintForPointer: on the
    // advanced page only the paint region (so the macro editor's controls are not painted
    // over), elsewhere the whole window, at once. requestRepaint: a paint through the event
    // queue.
    void repaintWindow();
    void repaintForPointer();
    void requestRepaint();

    // The function menu window last opened (owned by this window from then on), and its
    // destruction: on the next press on the main page, or at the next paint after a choice in
    // the advanced function menu.
    void setFunctionMenu(QWidget* menu);
    QWidget* functionMenu() const { return functionMenu_; }
    void destroyFunctionMenu();

    PageRenderer& renderer() { return renderer_; }
    // Pointer input, tray, window menu and the macro editor's controls.
    MainWindowInput& input() { return *input_; }
    const Services& services() const { return s_; }

protected:
    // The macro editor's private events (the event list's UM_EDIT_CLOSED), then the rest.
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    class Reporter final : public StartupReporter {
    public:
        explicit Reporter(CQEL_GMouseApp& app) : app_(app) {}
        void message(const QString& text) override;
        void exitSequence() override;

    private:
        CQEL_GMouseApp& app_;
    };

    void step(std::string_view name, const std::function<void()>& hook = {});
    void loadMacros();
    void applyShape();

    Services s_;
    InitHooks hooks_;
    Reporter reporter_;
    ImageCache images_;
    PageRenderer renderer_;
    QPointer<QWidget> functionMenu_;
    bool initialised_ = false;
    std::unique_ptr<MainWindowInput> input_;
};

} // namespace veldran
