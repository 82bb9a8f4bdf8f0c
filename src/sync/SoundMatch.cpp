#include "sync/SoundMatch.h"

#include "sync/Correlation.h"
#include "sync/Envelope.h"

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
constexpr double kDriftMarginSeconds = 0.4;
// Shorter stretches tell the drift: over a stretch, a clock drifting 100 ppm
// smears the offset by 0.1 ms a second.
constexpr double kDriftStretchSeconds = 10;
// The drift is told only over overlaps at least this long.
constexpr double kDriftOverlapSeconds = 120;

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

// The stretch of `seconds` (whole seconds) within [from, to] of angle A's
// time where A is loudest: a stretch of silence would tell nothing.
double loudestStretch(const AngleSound& a, double from, double to, double seconds) {
    const std::vector<double>& energy = a.energyPerSecond;
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

struct Fine {
    double offsetSeconds = 0;  // at the middle of the stretch
    double strength = 0;       // the whitened correlation's peak: 1 for identical sound
};

// The offset in [low, high] that best lines up angle A's waveform over
// [start, start + seconds) with the angle's.
Fine fineOffset(Correlator& correlator, const AngleSound& a, const AngleSound& angle, double start, double seconds,
                double low, double high) {
    const auto aFirst = static_cast<int64_t>(std::llround(start * kSoundRate));
    const auto length = static_cast<int64_t>(seconds * kSoundRate);
    const int64_t lowLag = static_cast<int64_t>(std::floor(low * kSoundRate));
    const int64_t highLag = static_cast<int64_t>(std::ceil(high * kSoundRate));
    const int64_t bFirst = aFirst + lowLag;
    const int64_t bLength = length + highLag - lowLag;

    const auto sample = [](const std::vector<float>& s, int64_t i) {
        return i >= 0 && i < static_cast<int64_t>(s.size()) ? double(s[static_cast<size_t>(i)]) : 0.0;
    };
    std::vector<double> wa(static_cast<size_t>(length)), wb(static_cast<size_t>(bLength));
    for (int64_t i = 0; i < length; ++i) wa[static_cast<size_t>(i)] = sample(a.samples, aFirst + i);
    for (int64_t i = 0; i < bLength; ++i) wb[static_cast<size_t>(i)] = sample(angle.samples, bFirst + i);

    std::vector<double> c = correlator.correlate(wa, wb, 0, highLag - lowLag, Weighting::Whitened);
    for (double& v : c) v = std::abs(v);  // a microphone wired the other way round peaks downwards
    const auto peak = static_cast<size_t>(std::max_element(c.begin(), c.end()) - c.begin());
    return {(double(lowLag) + refinedPeak(c, peak)) / kSoundRate, c.empty() ? 0.0 : c[peak]};
}

struct Overlap {
    double from, to;  // in angle A's time
    double length() const { return to - from; }
};

Overlap overlapAt(const AngleSound& a, const AngleSound& angle, double offset) {
    return {std::max(0.0, -offset), std::min(a.seconds(), angle.seconds() - offset)};
}

// Compares the waveforms around every rough offset, each never past the
// middle between it and its neighbours, so that two never find one peak.
// The strongest gives the offset; the runner-up, the confidence.
void compareRoughOffsets(Correlator& correlator, const AngleSound& a, const AngleSound& angle,
                         const std::vector<double>& rough, SoundMatch& match) {
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
        fine.push_back(
            fineOffset(correlator, a, angle, loudestStretch(a, overlap.from, overlap.to, seconds), seconds, low, high));
    }
    std::sort(fine.begin(), fine.end(), [](const Fine& x, const Fine& y) { return x.strength > y.strength; });
    if (fine.empty() || fine[0].strength <= 0) return;
    match.offsetSeconds = fine[0].offsetSeconds;
    const double second = fine.size() > 1 ? fine[1].strength : 0.0;
    match.confidence = std::clamp(1.0 - second / fine[0].strength, 0.0, 1.0);
}

// Over a long overlap, the offsets of the loudest stretches of its first and
// last thirds tell how the two clocks drift apart; the offset is then the
// one at the start of the overlap.
void measureDrift(Correlator& correlator, const AngleSound& a, const AngleSound& angle, SoundMatch& match) {
    const Overlap overlap = overlapAt(a, angle, match.offsetSeconds);
    if (overlap.length() < kDriftOverlapSeconds) return;
    const double third = overlap.length() / 3;
    const double seconds = std::floor(std::min(kDriftStretchSeconds, third));
    const double low = match.offsetSeconds - kDriftMarginSeconds, high = match.offsetSeconds + kDriftMarginSeconds;
    const double early = loudestStretch(a, overlap.from, overlap.from + third, seconds);
    const double late = loudestStretch(a, overlap.to - third, overlap.to, seconds);
    const Fine atEarly = fineOffset(correlator, a, angle, early, seconds, low, high);
    const Fine atLate = fineOffset(correlator, a, angle, late, seconds, low, high);
    const double rate = (atLate.offsetSeconds - atEarly.offsetSeconds) / (late - early);
    match.driftSeconds = rate * angle.seconds();
    match.offsetSeconds = atEarly.offsetSeconds - rate * (early + seconds / 2 - overlap.from);
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

    // One pair of transforms for every stretch compared.
    const auto longest = static_cast<size_t>(kFineSeconds * kSoundRate);
    Correlator correlator(longest, longest + static_cast<size_t>(2 * kDriftMarginSeconds * kSoundRate) + 2);
    compareRoughOffsets(correlator, a, angle, rough, match);
    if (match.confidence > 0) measureDrift(correlator, a, angle, match);
    return match;
}

}  // namespace vistrel::sync
