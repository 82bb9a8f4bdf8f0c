#pragma once
// Stretches of two sounds lined up: where a reference (angle A, or a sound
// recording) and an angle overlap, where the reference is loudest, and the
// offset near a guess at which a stretch of the reference and the angle's
// sound agree best, whitened (Correlation.h) and refined between samples.

#include "sync/AngleSound.h"
#include "sync/Correlation.h"

namespace vistrel::sync {

// Where the two overlap at an offset, in the reference's time.
struct Overlap {
    double from = 0, to = 0;
    double length() const { return to - from; }
};

Overlap overlapAt(const AngleSound& reference, const AngleSound& angle, double offset);

// The start of the stretch of `seconds` (whole seconds) within [from, to] of
// the reference's time where it is loudest: a stretch of silence would tell
// nothing.
double loudestStretch(const AngleSound& reference, double from, double to, double seconds);

struct StretchMatch {
    double offsetSeconds = 0;  // the angle's time at the reference's time t is t + offsetSeconds
    double strength = 0;       // the whitened correlation's peak: 1 for identical sound
};

// Transforms for comparing stretches up to `seconds` long over offsets
// spread over `spanSeconds`.
Correlator stretchCorrelator(double seconds, double spanSeconds);

// The offset in [low, high] that best lines up the reference's waveform over
// [start, start + seconds) with the angle's; its sign does not matter (a
// microphone wired the other way round).
StretchMatch matchStretch(Correlator& correlator, const AngleSound& reference, const AngleSound& angle, double start,
                          double seconds, double low, double high);

}  // namespace vistrel::sync
