// The firmware state of the virtual mouse: what each button does (its device value by button
// identifier), the wheel mode and the DPI stage, as the feature reports set them, and whether
// the driver is waiting to be re-armed. The reset report returns it to the mouse's own defaults.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>

namespace veldran::virtualmouse {

class VirtualMouseFirmware {
public:
    VirtualMouseFirmware();

    // Takes one feature report (byte 0 report id 7, byte 1 command, byte 2 index, byte 3 value).
    // Returns an empty text when the report was taken, else why it was refused.
    std::string receiveFeature(std::span<const std::uint8_t> report);

    // "state buttons 1=01 2=02 ... wheel 0 dpi-level 0 dpi-value 90".
    std::string stateLine() const;

    // The device value of the button with this identifier (-1 for an unknown identifier).
    int deviceValue(std::uint8_t identifier) const;

    // Back to the mouse's own defaults.
    void reset();

    // A press of the button with this identifier: true when it is to send the re-arming report
    // instead of a press report. That is the first press of a button set to device value 31
    // after a button report with device value 31 came in; it ends the wait.
    bool pressRearms(std::uint8_t identifier);
    // The re-arming report went out another way (the rearm command): the wait is over.
    void rearmSent();

private:
    std::map<std::uint8_t, std::uint8_t> buttons_; // identifier -> device value
    std::uint8_t wheelMode_ = 0;
    std::uint8_t dpiLevel_ = 0;
    std::uint8_t dpiValue_ = 0x90;
    bool rearmPending_ = false; // a software button was set since the last re-arming report
};

} // namespace veldran::virtualmouse
