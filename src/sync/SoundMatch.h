#pragma once
// Where one angle's sound lines up with a reference's: angle A's, or a
// sound recording's.
//
// Two stages. The loudness contours of both sounds (Envelope.h) are
// correlated over every offset allowed, each offset scored by the Pearson
// correlation of the stretch where the two overlap; the best scores give the
// rough offsets worth a closer look. Then a stretch of the waveforms,
// whitened, pins each of them down to a fraction of a sample at kSoundRate
// (StretchMatch.h): the strongest is the offset, and against the runner-up
// it gives the confidence. Over a long overlap the angle's clock is then
// measured against the reference's (ClockDrift.h).

#include "sync/AngleSound.h"

#include <optional>

namespace vistrel::sync {

struct MatchOptions {
    // The largest offset looked at, either way; 0: the longer sound's length,
    // every offset at which the two overlap.
    double maxOffsetSeconds = 0;
};

struct SoundMatch {
    // The angle's sound at time t + offsetSeconds is the reference's at time
    // t: positive when the angle started recording before the reference. With
    // drift, this holds where the two begin to overlap (ClockLine).
    double offsetSeconds = 0;
    // How sure the offset is, in [0, 1]: the larger of how far the best
    // match stands above the runner-up (1 - runner-up / best of their
    // strengths) and how steadily it stays above it, second by second,
    // through the stretch they were compared on (see SoundMatch.cpp).
    double confidence = 0;
    // How fast the angle's clock runs against the reference's, in parts per
    // million (positive: fast); nullopt when the overlap is too short to tell.
    std::optional<double> driftPpm;
    // How much later (negative: earlier) the angle runs at the end of the
    // overlap than at its start, scaled to the angle's whole length; nullopt
    // when the overlap is too short to tell.
    std::optional<double> driftSeconds;
};

SoundMatch matchSound(const AngleSound& a, const AngleSound& angle, const MatchOptions& options = {});

}  // namespace vistrel::sync
