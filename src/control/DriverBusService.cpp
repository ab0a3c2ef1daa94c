#include "control/DriverBusService.h"

#include "config/Profile.h"
#include "control/ProfileController.h"
#include "platform/Log.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <cstdio>

namespace veldran {
namespace {

constexpr const char* kInvalidProfileError = "org.veldran.Driver1.Error.InvalidProfile";
constexpr const char* kNotConnectedError = "org.veldran.Driver1.Error.NotConnected";

void say(const char* text) {
    logLine(text);
}

} // namespace

DriverBusService::DriverBusService(ProfileController& controller, DriverWindow window,
                                   QObject* parent)
    : QObject(parent), controller_(controller), window_(std::move(window)) {
    controller_.addSwitchListener([this](int profile, SwitchCause) {
        const auto number = static_cast<uint>(profile);
        emit ProfileChanged(number);
        propertyChanged("CurrentProfile", number);
    });
}

bool DriverBusService::publish() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        say("no session bus: the D-Bus interface org.veldran.Driver is off");
        return false;
    }
    const auto exported = QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                          QDBusConnection::ExportAllProperties;
    if (!bus.registerObject(QString::fromLatin1(kBusPath), this, exported) ||
        !bus.registerService(QString::fromLatin1(kBusName))) {
        say("the D-Bus name org.veldran.Driver is taken: the D-Bus interface is off");
        bus.unregisterObject(QString::fromLatin1(kBusPath));
        return false;
    }
    published_ = true;
    lastConnected_ = connected();
    lastRecording_ = recording();
    return true;
}

uint DriverBusService::currentProfile() const {
    return static_cast<uint>(controller_.currentProfile());
}

bool DriverBusService::connected() const {
    return window_.connected && window_.connected();
}

bool DriverBusService::recording() const {
    return window_.recording && window_.recording();
}

void DriverBusService::refreshConnected() {
    if (const bool now = connected(); now != lastConnected_) {
        lastConnected_ = now;
        propertyChanged("Connected", now);
    }
}

void DriverBusService::refreshRecording() {
    if (const bool now = recording(); now != lastRecording_) {
        lastRecording_ = now;
        propertyChanged("Recording", now);
    }
}

void DriverBusService::SelectProfile(uint profile) {
    if (!isUserProfile(profile)) {
        refuse(kInvalidProfileError, QStringLiteral("profile %1 is not 1 to 5").arg(profile));
        return;
    }
    replyIfRefused(controller_.selectProfile(static_cast<int>(profile), SwitchCause::DBus));
}

void DriverBusService::NextProfile() {
    replyIfRefused(controller_.selectNextProfile(SwitchCause::DBus));
}

void DriverBusService::Show() {
    if (window_.show) {
        window_.show();
    }
}

void DriverBusService::Hide() {
    if (window_.hide) {
        window_.hide();
    }
}

void DriverBusService::replyIfRefused(bool switched) {
    if (!switched) {
        refuse(kNotConnectedError, QString::fromLatin1(kNotConnectedText));
    }
}

void DriverBusService::refuse(const char* error, const QString& text) {
    if (calledFromDBus()) {
        sendErrorReply(QString::fromLatin1(error), text);
    }
}

void DriverBusService::propertyChanged(const char* name, const QVariant& value) {
    if (!published_) {
        return;
    }
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(kBusPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << QString::fromLatin1(kBusInterface) << QVariantMap{{QString::fromLatin1(name), value}}
           << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

} // namespace veldran
