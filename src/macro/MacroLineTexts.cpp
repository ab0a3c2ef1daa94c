#include "macro/MacroLineTexts.h"

#include <array>

namespace veldran {

namespace {

constexpr std::uint8_t kFirstLetter = 0x41; // A
constexpr std::uint8_t kLastLetter = 0x5A;  // Z
constexpr std::uint8_t kFirstDigit = 0x30;
constexpr std::uint8_t kLastDigit = 0x39;
constexpr std::uint8_t kFirstNumpad = 0x60;
constexpr std::uint8_t kLastNumpad = 0x69;
constexpr std::uint8_t kFirstFunctionKey = 0x70; // F1
constexpr std::uint8_t kLastFunctionKey = 0x87;  // F24

// Names of the remaining codes; nullptr where the code has no key.
constexpr std::array<const char*, 256> buildNames() {
    std::array<const char*, 256> n{};
    n[0x08] = "BACK";
    n[0x09] = "TAB";
    n[0x0C] = "CLEAR";
    n[0x0D] = "RETURN";
    n[0x10] = "SHIFT";
    n[0x11] = "CONTROL";
    n[0x12] = "MENU";
    n[0x13] = "PAUSE";
    n[0x14] = "CAPITAL";
    n[0x15] = "KANA";
    n[0x17] = "JUNJA";
    n[0x18] = "FINAL";
    n[0x19] = "HANJA";
    n[0x1B] = "ESCAPE";
    n[0x1C] = "CONVERT";
    n[0x1D] = "NONCONVERT";
    n[0x1E] = "ACCEPT";
    n[0x1F] = "MODECHANGE";
    n[0x20] = "SPACE";
    n[0x21] = "PRIOR";
    n[0x22] = "NEXT";
    n[0x23] = "END";
    n[0x24] = "HOME";
    n[0x25] = "LEFT";
    n[0x26] = "UP";
    n[0x27] = "RIGHT";
    n[0x28] = "DOWN";
    n[0x29] = "SELECT";
    n[0x2A] = "PRINT";
    n[0x2B] = "EXECUTE";
    n[0x2C] = "SNAPSHOT";
    n[0x2D] = "INSERT";
    n[0x2E] = "DELETE";
    n[0x2F] = "HELP";
    n[0x5B] = "LWIN";
    n[0x5C] = "RWIN";
    n[0x5D] = "APPS";
    n[0x5F] = "SLEEP";
    n[0x6A] = "MULTIPLY";
    n[0x6B] = "ADD";
    n[0x6C] = "SEPARATOR";
    n[0x6D] = "SUBTRACT";
    n[0x6E] = "DECIMAL";
    n[0x6F] = "DIVIDE";
    n[0x90] = "NUMLOCK";
    n[0x91] = "SCROLL";
    n[0xA0] = "LSHIFT";
    n[0xA1] = "RSHIFT";
    n[0xA2] = "LCONTROL";
    n[0xA3] = "RCONTROL";
    n[0xA4] = "LMENU";
    n[0xA5] = "RMENU";
    n[0xBA] = ";:";
    n[0xBB] = "+";
    n[0xBC] = ",";
    n[0xBD] = "-";
    n[0xBE] = ".";
    n[0xBF] = "/?";
    n[0xC0] = "`~";
    n[0xDB] = "[{";
    n[0xDC] = "\\|";
    n[0xDD] = "]}";
    n[0xDE] = " ' ";
    n[0xDF] = "OEM_8";
    n[0xE2] = "OEM_102";
    n[0xF0] = "Left_Key";
    n[0xF1] = "Right_Key";
    n[0xF2] = "Middle_Key";
    return n;
}

constexpr std::array<const char*, 256> kNames = buildNames();

} // namespace

QString KeyName(std::uint8_t code) {
    if (code >= kFirstLetter && code <= kLastLetter) {
        return QString(QChar(code));
    }
    if (code >= kFirstDigit && code <= kLastDigit) {
        return QString::number(code - kFirstDigit);
    }
    if (code >= kFirstNumpad && code <= kLastNumpad) {
        return QStringLiteral("NUMPAD") + QString::number(code - kFirstNumpad);
    }
    if (code >= kFirstFunctionKey && code <= kLastFunctionKey) {
        return QStringLiteral("F") + QString::number(code - kFirstFunctionKey + 1);
    }
    if (const char* name = kNames[code]; name != nullptr) {
        return QString::fromLatin1(name);
    }
    return QStringLiteral("Not Available");
}

QString EventLineText(const MacroEvent& event) {
    switch (event.action) {
    case static_cast<std::uint8_t>(MacroAction::Press):
        return QStringLiteral("[Down]") + KeyName(event.code);
    case static_cast<std::uint8_t>(MacroAction::Release):
        return QStringLiteral("[Up  ]") + KeyName(event.code);
    default:
        return KeyName(event.code);
    }
}

QString DelayLineText(std::uint16_t pause) {
    return QStringLiteral("  ") + QString::number(pause) + QStringLiteral("ms");
}

QStringList EventLines(const MacroRecord& record, int k) {
    QStringList lines;
    if (k < 0 || k >= kMacroEventCapacity) {
        return lines;
    }
    if (k > 0) {
        lines.append(DelayLineText(record.event(k - 1).pause));
    }
    lines.append(EventLineText(record.event(k)));
    return lines;
}

} // namespace veldran
