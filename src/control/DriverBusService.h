// The driver on the session bus: name org.veldran.Driver, object /org/veldran/Driver,
// interface org.veldran.Driver1. A thin door to the profile controller and the window:
// SelectProfile, NextProfile, Show, Hide; the properties CurrentProfile, Connected and Recording
// with PropertiesChanged; the signal ProfileChanged after every switch, whatever caused it.
#pragma once

#include "control/DriverWindow.h"

#include <QDBusContext>
#include <QObject>
#include <QVariant>
#include <functional>

namespace veldran {

class ProfileController;

inline constexpr const char* kBusName = "org.veldran.Driver";
inline constexpr const char* kBusPath = "/org/veldran/Driver";
inline constexpr const char* kBusInterface = "org.veldran.Driver1";

class DriverBusService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.veldran.Driver1")
    Q_PROPERTY(uint CurrentProfile READ currentProfile)
    Q_PROPERTY(bool Connected READ connected)
    Q_PROPERTY(bool Recording READ recording)

public:
    DriverBusService(ProfileController& controller, DriverWindow window, QObject* parent = nullptr);

    // Registers the object and takes the name on the session bus. Without a bus, or when the name
    // is taken, says so once on standard error and returns false: the driver runs on without it.
    bool publish();

    uint currentProfile() const;
    bool connected() const;
    bool recording() const;

    // Tell the bus that Connected or Recording may have changed (sent only when it did).
    void refreshConnected();
    void refreshRecording();

public slots:
    void SelectProfile(uint profile);
    void NextProfile();
    void Show();
    void Hide();

signals:
    void ProfileChanged(uint profile);

private:
    void propertyChanged(const char* name, const QVariant& value);
    void replyIfRefused(bool switched);
    void refuse(const char* error, const QString& text);

    ProfileController& controller_;
    DriverWindow window_;
    bool published_ = false;
    bool lastConnected_ = false;
    bool lastRecording_ = false;
};

} // namespace veldran
