#include "platform/linux/GnomeShellExtension.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QVariantMap>
#include <charconv>

namespace veldran {

namespace {

// The Shell answers at once; a Shell that hangs must not hang the dialog for long.
constexpr int kShellTimeoutMs = 2000;

QDBusMessage extensionsCall(const char* method) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.gnome.Shell.Extensions"), QStringLiteral("/org/gnome/Shell/Extensions"),
        QStringLiteral("org.gnome.Shell.Extensions"), QString::fromLatin1(method));
    call << QString::fromStdString(focusExtensionUuid());
    return QDBusConnection::sessionBus().call(call, QDBus::Block, kShellTimeoutMs);
}

} // namespace

const char* focusExtensionUuidFor(std::string_view shellVersion) {
    int major = 0;
    const auto end =
        std::from_chars(shellVersion.data(), shellVersion.data() + shellVersion.size(), major);
    const bool read = end.ec == std::errc() && major > 0;
    return read && major < 45 ? kLegacyFocusExtensionUuid : kFocusExtensionUuid;
}

std::string focusExtensionUuid() {
    QDBusMessage get = QDBusMessage::createMethodCall(
        QStringLiteral("org.gnome.Shell"), QStringLiteral("/org/gnome/Shell"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QStringLiteral("org.gnome.Shell") << QStringLiteral("ShellVersion");
    const QDBusReply<QDBusVariant> version =
        QDBusConnection::sessionBus().call(get, QDBus::Block, kShellTimeoutMs);
    return focusExtensionUuidFor(
        version.isValid() ? version.value().variant().toString().toStdString() : std::string());
}

std::optional<FocusExtensionState> focusExtensionState() {
    const QDBusReply<QVariantMap> info = extensionsCall("GetExtensionInfo");
    if (!info.isValid()) {
        return std::nullopt;
    }
    // The state: 1 running (ENABLED up to GNOME 44, ACTIVE since 45), 2 disabled (INACTIVE), 6
    // initialised but never enabled; 3 error, 4 out of date for this Shell. An extension the
    // Shell does not know has no state at all.
    const QVariantMap& values = info.value();
    const auto state = values.find(QStringLiteral("state"));
    if (state == values.end()) {
        return FocusExtensionState::Unusable;
    }
    switch (static_cast<int>(state->toDouble())) {
    case 1:
        return FocusExtensionState::Running;
    case 2:
    case 6:
        return FocusExtensionState::Off;
    default:
        return FocusExtensionState::Unusable;
    }
}

bool enableFocusExtension() {
    const QDBusReply<bool> enabled = extensionsCall("EnableExtension");
    return enabled.isValid() && enabled.value();
}

} // namespace veldran
