// The application object: the program's folder, the single-instance rule, message boxes that
// know when the end of the program is pending, and ExitSequence.
#pragma once

#include <QObject>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>

class QLocalServer;
class QWidget;

namespace veldran {

class InputSynth;

class CQEL_GMouseApp : public QObject {
    Q_OBJECT
public:
    explicit CQEL_GMouseApp(InputSynth& input, QObject* parent = nullptr);
    ~CQEL_GMouseApp() override;

    // Folder of the running executable (from /proc/self/exe, up to its last separator).
    static std::filesystem::path appFolder();
    // The executable's file name without its extension: the caption of every message box.
    static QString applicationName();

    // Becomes the single instance (true), or asks the running instance to show and restore its
    // main window (false: this process should end without showing anything).
    bool claimSingleInstance(const QString& serverName = QStringLiteral("CQEL_GMouseApp"));

    // The main window that ExitSequence destroys and that a second start shows again.
    void setMainWindow(QWidget* window);
    QWidget* mainWindow() const;
    // How the notification-area icon is removed (set by the tray; nothing until then).
    void setTrayIconRemover(std::function<void()> remover);
    void removeTrayIcon();

    // Seven Alt key-ups, remove the tray icon, destroy the main window. From then on the end of
    // the program is pending. The caller carries on with its own steps afterwards.
    void exitSequence();
    bool endPending() const { return endPending_; }

    // A message box owned by the main window, captioned with the application name, one OK
    // button. Returns at once when the end of the program is pending.
    void messageBox(const QString& text);

signals:
    // A second start asked for the main window.
    void showRequested();

private:
    void onSecondInstance();
    InputSynth& input_;
    QWidget* mainWindow_ = nullptr;
    std::function<void()> trayIconRemover_;
    std::unique_ptr<QLocalServer> server_;
    bool endPending_ = false;
};

} // namespace veldran
