#include "sync/SoundMatch.h"

#include "sync/ClockDrift.h"
#include "sync/Correlation.h"
#include "sync/Envelope.h"
#include "sync/StretchMatch.h"

#include <algorithm>
#include <cmath>

namespace vistrel::sync {

namespace {

// An offset is looked at only where the two sounds overlap for at least this
// share of the shorter one (and this long, when the shorter is longer): a
// short overlap matches well by chance.
constexpr double kMinOverlapShare = 0.25;
constexpr double kMinOverlapSeconds = 10;
// The rough offsets whose waveforms are compared, and how far apart they lie
// at least.
constexpr size_t kCandidates = 10;
constexpr double kCandidatesApartSeconds = 0.1;
// The waveform stretches that pin an offset down, and how far around a rough
// offset they look: the rough offset is exact to a few envelope steps, but
// clocks drifting a few tens of ppm smear it by a tenth of a second over an
// hour.
constexpr double kFineSeconds = 30;
constexpr double kFineMarginSeconds = 0.12;
// The best offset and the runner-up are compared again on pieces of that
// stretch a few beats long (over a single beat, a drum that sounds alike on
// every beat outweighs the notes that tell the beats apart), each within
// this much of where it was found.
constexpr double kPieceSeconds = 3;
constexpr double kPieceMarginSeconds = 0.005;
constexpr size_t kFewestPieces = 8;
// The paired t-statistic of their strengths at which the steadiness counts
// as no more sure than an even match: a confidence of 1 - (kEvenT / t)^2.
constexpr double kEvenT = 3;

std::vector<double> prefixSums(std::span<const double> values, bool squared) {
    std::vector<double> sums(values.size() + 1, 0.0);
    for (size_t i = 0; i < values.size(); ++i) sums[i + 1] = sums[i] + (squared ? values[i] * values[i] : values[i]);
    return sums;
}

// For every lag in [-maxLag, maxLag]: the Pearson correlation of a and b
// where they overlap, weighed by the square root of the overlap's share of
// the shorter (a chance match over a short stretch counts for less); -2
// where they overlap by fewer than minOverlap values.
std::vector<double> overlapScores(const std::vector<double>& a, const std::vector<double>& b, int64_t maxLag,
                                  int64_t minOverlap) {
    const std::vector<double> raw = crossCorrelation(a, b, -maxLag, maxLag);
    const auto sa = prefixSums(a, false), sa2 = prefixSums(a, true);
    const auto sb = prefixSums(b, false), sb2 = prefixSums(b, true);
    const int64_t na = static_cast<int64_t>(a.size()), nb = static_cast<int64_t>(b.size());
    const double shorter = double(std::min(na, nb));
    std::vector<double> scores(raw.size(), -2.0);
    for (int64_t lag = -maxLag; lag <= maxLag; ++lag) {
        const int64_t from = std::max<int64_t>(0, -lag), to = std::min(na, nb - lag);
        const int64_t n = to - from;
        if (n < std::max<int64_t>(minOverlap, 2)) continue;
        const double sumA = sa[to] - sa[from], sumB = sb[to + lag] - sb[from + lag];
        const double varA = (sa2[to] - sa2[from]) - sumA * sumA / n;
        const double varB = (sb2[to + lag] - sb2[from + lag]) - sumB * sumB / n;
        if (varA <= 0 || varB <= 0) continue;
        const double covariance = raw[static_cast<size_t>(lag + maxLag)] - sumA * sumB / n;
        scores[static_cast<size_t>(lag + maxLag)] = covariance / std::sqrt(varA * varB) * std::sqrt(n / shorter);
    }
    return scores;
}

// The offsets (in seconds) of the highest peaks of the contours' scores,
// best first, each past the slopes of the ones before it.
std::vector<double> roughOffsets(const AngleSound& a, const AngleSound& angle, double maxOffsetSeconds) {
    const std::vector<double>& ea = a.envelope;
    const std::vector<double>& eb = angle.envelope;
    const double shorter = double(std::min(ea.size(), eb.size()));
    const auto maxLag = static_cast<int64_t>(std::ceil(maxOffsetSeconds * kEnvelopeRate));
    const auto minOverlap = static_cast<int64_t>(
        std::min(shorter, std::max(shorter * kMinOverlapShare, kMinOverlapSeconds * kEnvelopeRate)));
    std::vector<double> scores = overlapScores(ea, eb, maxLag, minOverlap);

    std::vector<double> offsets;
    const auto apart = static_cast<size_t>(kCandidatesApartSeconds * kEnvelopeRate);
    while (offsets.size() < kCandidates) {
        const auto best = static_cast<size_t>(std::max_element(scores.begin(), scores.end()) - scores.begin());
        if (scores.empty() || scores[best] <= 0) break;
        offsets.push_back((refinedPeak(scores, best) - double(maxLag)) / kEnvelopeRate);
        size_t first = best, last = best;
        while (first > 0 && scores[first - 1] <= scores[first]) --first;
        while (last + 1 < scores.size() && scores[last + 1] <= scores[last]) ++last;
        first = std::min(first, best > apart ? best - apart : 0);
        last = std::min(std::max(last, best + apart), scores.size() - 1);
        std::fill(scores.begin() + static_cast<std::ptrdiff_t>(first),
                  scores.begin() + static_cast<std::ptrdiff_t>(last) + 1, -2.0);
    }
    return offsets;
}

struct Fine {
    StretchMatch match;
    double start = 0, seconds = 0;  // the stretch of angle A it was found on
};

// How steadily `best` beats `runnerUp` through the stretch it was found on:
// on every piece of it where both offsets lie inside the angle, their
// strengths compared, as the paired t-statistic of the differences. A sound
// that repeats itself (a steady beat, a chant) makes the runner-up agree
// almost as well over the whole stretch, but only the right offset agrees
// better piece after piece; with unrelated sound, the best loses about as
// many pieces as it wins. nullopt when too few pieces can be compared.
std::optional<double> steadiness(const AngleSound& a, const AngleSound& angle, const Fine& best, const Fine& runnerUp) {
    Correlator correlator = stretchCorrelator(kPieceSeconds, 2 * kPieceMarginSeconds);
    const double bestOffset = best.match.offsetSeconds, otherOffset = runnerUp.match.offsetSeconds;
    const double earliest = std::min(bestOffset, otherOffset) - kPieceMarginSeconds;
    const double latest = std::max(bestOffset, otherOffset) + kPieceMarginSeconds;
    std::vector<double> differences;
    for (double t = best.start; t + kPieceSeconds <= best.start + best.seconds; t += kPieceSeconds) {
        if (t + earliest < 0 || t + kPieceSeconds + latest > angle.seconds()) continue;
        const auto strength = [&](double offset) {
            return matchStretch(correlator, a, angle, t, kPieceSeconds, offset - kPieceMarginSeconds,
                                offset + kPieceMarginSeconds)
                .strength;
        };
        differences.push_back(strength(bestOffset) - strength(otherOffset));
    }
    const auto n = double(differences.size());
    if (differences.size() < kFewestPieces) return std::nullopt;
    double mean = 0, variance = 0;
    for (double d : differences) mean += d / n;
    for (double d : differences) variance += (d - mean) * (d - mean) / (n - 1);
    if (variance <= 0) return mean > 0 ? std::optional(HUGE_VAL) : std::nullopt;
    return mean / std::sqrt(variance / n);
}

// Compares the waveforms around every rough offset, each never past the
// middle between it and its neighbours, so that two never find one peak.
// The strongest gives the offset, and where it was found; the runner-up, the
// confidence.
double compareRoughOffsets(const AngleSound& a, const AngleSound& angle, const std::vector<double>& rough,
                           SoundMatch& match) {
    Correlator correlator = stretchCorrelator(kFineSeconds, 2 * kFineMarginSeconds);
    std::vector<Fine> fine;
    for (double offset : rough) {
        double low = offset - kFineMarginSeconds, high = offset + kFineMarginSeconds;
        for (double other : rough) {
            if (other < offset) low = std::max(low, (offset + other) / 2);
            if (other > offset) high = std::min(high, (offset + other) / 2);
        }
        const Overlap overlap = overlapAt(a, angle, offset);
        const double seconds = std::floor(std::min(kFineSeconds, overlap.length()));
        if (seconds < 1) continue;
        const double start = loudestStretch(a, overlap.from, overlap.to, seconds);
        fine.push_back({matchStretch(correlator, a, angle, start, seconds, low, high), start, seconds});
    }
    std::sort(fine.begin(), fine.end(),
              [](const Fine& x, const Fine& y) { return x.match.strength > y.match.strength; });
    if (fine.empty() || fine[0].match.strength <= 0) return 0;
    match.offsetSeconds = fine[0].match.offsetSeconds;
    if (fine.size() < 2) {
        match.confidence = 1;
    } else {
        match.confidence = std::clamp(1.0 - fine[1].match.strength / fine[0].match.strength, 0.0, 1.0);
        if (const std::optional<double> t = steadiness(a, angle, fine[0], fine[1]); t && *t > kEvenT)
            match.confidence = std::max(match.confidence, 1 - (kEvenT / *t) * (kEvenT / *t));
    }
    return fine[0].start + fine[0].seconds / 2;
}

}  // namespace

SoundMatch matchSound(const AngleSound& a, const AngleSound& angle, const MatchOptions& options) {
    // By default every offset at which the two overlap: a short clip may lie
    // anywhere in a long angle A (the overlap rule keeps out chance matches).
    const double longer = std::max(a.seconds(), angle.seconds());
    const double maxOffset = options.maxOffsetSeconds > 0 ? options.maxOffsetSeconds : longer;
    SoundMatch match;
    const std::vector<double> rough = roughOffsets(a, angle, maxOffset);
    if (rough.empty()) return match;

    const double at = compareRoughOffsets(a, angle, rough, match);
    if (match.confidence <= 0) return match;
    if (const std::optional<ClockLine> clock = measureClock(a, angle, match.offsetSeconds, at)) {
        match.offsetSeconds = clock->offsetSeconds;
        match.driftPpm = clock->ppm;
        match.driftSeconds = clock->ppm * 1e-6 * angle.seconds();
    }
    return match;
}

}  // namespace vistrel::sync
