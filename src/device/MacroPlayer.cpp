#include "device/MacroPlayer.h"

#include "config/MacroRepeat.h"

#include <algorithm>

namespace veldran {

MacroPlayer::MacroPlayer(InputSynth& input, Clock& clock) : held_(input), clock_(clock) {}

MacroPlayer::~MacroPlayer() {
    stopAll();
}

void MacroPlayer::press(int index, const MacroRecord& record, int repeat) {
    std::lock_guard lock(mutex_);
    reapFinished();
    for (const auto& playback : playbacks_) {
        if (playback->index == index && !playback->done.load()) {
            if (playback->repeat != kRepeatOnce) {
                playback->stop.set();
            }
            return;
        }
    }
    if (record.usableEventCount() == 0) {
        return;
    }
    auto playback = std::make_unique<Playback>();
    playback->index = index;
    playback->repeat = isMacroRepeat(repeat) ? repeat : kRepeatOnce;
    playback->owner = nextOwner_++;
    Playback& started = *playback;
    active_.fetch_add(1);
    notifyPlaying();
    started.thread = std::thread([this, &started, record] { run(started, record); });
    playbacks_.push_back(std::move(playback));
}

void MacroPlayer::run(Playback& playback, MacroRecord record) {
    playPasses(held_, clock_, playback.owner, record, playback.repeat, playback.stop);
    held_.releaseAll(playback.owner);
    playback.done.store(true);
    {
        std::lock_guard lock(idleMutex_);
        active_.fetch_sub(1);
    }
    idle_.notify_all();
    notifyPlaying();
}

void MacroPlayer::playPasses(HeldInput& held, Clock& clock, int owner, const MacroRecord& record,
                             int passes, WakeFlag& stop) {
    const int count = record.usableEventCount();
    if (count == 0) {
        return;
    }
    std::chrono::milliseconds passTime{0};
    for (int k = 0; k < count; ++k) {
        passTime += std::chrono::milliseconds(record.event(k).pause);
    }
    auto deadline = clock.now();
    for (int pass = 1; passes == kRepeatLoop || pass <= passes; ++pass) {
        for (int k = 0; k < count; ++k) {
            if (stop.isSet()) {
                return;
            }
            const MacroEvent event = record.event(k);
            if (event.action == static_cast<std::uint8_t>(MacroAction::Press)) {
                held.press(owner, event.code);
            } else if (event.action == static_cast<std::uint8_t>(MacroAction::Release)) {
                held.release(owner, event.code);
            } // any other action only pauses
            deadline += std::chrono::milliseconds(event.pause);
            if (clock.sleepUntil(deadline, stop)) {
                return;
            }
        }
        const bool another = passes == kRepeatLoop || pass < passes;
        if (another && passTime < kLeastPassTime) {
            deadline += kLeastPassTime;
            if (clock.sleepUntil(deadline, stop)) {
                return;
            }
        }
    }
}

void MacroPlayer::stopAll() {
    std::vector<std::unique_ptr<Playback>> stopping;
    {
        std::lock_guard lock(mutex_);
        stopping.swap(playbacks_);
    }
    for (const auto& playback : stopping) {
        playback->stop.set();
    }
    for (const auto& playback : stopping) {
        if (playback->thread.joinable()) {
            playback->thread.join();
        }
    }
}

void MacroPlayer::stopLoops() {
    std::lock_guard lock(mutex_);
    for (const auto& playback : playbacks_) {
        if (playback->repeat == kRepeatLoop) {
            playback->stop.set();
        }
    }
}

bool MacroPlayer::waitUntilIdle(std::chrono::milliseconds limit) {
    std::unique_lock lock(idleMutex_);
    return idle_.wait_for(lock, limit, [this] { return active_.load() == 0; });
}

void MacroPlayer::setPlayingListener(std::function<void()> listener) {
    std::lock_guard lock(listenerMutex_);
    listener_ = std::move(listener);
}

void MacroPlayer::reapFinished() {
    // Called under mutex_: the threads of macros that have ended are joined (each has done its
    // last step or is about to) and forgotten, with one look at each, so that a macro ending
    // meanwhile is never forgotten with its thread still running; it is reaped the next time.
    std::erase_if(playbacks_, [](const auto& playback) {
        if (!playback->done.load()) {
            return false;
        }
        playback->thread.join();
        return true;
    });
}

void MacroPlayer::notifyPlaying() {
    std::lock_guard lock(listenerMutex_);
    if (listener_) {
        listener_();
    }
}

} // namespace veldran
