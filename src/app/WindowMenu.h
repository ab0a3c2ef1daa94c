// The main window's window menu: Alt+Space anywhere in the window opens it (restore, minimise,
// close and, after a separator, the About box). Enter and Escape are the main window's
// pre-filter's (MainWindowPreFilter).
#pragma once

#include <QObject>
#include <memory>

class QMenu;
class QWidget;

namespace veldran {

// Shown through tr(): its translation lives in this class's context.
inline constexpr const char* kAboutItemText =
    QT_TRANSLATE_NOOP("veldran::WindowMenu", "&About QEL_GMouse...");

class WindowMenu : public QObject {
    Q_OBJECT
public:
    explicit WindowMenu(QWidget& window, QObject* parent = nullptr);
    ~WindowMenu() override;

    // Opens the window menu at the window's top-left corner.
    void open();
    QMenu* menu() const { return menu_.get(); }
    // Runs the About box modally.
    void showAbout();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    std::unique_ptr<QMenu> menu_;
};

} // namespace veldran
