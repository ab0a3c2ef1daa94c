#include "platform/linux/LogindPowerNotices.h"

namespace veldran {

namespace {
const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kInterface = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSignal = QStringLiteral("PrepareForSleep");
} // namespace

LogindPowerNotices::LogindPowerNotices(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus)) {}

bool LogindPowerNotices::subscribe(Handler handler) {
    handler_ = std::move(handler);
    if (!bus_.isConnected()) {
        return false;
    }
    if (!subscribed_) {
        subscribed_ =
            bus_.connect(kService, kPath, kInterface, kSignal, this, SLOT(onPrepareForSleep(bool)));
    }
    return subscribed_;
}

void LogindPowerNotices::onPrepareForSleep(bool start) {
    if (handler_) {
        handler_(start ? PowerNotice::Suspending : PowerNotice::Resumed);
    }
}

} // namespace veldran
