#pragma once
// A variable-rate video (a phone recording, a capture that dropped frames)
// as a clip of constant rate that plays at the recording's real speed.
//
// The rate is the most common frame duration among the frames, snapped to a
// standard rate (24000/1001, 24, 25, 30000/1001, 30, 48, 50, 60000/1001, 60,
// 100, 120) when within 0.5 % of it, else that duration's own rate.
// Durations within a tick or 2 % of each other count as one and their mean
// is taken, so times rounded to the container's clock (Matroska's
// milliseconds) or jittered by a camera's clock still show their rate; of
// two durations equally common, the shorter wins, which drops no frame. A frame lasts until the next one;
// the last lasts as long as the one before it.
//
// Frame n of the clip is the frame on screen at time n / rate: the last
// frame whose time is at or before it, counting a frame that comes a tenth
// of a frame late as on time (rounded and jittered times would otherwise
// repeat one frame and skip the next). The clip lasts as long as the
// recording: its frame count is the duration times the rate, rounded.

#include "engine/VideoInfo.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vistrel::engine {

struct ConformedTiming {
    Rational fps;
    std::vector<int32_t> sourceFrames;  // frame n of the clip shows source frame sourceFrames[n]
};

// ticks: each frame's timestamp in frame order, in ticks of tickNum / tickDen
// seconds. An empty sourceFrames when the times give no duration (fewer than
// two frames, all at one time).
ConformedTiming conformToCommonRate(std::span<const int64_t> ticks, int64_t tickNum, int64_t tickDen);

}  // namespace vistrel::engine
