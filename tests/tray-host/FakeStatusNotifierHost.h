// A StatusNotifierItem host for tests, on the session bus (a private one under
// dbus-run-session): it owns org.kde.StatusNotifierWatcher, says a host is registered, records
// the items that register, and clicks on them as a panel does, by sending Activate and
// ContextMenu. It runs on a thread and a bus connection of its own, so that the program under
// test (whose tray icon lives on the user-interface thread) talks to it over the bus.
#pragma once

#include <QDBusConnection>
#include <QMutex>
#include <QObject>
#include <QStringList>
#include <QThread>

namespace veldran::testing {

// The watcher object the items register with (exported with all its slots and properties).
class FakeStatusNotifierWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ registeredItems)
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
public:
    QStringList registeredItems() const;
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }

public slots:
    void RegisterStatusNotifierItem(const QString& service);
    void RegisterStatusNotifierHost(const QString& service);

private:
    mutable QMutex mutex_;
    QStringList items_;
};

class FakeStatusNotifierHost {
public:
    FakeStatusNotifierHost();
    ~FakeStatusNotifierHost();
    FakeStatusNotifierHost(const FakeStatusNotifierHost&) = delete;
    FakeStatusNotifierHost& operator=(const FakeStatusNotifierHost&) = delete;

    // The watcher's name is ours on the bus.
    bool ok() const { return ok_; }
    // Bus names of the items registered so far, oldest first.
    QStringList items() const { return watcher_->registeredItems(); }
    // A click of the panel on item: "Activate", "SecondaryActivate" or "ContextMenu" at the
    // screen position (x, y). Sent without waiting for the reply.
    void click(const QString& item, const QString& method, int x, int y);

private:
    QThread thread_;
    FakeStatusNotifierWatcher* watcher_;
    QDBusConnection connection_;
    bool ok_ = false;
};

} // namespace veldran::testing
