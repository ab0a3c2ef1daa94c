#include "control/ProfileNotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QPointer>
#include <QVariantMap>

namespace veldran {

ProfileNotifier::ProfileNotifier(QDBusConnection bus, Conditions conditions, QObject* parent)
    : QObject(parent), bus_(std::move(bus)), conditions_(std::move(conditions)) {}

void ProfileNotifier::listenTo(ProfileSwitcher& switcher) {
    QPointer<ProfileNotifier> self(this);
    switcher.addSwitchListener([self](int profile, SwitchCause cause) {
        if (self != nullptr) {
            self->switched(profile, cause);
        }
    });
}

void ProfileNotifier::switched(int profile, SwitchCause cause) {
    // The window's own switches are seen in the window.
    if (cause == SwitchCause::WindowApply || cause == SwitchCause::WindowChoice ||
        cause == SwitchCause::Startup || !bus_.isConnected()) {
        return;
    }
    if ((conditions_.windowHidden && !conditions_.windowHidden()) ||
        (conditions_.enabled && !conditions_.enabled())) {
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    call << QStringLiteral("VELDRAN GAMING MOUSE") << shownId_ << QString()
         << tr("Profile %1").arg(profile) << QString() << QStringList() << QVariantMap()
         << kNotificationMilliseconds;
    // Asynchronous: a missing or slow service never holds up the switch.
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* done) {
                const QDBusPendingReply<uint> reply = *done;
                if (reply.isValid()) {
                    shownId_ = reply.value();
                }
                done->deleteLater();
            });
}

} // namespace veldran
