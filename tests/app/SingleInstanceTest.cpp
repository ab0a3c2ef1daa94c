#include "app/CQEL_GMouseApp.h"
#include "fakes/FakeInputSynth.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>
#include <QWidget>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace veldran {
namespace {

QString uniqueServerName() {
    return "CQEL_GMouseApp-test-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

TEST(SingleInstance, ASecondStartShowsAndRestoresTheFirstWindowAndEnds) {
    const QString name = uniqueServerName();
    fakes::FakeInputSynth input;
    CQEL_GMouseApp first(input);
    ASSERT_TRUE(first.claimSingleInstance(name));
    QWidget window;
    first.setMainWindow(&window);
    window.showMinimized();
    window.hide(); // hidden to the notification area, after a minimise
    QSignalSpy shown(&first, &CQEL_GMouseApp::showRequested);

    CQEL_GMouseApp second(input);
    EXPECT_FALSE(second.claimSingleInstance(name));

    EXPECT_TRUE(QTest::qWaitFor([&] { return shown.count() == 1; }, 5000));
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.windowState() & Qt::WindowMinimized);
}

TEST(SingleInstance, AServerFileLeftByAKilledInstanceDoesNotStopTheNextStart) {
    const QString name = uniqueServerName();
    fakes::FakeInputSynth input;
    // A killed instance leaves its socket file behind: bound, never unlinked.
    const QByteArray path = QFile::encodeName(CQEL_GMouseApp::instancePath(name));
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.constData(), sizeof(address.sun_path) - 1);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    close(fd);
    ASSERT_TRUE(QFile::exists(QString::fromLocal8Bit(path)));

    CQEL_GMouseApp next(input);
    EXPECT_TRUE(next.claimSingleInstance(name));
    CQEL_GMouseApp third(input);
    EXPECT_FALSE(third.claimSingleInstance(name));
}

// A lock that another user planted in the driver's place neither makes the driver end silently
// nor is used: the driver runs and says why it has no single-instance protection.
TEST(SingleInstance, ALockPlantedByAnotherUserIsRefusedAloud) {
    if (getuid() != 0) {
        GTEST_SKIP() << "needs root to plant a file of another user";
    }
    const QString name = uniqueServerName();
    const QByteArray lock = QFile::encodeName(CQEL_GMouseApp::instancePath(name) + ".lock");
    const int planted = open(lock.constData(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(planted, 0);
    ASSERT_EQ(fchown(planted, 65534, 65534), 0);
    ASSERT_EQ(flock(planted, LOCK_EX), 0); // held, as a running instance would hold it
    fakes::FakeInputSynth input;
    CQEL_GMouseApp app(input);
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(app.claimSingleInstance(name));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "veldran-driver: running without single-instance protection: " + lock.toStdString() +
                  " belongs to uid 65534, not to this user\n");
    close(planted);
    unlink(lock.constData());
}

} // namespace
} // namespace veldran
