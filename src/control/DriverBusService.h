// The driver on the session bus: name org.veldran.Driver, object /org/veldran/Driver,
// interface org.veldran.Driver1 as packaging/dbus/org.veldran.Driver1.xml describes it (the
// adaptor that exports it is generated from that file). A thin door to the profile controller
// and the window: SelectProfile, NextProfile, Show, Hide, StopMacros; the properties
// CurrentProfile, Connected, Recording and Playing with PropertiesChanged; the signal
// ProfileChanged after every switch, whatever caused it; and ActiveWindowChanged, the call-back
// of the desktop's script or extension that reports the window in front to the program rules.
#pragma once

#include "control/DriverWindow.h"
#include "control/ProfileSwitcher.h"

#include <QDBusContext>
#include <QObject>
#include <QVariantMap>
#include <functional>

class QDBusServiceWatcher;

namespace veldran {

class ProfileController;

inline constexpr const char* kBusName = "org.veldran.Driver";
inline constexpr const char* kBusPath = "/org/veldran/Driver";
inline constexpr const char* kBusInterface = "org.veldran.Driver1";

class DriverBusService : public QObject, protected QDBusContext {
    Q_OBJECT
    // Read by the generated adaptor, by these names.
    Q_PROPERTY(uint CurrentProfile READ currentProfile)
    Q_PROPERTY(bool Connected READ connected)
    Q_PROPERTY(bool Recording READ recording)
    Q_PROPERTY(bool Playing READ playing)

public:
    DriverBusService(ProfileController& controller, DriverWindow window, QObject* parent = nullptr);

    // Registers the object and takes the name on the session bus. Without a bus, or when the name
    // is taken, says so once on standard error and returns false: the driver runs on without it,
    // and takes a taken name as soon as its holder lets it go.
    bool publish();

    uint currentProfile() const;
    bool connected() const;
    bool recording() const;
    bool playing() const;

    // Who takes the reports of ActiveWindowChanged (app id, WM_CLASS, pid): false when the
    // window in front is followed through a source of the driver's own.
    using WindowReports = std::function<bool(const QString&, const QString&, uint)>;
    void setWindowReports(WindowReports reports) { windowReports_ = std::move(reports); }

    // Tells the bus which properties of the interface have changed since it was last told, in
    // one PropertiesChanged signal (none when nothing did). Every change of a property reaches
    // the bus through here.
    void refreshProperties();

public slots:
    void SelectProfile(uint profile);
    void NextProfile();
    void Show();
    void Hide();
    void StopMacros();
    void ActiveWindowChanged(const QString& appId, const QString& wmClass, uint pid);
    // The same report from a KWin script, whose callDBus sends every JavaScript number as int32.
    void ActiveWindowChanged(const QString& appId, const QString& wmClass, int pid);

signals:
    void ProfileChanged(uint profile);

private:
    // The interface's properties as they are now, by their D-Bus names.
    QVariantMap propertyValues() const;
    void markPublished();
    void replyIfRefused(const SwitchResult& result);
    void refuse(const char* error, const QString& text);

    ProfileController& controller_;
    DriverWindow window_;
    WindowReports windowReports_;
    bool published_ = false;
    QVariantMap told_;                           // the values the bus was last told
    QDBusServiceWatcher* nameWatcher_ = nullptr; // while another driver holds the name
};

} // namespace veldran
