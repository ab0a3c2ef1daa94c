// Profiles that follow the program in front, put together for the running driver: the rules of
// programs.ini, the watcher of the active window, the switcher that applies the rules, the
// notification of switches while the window is hidden, and the dialog that the tray menu's
// "Profiles for programs" opens.
#pragma once

#include "control/ProfileSwitcher.h"
#include "control/ProgramRules.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class QFileSystemWatcher;
class QWidget;

namespace veldran {

inline constexpr std::chrono::milliseconds kRulesFileRest{100};

class ActiveWindow;
class ProfileNotifier;
class ProgramRuleSwitcher;
class ReportedActiveWindow;
class ProgramRulesDialog;
class TrayController;

class ProgramProfiles : public QObject {
    Q_OBJECT
public:
    // rulesFile is programs.ini beside config.ini; kwinScript the KWin script that reports the
    // window in front on KDE Plasma; window is the main window, whose being hidden (or gone)
    // decides whether a switch is announced. Either may go before this object.
    ProgramProfiles(ProfileSwitcher& switcher, std::filesystem::path rulesFile,
                    const std::filesystem::path& kwinScript, QWidget& window, TrayController& tray);
    ~ProgramProfiles() override;

    // Which source follows the window in front: x11, wlroots, kwin, gnome-shell or none.
    std::string focusSource() const;
    // A report of the window in front from the desktop's script or extension (D-Bus
    // ActiveWindowChanged); false when the source in use is not one that reports.
    bool report(const std::string& appId, const std::string& wmClass, unsigned pid);

    // Opens the dialog, or raises it when it is open.
    void openDialog();
    // Reads programs.ini again when it changed; says what it refused on standard error.
    void reloadRules();

private:
    void watchRulesFile();

    std::filesystem::path rulesFile_;
    QPointer<TrayController> tray_;
    std::unique_ptr<ProgramRuleSwitcher> ruleSwitcher_;
    std::unique_ptr<ActiveWindow> watcher_;
    ReportedActiveWindow* reported_ = nullptr; // the watcher, when D-Bus reports feed it
    std::unique_ptr<ProfileNotifier> notifier_;
    QPointer<ProgramRulesDialog> dialog_;
    std::unique_ptr<QFileSystemWatcher> folderWatcher_;
    QTimer reloadSoon_;
    bool loadedOnce_ = false;
    std::optional<std::string> loadedText_; // programs.ini as last read
};

} // namespace veldran
