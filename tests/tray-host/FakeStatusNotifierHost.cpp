#include "tray-host/FakeStatusNotifierHost.h"

#include <QDBusMessage>
#include <QMutexLocker>

namespace veldran::testing {

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString kConnectionName = QStringLiteral("veldran-fake-status-notifier-host");

} // namespace

QStringList FakeStatusNotifierWatcher::registeredItems() const {
    QMutexLocker lock(&mutex_);
    return items_;
}

void FakeStatusNotifierWatcher::RegisterStatusNotifierItem(const QString& service) {
    QMutexLocker lock(&mutex_);
    items_.append(service);
}

void FakeStatusNotifierWatcher::RegisterStatusNotifierHost(const QString&) {}

FakeStatusNotifierHost::FakeStatusNotifierHost()
    : watcher_(new FakeStatusNotifierWatcher),
      connection_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, kConnectionName)) {
    // The watcher answers on its own thread: the program under test asks it with blocking calls
    // from its user-interface thread.
    watcher_->moveToThread(&thread_);
    QObject::connect(&thread_, &QThread::finished, watcher_, &QObject::deleteLater);
    thread_.start();
    // Exported from the watcher's own thread, where the bus delivers its calls.
    QMetaObject::invokeMethod(
        watcher_,
        [this] {
            ok_ = connection_.isConnected() &&
                  connection_.registerObject(kWatcherPath, watcher_,
                                             QDBusConnection::ExportAllSlots |
                                                 QDBusConnection::ExportAllProperties) &&
                  connection_.registerService(kWatcherService);
        },
        Qt::BlockingQueuedConnection);
}

FakeStatusNotifierHost::~FakeStatusNotifierHost() {
    connection_.unregisterService(kWatcherService);
    connection_.unregisterObject(kWatcherPath);
    QDBusConnection::disconnectFromBus(kConnectionName);
    thread_.quit();
    thread_.wait();
}

void FakeStatusNotifierHost::click(const QString& item, const QString& method, int x, int y) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(item, QStringLiteral("/StatusNotifierItem"),
                                       QStringLiteral("org.kde.StatusNotifierItem"), method);
    message << x << y;
    connection_.send(message);
}

} // namespace veldran::testing
