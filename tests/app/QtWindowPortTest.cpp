#include "app/QtWindowPort.h"

#include "app/CQEL_GMouseApp.h"
#include "fakes/FakeInputSynth.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace veldran {
namespace {

TEST(QtWindowPort, RunsWorkOnTheUserInterfaceThreadAndWaitsForIt) {
    fakes::FakeInputSynth input;
    CQEL_GMouseApp app(input);
    QtWindowPort port(app);
    int repaints = 0;
    port.setRepaintTarget([&] { ++repaints; });

    std::atomic<bool> ranOnUiThread{false};
    std::atomic<bool> returned{false};
    QThread* uiThread = QThread::currentThread();
    std::thread worker([&] {
        port.runOnUiThread([&] { ranOnUiThread = QThread::currentThread() == uiThread; });
        returned = true;
        port.repaint();
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return returned.load(); }, 5000));
    worker.join();
    EXPECT_TRUE(ranOnUiThread);
    EXPECT_TRUE(QTest::qWaitFor([&] { return repaints == 1; }, 5000));

    port.repaint(); // on the user-interface thread it repaints at once
    EXPECT_EQ(repaints, 2);
}

TEST(QtWindowPort, ShutdownReleasesAWaitingWorkerWithoutRunningItsWork) {
    fakes::FakeInputSynth input;
    CQEL_GMouseApp app(input);
    QtWindowPort port(app);
    std::atomic<bool> ran{false};
    std::atomic<bool> waiting{false};
    std::thread worker([&] {
        waiting = true;
        port.runOnUiThread([&] { ran = true; });
    });
    while (!waiting) {
        std::this_thread::yield();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    port.shutdown(); // the event loop never ran the queued work
    worker.join();
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
    port.runOnUiThread([&] { ran = true; }); // the user-interface thread itself still runs work
    EXPECT_TRUE(ran);
}

TEST(CQEL_GMouseApp, ExitSequenceSendsSevenAltKeyUpsAndMakesTheEndPending) {
    fakes::FakeInputSynth input;
    CQEL_GMouseApp app(input);
    QWidget window;
    window.show();
    app.setMainWindow(&window);
    int removals = 0;
    app.setTrayIconRemover([&] { ++removals; });

    app.exitSequence();
    EXPECT_EQ(input.events(), std::vector<std::string>(7, "up 18 0"));
    EXPECT_EQ(removals, 1);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(app.endPending());
    app.messageBox("returns at once once the end is pending");
    QCoreApplication::removePostedEvents(QCoreApplication::instance());
}

TEST(CQEL_GMouseApp, AppFolderIsTheExecutablesFolder) {
    const std::filesystem::path folder = CQEL_GMouseApp::appFolder();
    EXPECT_TRUE(std::filesystem::exists(folder / "ui_tests"));
    EXPECT_EQ(CQEL_GMouseApp::applicationName(), "ui_tests");
}

} // namespace
} // namespace veldran
