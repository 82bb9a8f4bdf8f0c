#pragma once
// Cross-correlation of two sequences through one transform each:
//   c(lag) = sum over t of a[t] * b[t + lag]
// for every lag in [minLag, maxLag], computed at once for all lags.
//
// Whitened (the phase transform), every frequency weighs the same whatever
// its strength: the result peaks sharply where the two share their phase,
// however differently a microphone, a room or a filter coloured them, and
// the peak is 1 where b is a shifted copy of a.

#include "sync/Fft.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vistrel::sync {

enum class Weighting { Plain, Whitened };

// Transforms sized once for sequences up to the given lengths, kept for
// every correlation of such sequences: planning a transform and touching
// fresh memory cost more than the transform itself. The transforms are as
// long as the lags asked for need: lags [0, 2000] of a 30 s stretch need
// half the length that every lag at which the two overlap does.
class Correlator {
public:
    // For every lag at which the sequences overlap.
    Correlator(size_t longestA, size_t longestB);
    // For lags in [minLag, maxLag] only.
    Correlator(size_t longestA, size_t longestB, int64_t minLag, int64_t maxLag);

    // Index i of the result is lag minLag + i. Lags beyond where the
    // sequences overlap give 0.
    std::vector<double> correlate(std::span<const double> a, std::span<const double> b, int64_t minLag, int64_t maxLag,
                                  Weighting weighting);

private:
    RealFft fa_, fb_;
};

std::vector<double> crossCorrelation(std::span<const double> a, std::span<const double> b, int64_t minLag,
                                     int64_t maxLag, Weighting weighting = Weighting::Plain);

// Where, between index i - 1 and i + 1, the parabola through the three
// values peaks: i plus a fraction in [-0.5, 0.5].
double refinedPeak(std::span<const double> values, size_t i);

}  // namespace vistrel::sync
