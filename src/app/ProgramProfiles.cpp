#include "app/ProgramProfiles.h"

#include "app/ProgramRulesDialog.h"
#include "app/TrayController.h"
#include "control/ProfileNotifier.h"
#include "control/ProgramRuleSwitcher.h"
#include "platform/Log.h"
#include "platform/ProfileStrings.h"
#include "platform/linux/X11ActiveWindow.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QWidget>
#include <cstdio>

namespace veldran {

ProgramProfiles::ProgramProfiles(ProfileSwitcher& switcher, std::filesystem::path rulesFile,
                                 QWidget& window, TrayController& tray)
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

    watcher_ = std::make_unique<X11ActiveWindow>(
        [this](const WindowProgram& program) { ruleSwitcher_->focusChanged(program); });
    if (watcher_->watching()) {
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
