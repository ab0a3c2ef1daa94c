#include "macro/MacroRecorder.h"

namespace veldran {
namespace {

constexpr std::uint32_t kMillisecondsPerDay = 24u * 60 * 60 * 1000;
constexpr std::uint32_t kLongestPause = 0xFFFF;

constexpr std::uint32_t kShift = 0x10;
constexpr std::uint32_t kControl = 0x11;
constexpr std::uint32_t kMenu = 0x12;
constexpr std::uint32_t kLeftShift = 0xA0;
constexpr std::uint32_t kLastSideSpecific = 0xA5;

} // namespace

MacroRecorder::MacroRecorder(MacroTable& table, MacroEditorState& editor, Clock& clock,
                             KeyboardHook* hook)
    : table_(table), editor_(editor), clock_(clock), hook_(hook) {}

MacroRecorder::~MacroRecorder() {
    removeCapture();
}

void MacroRecorder::toggle(int index, const std::string& name) {
    editor_.recording = !editor_.recording;
    if (editor_.recording) {
        start(index, name);
    } else {
        stop();
    }
}

void MacroRecorder::start(int index, const std::string& name) {
    if (hook_ != nullptr && !installed_) {
        // Without capture only the keys that reach the program's own windows are recorded.
        installed_ = hook_->start(
            [this](const KeyMessage& message) { recordKey(message, Source::Capture); });
    }
    // The name list never holds more than the macros, so index names one of them; a bad index
    // records into the first record rather than past the macros.
    target_ = index >= 0 && index < kMaxMacros ? index : 0;
    recorded_ = 0;
    // A recording that ended on a press (at the event limit) must not hide the next recording's
    // first press of the same key.
    lastPair_ = KeyMessage{};
    table_.edit([&](auto& records) {
        MacroRecord& record = records[static_cast<std::size_t>(target_)];
        record = MacroRecord{};
        record.setName(name);
    });
    if (list_.clear) {
        list_.clear();
    }
}

void MacroRecorder::stopRecording() {
    if (editor_.recording) {
        editor_.recording = false;
        stop();
    }
}

bool MacroRecorder::withRecordedEventsCounted(const std::function<bool()>& save) {
    if (!editor_.recording) {
        return save();
    }
    auto setCount = [&](int count) {
        table_.edit([&](auto& records) {
            records[static_cast<std::size_t>(target_)].eventCount =
                static_cast<std::uint8_t>(count);
        });
    };
    setCount(recorded_);
    const bool saved = save();
    setCount(0);
    return saved;
}

void MacroRecorder::stop() {
    table_.edit([&](auto& records) {
        records[static_cast<std::size_t>(target_)].eventCount =
            static_cast<std::uint8_t>(recorded_);
    });
    removeCapture();
    if (list_.stopped) {
        list_.stopped(target_);
    }
}

void MacroRecorder::removeCapture() {
    if (installed_) {
        hook_->stop();
        installed_ = false;
    }
}

MacroRecorder::Step MacroRecorder::recordKey(const KeyMessage& message, Source source) {
    if (!editor_.recording || message.virtualKey >= kFirstUnrecordedCode ||
        !isKeyMessage(message.message) || (source == Source::Window && installed_)) {
        return Step::Continue;
    }
    // The repeats of a held key, and the second copy of a key that arrives both from the capture
    // and as the window's own key message.
    if (message == lastPair_) {
        return Step::Continue;
    }
    if (recorded_ < kMaxRecordedEvents) {
        const std::uint32_t code = message.virtualKey;
        if (code >= kLeftShift && code <= kLastSideSpecific) {
            sideSeen_[code - kLeftShift] = true;
        }
        // The window's own messages name Shift, Ctrl and Alt generically; once the capture has
        // reported a side of one, its generic copy is not recorded.
        const bool shiftSeen = sideSeen_[0] || sideSeen_[1];
        const bool controlSeen = sideSeen_[2] || sideSeen_[3];
        const bool altSeen = sideSeen_[4] || sideSeen_[5];
        if ((code == kMenu && altSeen) || (code == kControl && controlSeen) ||
            (code == kShift && shiftSeen)) {
            return Step::PassOn;
        }
        const auto action = static_cast<std::uint8_t>(
            isKeyDownMessage(message.message) ? MacroAction::Press : MacroAction::Release);
        const std::uint16_t pause = ElapsedSinceLastEvent();
        const int k = recorded_;
        table_.edit([&](auto& records) {
            MacroRecord& record = records[static_cast<std::size_t>(target_)];
            record.setEvent(k, MacroEvent{static_cast<std::uint8_t>(code), action, 0});
            if (k >= 1) {
                MacroEvent previous = record.event(k - 1);
                previous.pause = pause;
                record.setEvent(k - 1, previous);
            }
        });
        if (list_.appendEvent) {
            list_.appendEvent(target_, k);
        }
        recorded_ = k + 1;
    }
    lastPair_ = message;
    if (recorded_ == kMaxRecordedEvents) {
        // The record is full: the recording ends as Stop ends it.
        stopRecording();
    }
    return Step::Continue;
}

std::uint16_t MacroRecorder::ElapsedSinceLastEvent() {
    const std::uint32_t now = clock_.utcMillisecondsOfDay() % kMillisecondsPerDay;
    // Past midnight UTC the time of day starts again from 0.
    const std::uint32_t elapsed =
        now >= previousStamp_ ? now - previousStamp_ : now + kMillisecondsPerDay - previousStamp_;
    previousStamp_ = now;
    return static_cast<std::uint16_t>(elapsed < kLongestPause ? elapsed : kLongestPause);
}

} // namespace veldran
