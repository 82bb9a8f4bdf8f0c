#include "sync/StretchMatch.h"

#include <algorithm>
#include <cmath>

namespace vistrel::sync {

Overlap overlapAt(const AngleSound& reference, const AngleSound& angle, double offset) {
    return {std::max(0.0, -offset), std::min(reference.seconds(), angle.seconds() - offset)};
}

double loudestStretch(const AngleSound& reference, double from, double to, double seconds) {
    const std::vector<double>& energy = reference.energyPerSecond;
    const auto length = static_cast<size_t>(seconds);
    const auto first = static_cast<size_t>(std::ceil(std::max(0.0, from)));
    const auto last = static_cast<size_t>(std::max(0.0, std::floor(to - seconds)));  // the latest start
    if (length == 0 || first > last || last + length > energy.size()) return std::max(0.0, from);
    double running = 0;
    for (size_t s = first; s < first + length; ++s) running += energy[s];
    double loudest = running;
    size_t best = first;
    for (size_t start = first + 1; start <= last; ++start) {
        running += energy[start + length - 1] - energy[start - 1];
        if (running > loudest) {
            loudest = running;
            best = start;
        }
    }
    return double(best);
}

Correlator stretchCorrelator(double seconds, double spanSeconds) {
    const auto longest = static_cast<size_t>(std::ceil(seconds * kSoundRate));
    const auto lags = static_cast<int64_t>(std::ceil(spanSeconds * kSoundRate)) + 2;
    return Correlator(longest, longest + static_cast<size_t>(lags), 0, lags);
}

StretchMatch matchStretch(Correlator& correlator, const AngleSound& reference, const AngleSound& angle, double start,
                          double seconds, double low, double high) {
    const auto aFirst = static_cast<int64_t>(std::llround(start * kSoundRate));
    const auto length = static_cast<int64_t>(seconds * kSoundRate);
    const auto lowLag = static_cast<int64_t>(std::floor(low * kSoundRate));
    const auto highLag = static_cast<int64_t>(std::ceil(high * kSoundRate));
    const int64_t bFirst = aFirst + lowLag;
    const int64_t bLength = length + highLag - lowLag;

    const auto sample = [](const std::vector<float>& s, int64_t i) {
        return i >= 0 && i < static_cast<int64_t>(s.size()) ? double(s[static_cast<size_t>(i)]) : 0.0;
    };
    std::vector<double> wa(static_cast<size_t>(length)), wb(static_cast<size_t>(bLength));
    for (int64_t i = 0; i < length; ++i) wa[static_cast<size_t>(i)] = sample(reference.samples, aFirst + i);
    for (int64_t i = 0; i < bLength; ++i) wb[static_cast<size_t>(i)] = sample(angle.samples, bFirst + i);

    std::vector<double> c = correlator.correlate(wa, wb, 0, highLag - lowLag, Weighting::Whitened);
    for (double& v : c) v = std::abs(v);
    const auto peak = static_cast<size_t>(std::max_element(c.begin(), c.end()) - c.begin());
    return {(double(lowLag) + refinedPeak(c, peak)) / kSoundRate, c.empty() ? 0.0 : c[peak]};
}

}  // namespace vistrel::sync
