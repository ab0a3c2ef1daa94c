#include "platform/linux/GnomeShellExtension.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QVariantMap>

namespace veldran {

namespace {

// The Shell answers at once; a Shell that hangs must not hang the dialog for long.
constexpr int kShellTimeoutMs = 2000;

QDBusMessage extensionsCall(const char* method) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.gnome.Shell.Extensions"), QStringLiteral("/org/gnome/Shell/Extensions"),
        QStringLiteral("org.gnome.Shell.Extensions"), QString::fromLatin1(method));
    call << QString::fromLatin1(kFocusExtensionUuid);
    return QDBusConnection::sessionBus().call(call, QDBus::Block, kShellTimeoutMs);
}

} // namespace

std::optional<bool> focusExtensionEnabled() {
    const QDBusReply<QVariantMap> info = extensionsCall("GetExtensionInfo");
    if (!info.isValid()) {
        return std::nullopt;
    }
    // GNOME 44 and later say "enabled"; all of them give the state, 1 for a running extension
    // (ENABLED up to 44, ACTIVE since 45). An extension the Shell does not know has no state.
    const QVariantMap& values = info.value();
    if (const auto enabled = values.find(QStringLiteral("enabled")); enabled != values.end()) {
        return enabled->toBool();
    }
    return values.value(QStringLiteral("state")).toDouble() == 1.0;
}

bool enableFocusExtension() {
    const QDBusReply<bool> enabled = extensionsCall("EnableExtension");
    return enabled.isValid() && enabled.value();
}

} // namespace veldran
