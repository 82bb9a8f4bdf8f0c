#pragma once
// Where one angle's sound lines up with angle A's.
//
// Two stages. The loudness contours of both sounds (Envelope.h) are
// correlated over every offset allowed, each offset scored by the Pearson
// correlation of the stretch where the two overlap; the best score gives the
// rough offset and, against the best score at any other offset, the
// confidence. Then a stretch of the waveforms near the start of the overlap,
// whitened, pins the offset down to a fraction of a sample at kSoundRate,
// and a stretch near its end tells how far the two clocks drift apart.

#include "sync/AngleSound.h"

#include <optional>

namespace vistrel::sync {

struct MatchOptions {
    // The largest offset looked at, either way; 0: the longer sound's length,
    // every offset at which the two overlap.
    double maxOffsetSeconds = 0;
};

struct SoundMatch {
    // The angle's sound at time t + offsetSeconds is angle A's at time t:
    // positive when the angle started recording before A.
    double offsetSeconds = 0;
    // How far the best match stands above the best at any other offset:
    // 1 - second / best of their scores, in [0, 1].
    double confidence = 0;
    // How much later (negative: earlier) the angle runs at the end of the
    // overlap than at its start, scaled to the angle's whole length; nullopt
    // when the overlap is too short to tell.
    std::optional<double> driftSeconds;
};

SoundMatch matchSound(const AngleSound& a, const AngleSound& angle, const MatchOptions& options = {});

}  // namespace vistrel::sync
