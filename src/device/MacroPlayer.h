// Plays macros as synthesised input, each on a thread of its own, so that the mouse's other
// buttons act at once while a macro plays and several macros play side by side. Pauses are timed
// against absolute deadlines taken from the clock, so the time spent synthesising input does not
// add up over a long macro or over many passes. Every key and button a macro presses is noted
// (HeldInput): when the macro ends, is stopped, or the player stops, whatever it still holds is
// released.
//
// A macro plays once, a number of passes, or in a loop (its repeat mode). A press of the button
// of a macro that is playing is ignored when it plays once and stops it otherwise.
#pragma once

#include "config/MacroRecord.h"
#include "device/HeldInput.h"
#include "platform/Clock.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace veldran {

class InputSynth;

class MacroPlayer {
public:
    MacroPlayer(InputSynth& input, Clock& clock);
    ~MacroPlayer(); // stops every macro and waits for its keys to be released
    MacroPlayer(const MacroPlayer&) = delete;
    MacroPlayer& operator=(const MacroPlayer&) = delete;

    // A press of a button that plays macro index with the given repeat mode (kRepeatLoop or a
    // pass count): starts it on a thread of its own when it is not playing; when it is, ignores
    // the press for a macro that plays once and stops it otherwise. A record without events
    // plays nothing. Never waits for a macro.
    void press(int index, const MacroRecord& record, int repeat);

    // Stops every playing macro and returns once each has released what it held.
    void stopAll();
    // Stops the macros that play in a loop (a profile switch); returns at once.
    void stopLoops();
    // Whether some macro plays.
    bool playing() const { return active_.load() > 0; }
    // Waits until no macro plays (or until the limit passes); true when none plays.
    bool waitUntilIdle(std::chrono::milliseconds limit = std::chrono::minutes(10));

    // Told (on the thread that started or ended a macro) that playing() may have changed.
    void setPlayingListener(std::function<void()> listener);

    // Plays passes of the record on the calling thread for owner: each event, then its pause,
    // also after the last one; a pass whose pauses add up to less than kLeastPassTime is
    // followed by a pause of that length when another pass comes. passes 0 plays until stop is
    // set. Ends early, within a moment, once stop is set. What owner still holds at the end is
    // left for the caller to release.
    static void playPasses(HeldInput& held, Clock& clock, int owner, const MacroRecord& record,
                           int passes, WakeFlag& stop);

    // The least time a pass of a repeated macro takes, so that a loop never floods.
    static constexpr std::chrono::milliseconds kLeastPassTime{10};

private:
    struct Playback {
        int index = 0;
        int repeat = 0;
        int owner = 0;
        WakeFlag stop;
        std::atomic<bool> done{false};
        std::thread thread;
    };
    void run(Playback& playback, MacroRecord record);
    void reapFinished();
    void notifyPlaying();

    HeldInput held_;
    Clock& clock_;
    mutable std::mutex mutex_; // guards playbacks_ and nextOwner_
    std::vector<std::unique_ptr<Playback>> playbacks_;
    int nextOwner_ = 1;
    std::atomic<int> active_{0};
    std::mutex idleMutex_;
    std::condition_variable idle_;
    std::mutex listenerMutex_;
    std::function<void()> listener_;
};

} // namespace veldran
