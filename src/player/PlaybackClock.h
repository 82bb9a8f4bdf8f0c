#pragma once
// The playback clock: which frame is due at a given moment when a clip plays
// from a start frame at its exact frame rate times rate / 1000.
//
// The clock is a pure calculation over time stamps handed in, so that it never
// drifts (every answer is computed from the moment it was started, not added
// up frame by frame) and can be tested without waiting.

#include "engine/core/VideoInfo.h"

#include <chrono>
#include <cstdint>
#include <optional>

namespace vistrel::player {

class PlaybackClock {
public:
    using Time = std::chrono::nanoseconds;

    // Frame `frame` is shown at `now`; the clip's rate is fps * rate / 1000.
    // A rate of 0 (or below) or a clip without a frame rate holds the picture.
    void start(int64_t frame, engine::Rational fps, int rate, Time now);

    // The frame whose time has come at `now` (never before the start frame).
    int64_t dueFrame(Time now) const;

    // The moment `frame` becomes due; nullopt while the clock holds.
    std::optional<Time> dueTime(int64_t frame) const;

    bool holds() const { return rate_ <= 0 || fps_.num <= 0; }
    int64_t startFrame() const { return startFrame_; }
    Time startTime() const { return startTime_; }
    int rate() const { return rate_; }

private:
    int64_t startFrame_ = 0;
    Time startTime_{0};
    engine::Rational fps_{0, 1};
    int rate_ = 0;
};

}  // namespace vistrel::player
