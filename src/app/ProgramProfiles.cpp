#include "app/ProgramProfiles.h"

#include "app/ProgramRulesDialog.h"
#include "app/TrayController.h"
#include "control/ProfileNotifier.h"
#include "control/ProgramRuleSwitcher.h"
#include "platform/Log.h"
#include "platform/ProfileStrings.h"
#include "platform/linux/FocusSourceChoice.h"
#include "platform/linux/GnomeShellExtension.h"
#include "platform/linux/ReportedActiveWindow.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QWidget>
#include <cstdio>

namespace veldran {

ProgramProfiles::ProgramProfiles(ProfileSwitcher& switcher, std::filesystem::path rulesFile,
                                 const std::filesystem::path& kwinScript, QWidget& window,
                                 TrayController& tray)
    : rulesFile_(std::move(rulesFile)), tray_(&tray),
      ruleSwitcher_(std::make_unique<ProgramRuleSwitcher>(switcher)) {
    reloadRules();
    // A hand edit of programs.ini counts as soon as it is written: the folder is watched for a
    // file that is created or replaced (as the dialog's and many editors' saves do), the file
    // itself for a write in place, and the file is read again once the writes have rested.
    reloadSoon_.setSingleShot(true);
    reloadSoon_.setInterval(kRulesFileRest);
    connect(&reloadSoon_, &QTimer::timeout, this, &ProgramProfiles::reloadRules);
    folderWatcher_ = std::make_unique<QFileSystemWatcher>(
        QStringList{QString::fromStdString(rulesFile_.parent_path().string())});
    connect(folderWatcher_.get(), &QFileSystemWatcher::directoryChanged, &reloadSoon_,
            qOverload<>(&QTimer::start));
    connect(folderWatcher_.get(), &QFileSystemWatcher::fileChanged, &reloadSoon_,
            qOverload<>(&QTimer::start));
    watchRulesFile();

    FocusSource source = chooseFocusSource(
        [this](const WindowProgram& program) { ruleSwitcher_->focusChanged(program); },
        kwinScript.string());
    watcher_ = std::move(source.window);
    reported_ = source.reported;
    logLine(std::string("the window in front is followed through: ") + watcher_->sourceName());
    if (watcher_->watching() && reported_ == nullptr) {
        ruleSwitcher_->focusChanged(watcher_->activeProgram());
    }

    ProfileNotifier::Conditions conditions;
    conditions.windowHidden = [shown = QPointer<QWidget>(&window)] {
        return shown == nullptr || !shown->isVisible() || shown->isMinimized();
    };
    conditions.enabled = [this] { return ruleSwitcher_->rules().notify; };
    notifier_ = std::make_unique<ProfileNotifier>(QDBusConnection::sessionBus(), conditions);
    notifier_->listenTo(switcher);

    tray.setProgramProfilesCommand([this] { openDialog(); });
}

ProgramProfiles::~ProgramProfiles() {
    if (tray_ != nullptr) {
        tray_->setProgramProfilesCommand({});
    }
    delete dialog_;
}

void ProgramProfiles::watchRulesFile() {
    // A replaced file is a new one: its watch is set again (adding a watched path again does
    // nothing).
    const QString file = QString::fromStdString(rulesFile_.string());
    if (folderWatcher_ != nullptr && !folderWatcher_->files().contains(file) &&
        QFileInfo::exists(file)) {
        folderWatcher_->addPath(file);
    }
}

void ProgramProfiles::reloadRules() {
    watchRulesFile();
    const std::optional<std::string> text = ProfileStrings::readText(rulesFile_);
    if (loadedOnce_ && text == loadedText_) {
        return; // another file of the folder changed
    }
    loadedOnce_ = true;
    loadedText_ = text;
    const LoadedProgramRules loaded = loadProgramRules(rulesFile_);
    for (const std::string& problem : loaded.problems) {
        logLine(problem);
    }
    ruleSwitcher_->setRules(loaded.rules);
}

std::string ProgramProfiles::focusSource() const {
    return watcher_->sourceName();
}

bool ProgramProfiles::report(const std::string& appId, const std::string& wmClass, unsigned pid) {
    if (reported_ == nullptr) {
        return false;
    }
    reported_->report(appId, wmClass, pid);
    return true;
}

void ProgramProfiles::openDialog() {
    if (dialog_ == nullptr) {
        ProgramRulesDialog::Hooks hooks;
        hooks.programsWithWindows = [this] {
            QStringList names;
            for (const std::string& name : watcher_->programsWithWindows()) {
                names << QString::fromStdString(name);
            }
            return names;
        };
        hooks.pickWindow = [this](std::function<void(const QString&)> named) {
            watcher_->pickWindow([named = std::move(named)](const WindowProgram& program) {
                // The class instance names the program as the window manager knows it; windows
                // without one are named by their executable.
                named(QString::fromStdString(program.instance.empty() ? program.executable
                                                                      : program.instance));
            });
        };
        hooks.cancelPick = [this] { watcher_->cancelPick(); };
        hooks.saved = [this](const ProgramRules& rules) { ruleSwitcher_->setRules(rules); };
        hooks.focusSource.name = QString::fromLatin1(watcher_->sourceName());
        if (hooks.focusSource.name == QLatin1String("gnome-shell") &&
            focusExtensionState() != FocusExtensionState::Running) {
            hooks.focusSource.enableExtension = [] { return enableFocusExtension(); };
            hooks.focusSource.extension = QString::fromStdString(focusExtensionUuid());
        }
        dialog_ = new ProgramRulesDialog(rulesFile_, std::move(hooks));
        dialog_->setAttribute(Qt::WA_DeleteOnClose);
        // Opened from the tray while the main window is hidden, it is the only window: closing
        // it must not end the driver.
        dialog_->setAttribute(Qt::WA_QuitOnClose, false);
    }
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

} // namespace veldran
