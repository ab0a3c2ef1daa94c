#include "platform/linux/KWinFocusScript.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <filesystem>

namespace veldran {

namespace {

constexpr int kKWinTimeoutMs = 3000;

QDBusMessage scriptingCall(const char* method, const QVariantList& arguments = {}) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.KWin"), QStringLiteral("/Scripting"),
        QStringLiteral("org.kde.kwin.Scripting"), QString::fromLatin1(method));
    call.setArguments(arguments);
    return QDBusConnection::sessionBus().call(call, QDBus::Block, kKWinTimeoutMs);
}

} // namespace

bool kwinIsRunning() {
    const QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    return bus != nullptr && bus->isServiceRegistered(QStringLiteral("org.kde.KWin")).value();
}

KWinFocusScript::KWinFocusScript(const std::string& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return;
    }
    const QString name = QString::fromLatin1(kKWinScriptName);
    const QDBusReply<bool> stale = scriptingCall("isScriptLoaded", {name});
    if (stale.isValid() && stale.value()) {
        scriptingCall("unloadScript", {name});
    }
    const QDBusReply<int> id = scriptingCall("loadScript", {QString::fromStdString(file), name});
    if (!id.isValid() || id.value() < 0) {
        return;
    }
    loaded_ = scriptingCall("start").type() == QDBusMessage::ReplyMessage;
}

KWinFocusScript::~KWinFocusScript() {
    if (loaded_) {
        scriptingCall("unloadScript", {QString::fromLatin1(kKWinScriptName)});
    }
}

} // namespace veldran
