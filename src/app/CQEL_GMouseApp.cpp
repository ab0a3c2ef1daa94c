#include "app/CQEL_GMouseApp.h"

#include "app/WindowInFront.h"
#include "platform/InputSynth.h"
#include "platform/Log.h"
#include "platform/PrivateFolder.h"
#include "platform/linux/OwnProcess.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMessageBox>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <thread>

namespace veldran {

namespace {

constexpr std::uint8_t kAltKey = 0x12;
constexpr int kAltKeyUps = 7;
constexpr int kConnectTimeoutMs = 300;
constexpr int kConnectAttempts = 10;

} // namespace

QString CQEL_GMouseApp::instancePath(const QString& serverName) {
    return QString::fromLocal8Bit(runtimeFolder().path) + '/' + serverName;
}

CQEL_GMouseApp::CQEL_GMouseApp(InputSynth& input, QObject* parent)
    : QObject(parent), input_(&input) {}

CQEL_GMouseApp::CQEL_GMouseApp(QObject* parent) : QObject(parent) {}

CQEL_GMouseApp::~CQEL_GMouseApp() = default;

std::string CQEL_GMouseApp::executablePath() {
    return veldran::executablePath();
}

std::filesystem::path CQEL_GMouseApp::appFolder() {
    const std::string exe = executablePath();
    return exe.empty() ? std::filesystem::path() : folderOfExecutable(exe);
}

std::filesystem::path CQEL_GMouseApp::folderOfExecutable(const std::string& exe) {
    const std::size_t slash = exe.rfind('/');
    if (slash == std::string::npos) {
        return {};
    }
    // An executable directly in the root folder lives in "/", not in the working directory.
    return std::filesystem::path(slash == 0 ? std::string("/") : exe.substr(0, slash));
}

QString CQEL_GMouseApp::applicationName() {
    return QFileInfo(QString::fromLocal8Bit(executablePath().c_str())).completeBaseName();
}

bool CQEL_GMouseApp::claimSingleInstance(const QString& serverName) {
    // The lock plays the named mutex: the kernel drops it when the holder ends, even by kill -9.
    // A lock or folder that another user could have planted is not trusted: the driver then runs
    // without single-instance protection and says why.
    const RuntimeFolder folder = runtimeFolder();
    const QString base = QString::fromLocal8Bit(folder.path) + '/' + serverName;
    InstanceLock::Outcome outcome = InstanceLock::Outcome::Unprotected;
    std::string problem = folder.problem;
    if (problem.empty()) {
        outcome = lock_.claim(QFile::encodeName(base + ".lock").toStdString());
        problem = lock_.problem();
    }
    if (outcome == InstanceLock::Outcome::Unprotected) {
        logLine("running without single-instance protection: " + problem);
        return true;
    }
    if (outcome == InstanceLock::Outcome::HeldElsewhere) {
        askRunningInstanceToShow(base);
        return false;
    }
    // A server file left by a killed instance would stop listen(): it is ours to remove now.
    QLocalServer::removeServer(base);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (server_->listen(base)) {
        connect(server_.get(), &QLocalServer::newConnection, this,
                &CQEL_GMouseApp::onSecondInstance);
    }
    return true;
}

void CQEL_GMouseApp::askRunningInstanceToShow(const QString& serverPath) {
    // The first instance may still be starting: try for a short while, then end silently.
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        QLocalSocket socket;
        socket.connectToServer(serverPath);
        if (socket.waitForConnected(kConnectTimeoutMs)) {
            socket.write("show\n");
            socket.waitForBytesWritten(kConnectTimeoutMs);
            socket.disconnectFromServer();
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kConnectTimeoutMs / 3));
    }
}

void CQEL_GMouseApp::onSecondInstance() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        if (clientHandler_) {
            clientHandler_(socket);
            continue;
        }
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        showMainWindow();
    }
}

void CQEL_GMouseApp::setClientHandler(std::function<void(QLocalSocket*)> handler) {
    clientHandler_ = std::move(handler);
}

void CQEL_GMouseApp::showMainWindow() {
    if (mainWindow_ != nullptr && !mainWindowDestroyed_) {
        showWindowInFront(*mainWindow_);
    }
    emit showRequested();
}

void CQEL_GMouseApp::setMainWindow(QWidget* window) {
    mainWindow_ = window;
    mainWindowDestroyed_ = false;
}

QWidget* CQEL_GMouseApp::mainWindow() const {
    return mainWindow_;
}

void CQEL_GMouseApp::setTrayIconRemover(std::function<void()> remover) {
    trayIconRemover_ = std::move(remover);
}

void CQEL_GMouseApp::removeTrayIcon() {
    if (trayIconRemover_) {
        trayIconRemover_();
    }
}

void CQEL_GMouseApp::exitSequence() {
    for (int i = 0; input_ != nullptr && i < kAltKeyUps; ++i) {
        input_->keyUp(kAltKey, 0);
    }
    removeTrayIcon();
    destroyMainWindow();
}

void CQEL_GMouseApp::destroyMainWindow() {
    if (mainWindow_ != nullptr && !mainWindowDestroyed_) {
        mainWindow_->hide();
        mainWindowDestroyed_ = true;
        emit mainWindowGone();
    }
    // The process ends as soon as control is back in the event loop (also when that loop has not
    // started yet: the quit waits in the queue for it).
    endPending_ = true;
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                              Qt::QueuedConnection);
}

void CQEL_GMouseApp::messageBox(const QString& text) {
    if (endPending_) {
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, applicationName(), text, QMessageBox::Ok,
                    mainWindowDestroyed_ ? nullptr : mainWindow_);
    box.exec();
}

} // namespace veldran
