// The main window as the configuration and device layers see it: repaints, message boxes and work
// that must run on the user-interface thread, callable from the device event reader's thread.
#pragma once

#include "config/WindowPort.h"

#include <QObject>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace veldran {

class CQEL_GMouseApp;

class QtWindowPort final : public QObject, public WindowPort {
    Q_OBJECT
public:
    // Must be constructed on the user-interface thread.
    explicit QtWindowPort(CQEL_GMouseApp& app, QObject* parent = nullptr);

    // What a repaint does (the main window's immediate repaint); set on the user-interface thread.
    void setRepaintTarget(std::function<void()> repaintNow);

    void repaint() override;
    void showMessage(const std::string& text) override;
    void runOnUiThread(const std::function<void()>& work) override;

    // Called on the user-interface thread when the program ends: work that other threads are
    // waiting for is dropped and they return, so that a worker can be joined without deadlock.
    void shutdown();

private:
    bool onUiThread() const;
    CQEL_GMouseApp& app_;
    std::function<void()> repaintNow_;
    std::mutex mutex_;
    std::condition_variable finished_;
    bool closed_ = false;
};

} // namespace veldran
