#include "control/DriverBusService.h"

#include "DriverBusAdaptor.h" // generated from packaging/dbus/org.veldran.Driver1.xml
#include "config/Profile.h"
#include "control/ProfileController.h"
#include "platform/Log.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QMetaProperty>
#include <cstdio>

namespace veldran {
namespace {

constexpr const char* kInvalidProfileError = "org.veldran.Driver1.Error.InvalidProfile";
constexpr const char* kNotConnectedError = "org.veldran.Driver1.Error.NotConnected";
constexpr const char* kSettingsNotSavedError = "org.veldran.Driver1.Error.SettingsNotSaved";
constexpr const char* kNotReportedError = "org.veldran.Driver1.Error.NotReported";

void say(const char* text) {
    logLine(text);
}

} // namespace

DriverBusService::DriverBusService(ProfileController& controller, DriverWindow window,
                                   QObject* parent)
    : QObject(parent), controller_(controller), window_(std::move(window)) {
    new DriverBusAdaptor(this); // owned by this object; relays ProfileChanged
    controller_.addSwitchListener([this](int profile, SwitchCause) {
        emit ProfileChanged(static_cast<uint>(profile));
        refreshProperties();
    });
}

bool DriverBusService::publish() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        say("no session bus: the D-Bus interface org.veldran.Driver is off");
        return false;
    }
    if (!bus.registerObject(QString::fromLatin1(kBusPath), this, QDBusConnection::ExportAdaptors)) {
        say("the D-Bus object /org/veldran/Driver cannot be registered: the D-Bus interface is "
            "off");
        return false;
    }
    if (!bus.registerService(QString::fromLatin1(kBusName))) {
        // Another driver holds the name (one of another display, say): the name is taken over
        // as soon as that one lets it go.
        say("the D-Bus name org.veldran.Driver is taken: the D-Bus interface is off until it is "
            "free");
        if (nameWatcher_ == nullptr) {
            nameWatcher_ =
                new QDBusServiceWatcher(QString::fromLatin1(kBusName), bus,
                                        QDBusServiceWatcher::WatchForUnregistration, this);
            connect(nameWatcher_, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
                if (!published_ &&
                    QDBusConnection::sessionBus().registerService(QString::fromLatin1(kBusName))) {
                    markPublished();
                }
            });
        }
        return false;
    }
    markPublished();
    return true;
}

void DriverBusService::markPublished() {
    published_ = true;
    told_ = propertyValues();
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

bool DriverBusService::playing() const {
    return window_.playing && window_.playing();
}

QVariantMap DriverBusService::propertyValues() const {
    QVariantMap values;
    const QMetaObject* meta = metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        values.insert(QString::fromLatin1(property.name()), property.read(this));
    }
    return values;
}

void DriverBusService::refreshProperties() {
    if (!published_) {
        return;
    }
    QVariantMap changed;
    const QVariantMap now = propertyValues();
    for (auto value = now.begin(); value != now.end(); ++value) {
        if (told_.value(value.key()) != value.value()) {
            changed.insert(value.key(), value.value());
        }
    }
    if (changed.isEmpty()) {
        return;
    }
    told_ = now;
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(kBusPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << QString::fromLatin1(kBusInterface) << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
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

void DriverBusService::StopMacros() {
    if (window_.stopMacros) {
        window_.stopMacros();
    }
}

void DriverBusService::ActiveWindowChanged(const QString& appId, const QString& wmClass, uint pid) {
    if (!windowReports_ || !windowReports_(appId, wmClass, pid)) {
        refuse(kNotReportedError,
               QStringLiteral("the window in front is not reported over D-Bus in this session"));
    }
}

void DriverBusService::ActiveWindowChanged(const QString& appId, const QString& wmClass, int pid) {
    ActiveWindowChanged(appId, wmClass, pid > 0 ? static_cast<uint>(pid) : 0u);
}

void DriverBusService::replyIfRefused(const SwitchResult& result) {
    if (result.ok()) {
        return;
    }
    const char* error =
        result.outcome == SwitchResult::Outcome::SettingsNotSaved ? kSettingsNotSavedError
        : result.outcome == SwitchResult::Outcome::InvalidProfile ? kInvalidProfileError
                                                                  : kNotConnectedError;
    refuse(error, QString::fromStdString(result.text()));
}

void DriverBusService::refuse(const char* error, const QString& text) {
    if (calledFromDBus()) {
        sendErrorReply(QString::fromLatin1(error), text);
    }
}

} // namespace veldran
