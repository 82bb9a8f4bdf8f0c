#pragma once
// The exact frame rate of a constant-rate track, from its frame times.
//
// When a frame lasts a whole number of timestamp ticks (AVI's scale/rate,
// MP4's timescale, MPEG-TS's 90 kHz clock) the rate follows exactly from the
// first and last times. Times rounded to a coarse clock (Matroska's
// milliseconds) give only an approximation; then the nearest rate of the
// form n, n * 1000/1001 or n/2 that explains the span to within a tick is
// taken, as 30000/1001 for NTSC video.

#include "engine/VideoInfo.h"

#include <cstdint>
#include <optional>

namespace vistrel::engine {

struct TrackTimes {
    int64_t firstTick = 0;
    int64_t lastTick = 0;
    int64_t frames = 0;
    // One tick lasts tickNum / tickDen seconds (the stream's time base).
    int64_t tickNum = 1;
    int64_t tickDen = 1;
};

// nullopt when the times say nothing (fewer than two frames, no span).
std::optional<Rational> frameRateFromTimes(const TrackTimes& times);

}  // namespace vistrel::engine
