#pragma once
// A file's frame rate: what FFMS2 and the container say it is, whether its
// frame times are regular, and the rate a variable-rate clip is conformed to.

#include "engine/core/VideoInfo.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vistrel::engine {

// The exact frame rate of a constant-rate track, from its frame times.
//
// When a frame lasts a whole number of timestamp ticks (AVI's scale/rate,
// MP4's timescale, MPEG-TS's 90 kHz clock) the rate follows exactly from the
// first and last times. Times rounded to a coarse clock (Matroska's
// milliseconds) give only an approximation; then the nearest rate of the
// form n, n * 1000/1001 or n/2 that explains the span to within a tick is
// taken, as 30000/1001 for NTSC video.

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

// Whether a video track keeps a constant frame rate. A source numbers frames
// by their order; if their times drift from n / fps by half a frame or more
// (a variable-rate phone recording, a capture that dropped frames), frame n
// is not at the time a script assumes, and the source plays the file at a
// constant rate by time instead (below).
//
// Half a frame of slack absorbs timestamps rounded to a coarse time base
// (milliseconds in MKV, 90 kHz in MPEG-TS).

struct FrameTimeDrift {
    int64_t frame;
    double actualSeconds;    // from the first frame
    double expectedSeconds;  // frame / fps
};

// times: each frame's timestamp, in units of secondsPerTick, in frame order.
// The first frame whose time is half a frame or more away from frame / fps.
std::optional<FrameTimeDrift> firstDriftingFrame(std::span<const int64_t> times, double secondsPerTick, Rational fps);

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

struct ConformedTiming {
    Rational fps;
    std::vector<int32_t> sourceFrames;  // frame n of the clip shows source frame sourceFrames[n]
};

// ticks: each frame's timestamp in frame order, in ticks of tickNum / tickDen
// seconds. An empty sourceFrames when the times give no duration (fewer than
// two frames, all at one time).
ConformedTiming conformToCommonRate(std::span<const int64_t> ticks, int64_t tickNum, int64_t tickDen);

}  // namespace vistrel::engine
