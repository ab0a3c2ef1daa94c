// The HID bus of veldran-virtual-mouse: every request is a connection to its Unix socket (the
// interface list, one connection per open handle), and one long-lived connection carries its
// arrival and removal notices. docs/virtual-mouse.md describes the protocol.
#pragma once

#include "formats/VirtualMouseProtocol.h"
#include "platform/HidBus.h"

#include <mutex>
#include <string>

namespace veldran {

class VirtualHidBus final : public HidBus {
public:
    explicit VirtualHidBus(std::string socketPath);
    ~VirtualHidBus() override;
    VirtualHidBus(const VirtualHidBus&) = delete;
    VirtualHidBus& operator=(const VirtualHidBus&) = delete;

    // The virtual mouse's interfaces, one entry per top-level collection; empty when it is not
    // running or is unplugged.
    std::vector<std::optional<HidInterfaceInfo>> enumerate() override;
    std::unique_ptr<HidReader> openForReading(const HidInterfaceInfo& interface) override;
    std::unique_ptr<HidFeatureWriter> openForWriting(const std::string& path) override;
    // Stays the same descriptor for the bus's life: the notice connection while there is one,
    // else a descriptor that never becomes readable.
    int noticeDescriptor() override;
    std::vector<HidNotice> takeNotices() override;

    const std::string& socketPath() const { return socketPath_; }

private:
    void connectNoticesLocked();
    void dropNoticesLocked();

    std::string socketPath_;
    std::mutex mutex_;
    int noticeFd_ = -1;
    bool noticesConnected_ = false;
    virtualmouse::LineSplitter noticeLines_;
};

} // namespace veldran
