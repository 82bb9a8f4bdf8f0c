#pragma once
// Whether a video track keeps a constant frame rate. A source numbers frames
// by their order; if their times drift from n / fps by half a frame or more
// (a variable-rate phone recording, a capture that dropped frames), frame n
// is not at the time a script assumes, and the source plays the file at a
// constant rate by time instead (ConformedRate.h).
//
// Half a frame of slack absorbs timestamps rounded to a coarse time base
// (milliseconds in MKV, 90 kHz in MPEG-TS).

#include "engine/VideoInfo.h"

#include <cstdint>
#include <optional>
#include <span>

namespace vistrel::engine {

struct FrameTimeDrift {
    int64_t frame;
    double actualSeconds;    // from the first frame
    double expectedSeconds;  // frame / fps
};

// times: each frame's timestamp, in units of secondsPerTick, in frame order.
// The first frame whose time is half a frame or more away from frame / fps.
std::optional<FrameTimeDrift> firstDriftingFrame(std::span<const int64_t> times, double secondsPerTick, Rational fps);

}  // namespace vistrel::engine
