#include "app/CQEL_GMouseApp.h"
#include "fakes/FakeInputSynth.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>
#include <QWidget>
#include <cstring>
#include <gtest/gtest.h>
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

} // namespace
} // namespace veldran
