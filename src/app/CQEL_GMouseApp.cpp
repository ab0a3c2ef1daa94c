#include "app/CQEL_GMouseApp.h"

#include "app/WindowInFront.h"
#include "platform/InputSynth.h"
#include "platform/Log.h"
#include "platform/PrivateFolder.h"
#include "platform/linux/OwnProcess.h"
#include "platform/linux/UniqueFd.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocalSocket>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <thread>
#include <utility>

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
        // Nothing is shown when the running driver cannot be reached: at least it is said.
        runningInstanceReached_ = askRunningInstanceToShow(base);
        if (!runningInstanceReached_) {
            logLine("a driver is running already, but it does not answer at " +
                    QFile::encodeName(base).toStdString());
        }
        return false;
    }
    // A socket file left by a killed instance is removed by the listen. Without the socket the
    // driver still runs as the single instance, and says that it cannot be reached.
    const std::string listenProblem = listener_.listen(QFile::encodeName(base).toStdString());
    if (!listenProblem.empty()) {
        logLine(listenProblem + ": the command line and a second start cannot reach this driver");
        return true;
    }
    notifier_ = std::make_unique<QSocketNotifier>(listener_.descriptor(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &CQEL_GMouseApp::onSecondInstance);
    return true;
}

bool CQEL_GMouseApp::askRunningInstanceToShow(const QString& serverPath) {
    // The first instance may still be starting: try for a short while.
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        QLocalSocket socket;
        socket.connectToServer(serverPath);
        if (socket.waitForConnected(kConnectTimeoutMs)) {
            socket.write("show\n");
            socket.waitForBytesWritten(kConnectTimeoutMs);
            socket.disconnectFromServer();
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kConnectTimeoutMs / 3));
    }
    return false;
}

void CQEL_GMouseApp::onSecondInstance() {
    for (int fd = listener_.accept(); fd >= 0; fd = listener_.accept()) {
        UniqueFd connection(fd);
        auto* socket = new QLocalSocket(this);
        if (!socket->setSocketDescriptor(connection.get())) {
            delete socket;
            continue;
        }
        connection.release(); // the socket owns it now
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
    releaseHeldInput();
    for (int i = 0; input_ != nullptr && i < kAltKeyUps; ++i) {
        input_->keyUp(kAltKey, 0);
    }
    removeTrayIcon();
    destroyMainWindow();
}

void CQEL_GMouseApp::releaseHeldInput() {
    if (heldInputRelease_) {
        heldInputRelease_();
    }
}

void CQEL_GMouseApp::destroyMainWindow() {
    releaseHeldInput();
    if (mainWindow_ != nullptr && !mainWindowDestroyed_) {
        mainWindow_->hide();
        mainWindowDestroyed_ = true;
        emit mainWindowGone();
    }
    // The process ends as soon as control is back in the event loop (also when that loop has not
    // started yet: the quit waits in the queue for it). A box that is open closes now, as one
    // asked for from now on does at once.
    endPending_ = true;
    closeMessageBoxes();
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                              Qt::QueuedConnection);
}

QMessageBox* CQEL_GMouseApp::newMessageBox(const QString& text) {
    auto* box = new QMessageBox(QMessageBox::NoIcon, applicationName(), text, QMessageBox::Ok,
                                mainWindowDestroyed_ ? nullptr : mainWindow_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    openBoxes_.removeIf([](const QPointer<QMessageBox>& gone) { return gone.isNull(); });
    openBoxes_.append(box);
    return box;
}

void CQEL_GMouseApp::messageBox(const QString& text) {
    if (endPending_) {
        return;
    }
    QPointer<QMessageBox> box = newMessageBox(text);
    // Closed by the end becoming pending, the box is deleted before exec returns.
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    box->exec();
    delete box.data();
}

void CQEL_GMouseApp::showNotice(const QString& text) {
    if (endPending_) {
        return;
    }
    for (const QPointer<QMessageBox>& open : std::as_const(openBoxes_)) {
        if (open != nullptr && open->isVisible() && open->text() == text) {
            return;
        }
    }
    QMessageBox* box = newMessageBox(text);
    // Modal as the waiting box is (the window takes no input meanwhile), without a loop of its
    // own: the caller goes on and the event loop serves everything else.
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
}

void CQEL_GMouseApp::closeMessageBoxes() {
    const QList<QPointer<QMessageBox>> boxes = std::exchange(openBoxes_, {});
    for (const QPointer<QMessageBox>& box : boxes) {
        if (box != nullptr) {
            box->done(QMessageBox::Ok);
        }
    }
}

} // namespace veldran
