// A notification area for tests under a bare X server: owns the _NET_SYSTEM_TRAY_S0 selection,
// docks the icons that ask for it into its own window at a known place, and clicks on them
// through XTest.
#pragma once

#include <QPoint>
#include <atomic>
#include <thread>

namespace veldran::testing {

class FakeSystemTray {
public:
    FakeSystemTray();
    ~FakeSystemTray();
    FakeSystemTray(const FakeSystemTray&) = delete;
    FakeSystemTray& operator=(const FakeSystemTray&) = delete;

    // The selection is ours and the tray window exists.
    bool ok() const { return ok_; }
    // Dock requests served so far (an icon may ask more than once).
    int dockedCount() const { return docked_.load(); }
    // Screen position of the middle of the docked icon.
    QPoint iconCenter() const;

    // Presses and releases an X button (1 left, 3 right) times times at pos through XTest.
    static void click(QPoint pos, unsigned button, int times = 1);
    // Presses (down) or releases an X button at pos.
    static void button(QPoint pos, unsigned button, bool down);

private:
    void run();

    void* display_ = nullptr; // Display*, used by the event thread only once it runs
    unsigned long trayWindow_ = 0;
    unsigned long opcodeAtom_ = 0;
    bool ok_ = false;
    std::atomic<int> docked_{0};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace veldran::testing
