// The application object: the program's folder, the single-instance rule, message boxes that
// know when the end of the program is pending, and ExitSequence.
#pragma once

#include "platform/linux/InstanceLock.h"
#include "platform/linux/RequestListener.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class QLocalSocket;
class QSocketNotifier;
class QMessageBox;
class QWidget;

namespace veldran {

class InputSynth;

// The name of the single-instance server that the driver listens on and the command line asks.
inline constexpr const char* kInstanceName = "CQEL_GMouseApp";

class CQEL_GMouseApp : public QObject {
    Q_OBJECT
public:
    explicit CQEL_GMouseApp(InputSynth& input, QObject* parent = nullptr);
    // Without the input synthesiser yet: a start that may turn out to be the second one opens
    // no input device before it knows (see setInputSynth).
    explicit CQEL_GMouseApp(QObject* parent = nullptr);
    ~CQEL_GMouseApp() override;

    // The running executable's absolute path (from /proc/self/exe), empty when unknown.
    static std::string executablePath();
    // Folder of the running executable (from /proc/self/exe, up to its last separator).
    static std::filesystem::path appFolder();
    // The folder part of an executable's absolute path: up to its last separator, "/" for a
    // file directly in the root folder, empty for a name without any separator.
    static std::filesystem::path folderOfExecutable(const std::string& exe);
    // The executable's file name without its extension: the caption of every message box.
    static QString applicationName();

    // Becomes the single instance (true), or asks the running instance to show and restore its
    // main window (false: this process should end without showing anything). The instance holds
    // a lock file for its whole life and listens on a per-user local server of that name.
    // When the socket cannot be listened on, this process is the instance all the same, and says
    // on standard error that it cannot be reached.
    bool claimSingleInstance(const QString& serverName = QString::fromLatin1(kInstanceName));
    // After claimSingleInstance returned false: whether the running instance was asked to show
    // its window (false: it did not answer, which was said on standard error).
    bool runningInstanceReached() const { return runningInstanceReached_; }
    // Where the single-instance server of that name listens (its lock file adds ".lock"): the
    // user's runtime folder, or a per-user name under /tmp, so that two users never meet.
    static QString instancePath(const QString& serverName);

    // Who takes the clients of the single-instance server (the request lines); without one, a
    // client only shows the main window.
    void setClientHandler(std::function<void(QLocalSocket*)> handler);
    // Shows the main window in front (mapped normal, raised, focused), nothing more: a hidden
    // window's tray icon stays.
    void showMainWindow();

    // The synthesiser whose Alt key-ups ExitSequence sends; it must outlive its use here.
    void setInputSynth(InputSynth& input) { input_ = &input; }

    // The main window that ExitSequence destroys and that a second start shows again.
    void setMainWindow(QWidget* window);
    QWidget* mainWindow() const;
    // How the notification-area icon is removed (set by the tray; nothing until then).
    void setTrayIconRemover(std::function<void()> remover);
    void removeTrayIcon();

    // What lets go of every key and button the program's own input holds down (the playing
    // macros), run first whenever the program is about to end.
    void setHeldInputRelease(std::function<void()> release) {
        heldInputRelease_ = std::move(release);
    }
    void releaseHeldInput();

    // Releases held input, seven Alt key-ups, remove the tray icon, destroy the main window.
    // From then on the end of the program is pending. The caller carries on with its own steps
    // afterwards.
    void exitSequence();
    // Releases held input and destroys the main window without the Alt key-ups (the mouse was
    // unplugged). The end of the program is then pending as well.
    void destroyMainWindow();
    bool endPending() const { return endPending_; }
    bool mainWindowDestroyed() const { return mainWindowDestroyed_; }

    // A message box owned by the main window, captioned with the application name, one OK
    // button, returning when it is closed. Returns at once when the end of the program is
    // pending, and closes when the end becomes pending while it is open (a --quit during the
    // start-up's "no mouse" box ends the driver).
    void messageBox(const QString& text);
    // The same box, shown without waiting (no event loop of its own runs inside the caller): for
    // what a switch from D-Bus, the request socket or the mouse causes, which is answered at
    // once. While a box of the same text is open, asking again shows no second one.
    void showNotice(const QString& text);

signals:
    // A second start asked for the main window.
    void showRequested();
    // The main window was destroyed (hidden for good; the owner deletes it after the event loop).
    void mainWindowGone();

private:
    void onSecondInstance();
    static bool askRunningInstanceToShow(const QString& serverPath);
    InputSynth* input_ = nullptr;
    QWidget* mainWindow_ = nullptr;
    std::function<void()> trayIconRemover_;
    std::function<void()> heldInputRelease_;
    std::function<void(QLocalSocket*)> clientHandler_;
    RequestListener listener_;
    std::unique_ptr<QSocketNotifier> notifier_;
    bool runningInstanceReached_ = false;
    void closeMessageBoxes();
    QMessageBox* newMessageBox(const QString& text);
    InstanceLock lock_;
    QList<QPointer<QMessageBox>> openBoxes_;
    bool endPending_ = false;
    bool mainWindowDestroyed_ = false;
};

} // namespace veldran
