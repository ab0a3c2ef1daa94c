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
