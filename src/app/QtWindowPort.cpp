#include "app/QtWindowPort.h"

#include "app/CQEL_GMouseApp.h"
#include "app/CoreMessages.h"

#include <QString>
#include <QThread>
#include <memory>

namespace veldran {

QtWindowPort::QtWindowPort(CQEL_GMouseApp& app, QObject* parent) : QObject(parent), app_(app) {}

void QtWindowPort::setRepaintTarget(std::function<void()> repaintNow) {
    repaintNow_ = std::move(repaintNow);
}

bool QtWindowPort::onUiThread() const {
    return QThread::currentThread() == thread();
}

void QtWindowPort::repaint() {
    if (onUiThread()) {
        if (repaintNow_) {
            repaintNow_();
        }
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (repaintNow_) {
                repaintNow_();
            }
        },
        Qt::QueuedConnection);
}

void QtWindowPort::showMessage(const std::string& text) {
    runOnUiThread([&] { app_.showNotice(translatedCoreMessage(text)); });
}

void QtWindowPort::runOnUiThread(const std::function<void()>& work) {
    if (onUiThread()) {
        work();
        return;
    }
    // The caller waits until the user-interface thread has run the work or the program ends.
    // The queued call looks at the work only while the caller still waits for it.
    auto done = std::make_shared<bool>(false);
    {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return;
        }
    }
    QMetaObject::invokeMethod(
        this,
        [this, done, &work] {
            {
                std::lock_guard lock(mutex_);
                if (closed_) {
                    return;
                }
            }
            work();
            std::lock_guard lock(mutex_);
            *done = true;
            finished_.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [&] { return *done || closed_; });
}

void QtWindowPort::shutdown() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    finished_.notify_all();
}

} // namespace veldran
