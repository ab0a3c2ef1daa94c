#include "platform/linux/LinuxShell.h"

#include "platform/Log.h"
#include "platform/linux/DetachedProcess.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace veldran {
namespace {

constexpr int kDbusTimeoutMs = 3000;
constexpr int kLockCommandTimeoutMs = 5000;

std::string pathVariable() {
    const char* path = std::getenv("PATH");
    return path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
}

bool isExecutable(const std::string& path) {
    return access(path.c_str(), X_OK) == 0;
}

bool callSucceeded(const QDBusMessage& reply) {
    return reply.type() == QDBusMessage::ReplyMessage;
}

// The screen locker of the desktop session (GNOME, KDE, Xfce and others serve this name).
bool lockThroughScreenSaver() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return false;
    }
    const auto call = QDBusMessage::createMethodCall("org.freedesktop.ScreenSaver",
                                                     "/org/freedesktop/ScreenSaver",
                                                     "org.freedesktop.ScreenSaver", "Lock");
    return callSucceeded(bus.call(call, QDBus::Block, kDbusTimeoutMs));
}

// logind asks the session's locker to lock; the session is this process's own.
bool lockThroughLogind() {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        return false;
    }
    const char* sessionId = std::getenv("XDG_SESSION_ID");
    if (sessionId != nullptr && *sessionId != '\0') {
        auto call =
            QDBusMessage::createMethodCall("org.freedesktop.login1", "/org/freedesktop/login1",
                                           "org.freedesktop.login1.Manager", "LockSession");
        call << QString::fromUtf8(sessionId);
        return callSucceeded(bus.call(call, QDBus::Block, kDbusTimeoutMs));
    }
    const auto call = QDBusMessage::createMethodCall("org.freedesktop.login1",
                                                     "/org/freedesktop/login1/session/auto",
                                                     "org.freedesktop.login1.Session", "Lock");
    return callSucceeded(bus.call(call, QDBus::Block, kDbusTimeoutMs));
}

} // namespace

bool LinuxShell::openComputerRoot() {
    return startFirst(Root, fileManagerCandidates(), "a file manager");
}

bool LinuxShell::startCalculator() {
    return startFirst(Calculator, calculatorCandidates(), "a calculator");
}

bool LinuxShell::startTerminal() {
    return startFirst(Terminal, terminalCandidates(), "a terminal");
}

bool LinuxShell::lockSession() {
    if (lockThroughScreenSaver() || lockThroughLogind()) {
        return true;
    }
    std::string error = "no screen saver service or logind answered";
    for (const auto& candidate : lockCommandCandidates()) {
        const auto command = chooseProgram({&candidate, 1}, pathVariable(), isExecutable);
        if (command && runAndWait(*command, kLockCommandTimeoutMs, error)) {
            return true;
        }
    }
    reportOnce(Lock, "cannot lock the session: " + error);
    return false;
}

bool LinuxShell::startFirst(Action action, std::span<const ProgramCandidate> candidates,
                            const char* what) {
    const auto command = chooseProgram(candidates, pathVariable(), isExecutable);
    if (!command) {
        std::string names;
        for (const auto& candidate : candidates) {
            names += names.empty() ? "" : ", ";
            names += candidate.program;
        }
        reportOnce(action, std::string("cannot start ") + what + ": none of " + names +
                               " was found on PATH");
        return false;
    }
    std::string error;
    if (!startDetached(*command, error)) {
        reportOnce(action, std::string("cannot start ") + what + ": " + error);
        return false;
    }
    return true;
}

void LinuxShell::reportOnce(Action action, const std::string& message) {
    if (!reported_[action].exchange(true)) {
        logLine(message);
    }
}

} // namespace veldran
