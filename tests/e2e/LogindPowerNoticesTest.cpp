// logind's PrepareForSleep, sent by a stand-in for logind on the private session bus that the
// end-to-end run provides.
#include "platform/linux/LogindPowerNotices.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace veldran {
namespace {

TEST(LogindPowerNotices, EverySleepSignalIsANotice) {
    QDBusConnection listener = QDBusConnection::sessionBus();
    if (!listener.isConnected()) {
        GTEST_SKIP() << "no session bus";
    }
    QDBusConnection logind =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("logind"));
    ASSERT_TRUE(logind.registerService(QStringLiteral("org.freedesktop.login1")));

    LogindPowerNotices notices(listener);
    int count = 0;
    std::vector<PowerNotice> kinds;
    ASSERT_TRUE(notices.subscribe([&](PowerNotice notice) {
        ++count;
        kinds.push_back(notice);
    }));

    for (bool start : {true, false}) {
        QDBusMessage signal = QDBusMessage::createSignal(
            QStringLiteral("/org/freedesktop/login1"),
            QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"));
        signal << start;
        ASSERT_TRUE(logind.send(signal));
    }
    // The same signal from another sender is not logind's.
    QDBusMessage stray = QDBusMessage::createSignal(
        QStringLiteral("/org/freedesktop/login1"), QStringLiteral("org.freedesktop.login1.Manager"),
        QStringLiteral("PrepareForSleep"));
    stray << true;
    QDBusConnection other =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("other"));
    other.send(stray);

    EXPECT_TRUE(QTest::qWaitFor([&] { return count >= 2; }, 5000));
    QTest::qWait(200);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(kinds, (std::vector<PowerNotice>{PowerNotice::Suspending, PowerNotice::Resumed}));
    QDBusConnection::disconnectFromBus(QStringLiteral("logind"));
    QDBusConnection::disconnectFromBus(QStringLiteral("other"));
}

TEST(LogindPowerNotices, WithoutABusThereAreNoNotices) {
    LogindPowerNotices notices(QDBusConnection(QStringLiteral("nowhere")));
    EXPECT_FALSE(notices.subscribe([](PowerNotice) {}));
}

} // namespace
} // namespace veldran
