#include "macro/MacroEventEdits.h"

#include "formats/LenientNumber.h"

#include <algorithm>

namespace veldran {

void insertMacroEvent(MacroRecord& record, int c, std::uint8_t code, std::uint8_t action) {
    const int n = record.usableEventCount();
    const int grown = std::min(n + 1, kMaxMacroEvents);
    record.eventCount = static_cast<std::uint8_t>(grown);
    c = std::clamp(c, 0, grown - 1);
    for (int k = grown - 1; k > c; --k) {
        record.setEvent(k, record.event(k - 1));
    }
    record.setEvent(c, MacroEvent{code, action, 0});
}

void deleteMacroEvent(MacroRecord& record, int c) {
    const int n = record.usableEventCount();
    const int shrunk = std::max(n - 1, 0);
    record.eventCount = static_cast<std::uint8_t>(shrunk);
    for (int k = std::max(c, 0); k < shrunk; ++k) {
        record.setEvent(k, record.event(k + 1));
    }
}

std::int32_t pauseValueOf(const QString& lineText) {
    const qsizetype ms = lineText.indexOf(QStringLiteral("ms"));
    const QString number = ms < 0 ? lineText : lineText.left(ms);
    return parseLenient(number.toStdString());
}

std::optional<std::uint16_t> typedPause(const QString& text) {
    QString number = text.trimmed();
    if (number.endsWith(QStringLiteral("ms"))) {
        number = number.chopped(2).trimmed();
    }
    if (number.isEmpty() || number.size() > 5) {
        return std::nullopt;
    }
    for (const QChar c : number) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return std::nullopt;
        }
    }
    const int value = number.toInt();
    if (value > 0xFFFF) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

void storeMacroPause(MacroRecord& record, int k, std::int32_t value) {
    if (k < 0 || k >= kMacroEventCapacity) {
        return;
    }
    MacroEvent event = record.event(k);
    const auto low = static_cast<std::uint8_t>((value % 256) & 0xFF);
    const auto high = static_cast<std::uint8_t>((value / 256) & 0xFF);
    event.pause = static_cast<std::uint16_t>(low | (high << 8));
    record.setEvent(k, event);
}

} // namespace veldran
