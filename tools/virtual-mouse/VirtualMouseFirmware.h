// The firmware state of the virtual mouse: what each button does (its device value by button
// identifier), the wheel mode and the DPI stage, as the feature reports set them. The reset
// report returns it to the mouse's own defaults.
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

private:
    std::map<std::uint8_t, std::uint8_t> buttons_; // identifier -> device value
    std::uint8_t wheelMode_ = 0;
    std::uint8_t dpiLevel_ = 0;
    std::uint8_t dpiValue_ = 0x90;
};

} // namespace veldran::virtualmouse
