// The main window's own keyboard handling: Alt+Space opens the window menu (restore, minimise,
// close and, after a separator, the About box), and Enter and Escape key presses are swallowed
// anywhere in the window so that they never close it.
#pragma once

#include <QObject>
#include <memory>

class QMenu;
class QWidget;

namespace veldran {

inline constexpr const char* kAboutItemText = "&About QEL_GMouse...";

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
