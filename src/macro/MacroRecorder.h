// Recording a macro from the keyboard: starting and stopping a recording into one macro record,
// with the key capture installed only while it runs, and the recording step of the main
// window's pre-filter, which turns each key message into an event of the record with the pause
// since the previous one. While the capture runs it is the one source of keys (the program's own
// windows see a copy of some of them, in no fixed order with the capture's); without it the
// windows' keys are recorded. Standard library only; the window's controls are reached through
// the callbacks.
#pragma once

#include "config/MacroTable.h"
#include "platform/Clock.h"
#include "platform/KeyboardHook.h"
#include "skin/MacroEditorState.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace veldran {

// Events a recording takes; later keys are ignored.
inline constexpr int kMaxRecordedEvents = 40;
// Key codes from here on are not recorded: 0xF0 to 0xF2 are the macro format's mouse buttons.
inline constexpr std::uint32_t kFirstUnrecordedCode = 0xF0;

class MacroRecorder {
public:
    struct EventList {
        std::function<void()> clear;               // removes every line of the event list
        std::function<void(int, int)> appendEvent; // AppendEventLines(record, event)
        std::function<void(int)> stopped;          // the recording into a record has ended
    };

    // Where a key message comes from.
    enum class Source {
        Capture, // the session-wide key capture
        Window,  // a window of the program
    };

    // What the pre-filter does after the recording step.
    enum class Step {
        Continue, // go on with the Enter/Escape rule
        PassOn,   // hand the message to the window's standard handling at once
    };

    // hook may be null (no capture in this session): then only the keys that reach the
    // program's own windows are recorded. editor holds the recording flag.
    MacroRecorder(MacroTable& table, MacroEditorState& editor, Clock& clock, KeyboardHook* hook);
    // A recording still running ends with the program: the capture is removed, the record's
    // count is not written.
    ~MacroRecorder();
    MacroRecorder(const MacroRecorder&) = delete;
    MacroRecorder& operator=(const MacroRecorder&) = delete;

    void setEventList(EventList list) { list_ = std::move(list); }

    // Starts a recording into record index (0 to 11) named name, or stops the one running.
    // Starting installs the capture, clears the whole record and gives it name; stopping writes
    // the number of recorded events into the record and removes the capture. The 40th event
    // ends the recording as stopping does.
    void toggle(int index, const std::string& name);

    // Ends a running recording as the Record element's second press does; nothing when idle.
    void stopRecording();

    // Runs save with the record being recorded holding the events recorded so far (its count is
    // written only when the recording ends), and returns what save returns.
    bool withRecordedEventsCounted(const std::function<bool()>& save);

    // The recording step for one keyboard message. A window's key is not recorded while the
    // capture runs: the capture reports the same key.
    Step recordKey(const KeyMessage& message, Source source = Source::Capture);

    // Milliseconds since the previous call (the previous recorded event), 0 to 65535, from the
    // UTC time of day; the first call of the program only sets the time stamp.
    std::uint16_t ElapsedSinceLastEvent();

    bool recording() const { return editor_.recording; }
    int targetRecord() const { return target_; }
    int recordedCount() const { return recorded_; }
    bool captureInstalled() const { return installed_; }

private:
    void start(int index, const std::string& name);
    void stop();
    void removeCapture();

    MacroTable& table_;
    MacroEditorState& editor_;
    Clock& clock_;
    KeyboardHook* hook_;
    EventList list_;
    bool installed_ = false; // this recorder started the capture and has not removed it yet

    int target_ = 0;
    int recorded_ = 0;
    // The last key message recorded, to drop its repeats; each recording starts without one.
    KeyMessage lastPair_{};
    // These survive from one recording to the next, for as long as the program runs.
    std::array<bool, 6> sideSeen_{}; // 0xA0 to 0xA5: left/right shift, control, alt
    std::uint32_t previousStamp_ = 0;
};

} // namespace veldran
