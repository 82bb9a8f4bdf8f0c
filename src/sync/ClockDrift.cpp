#include "sync/ClockDrift.h"

#include "sync/StretchMatch.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace vistrel::sync {

namespace {

// The overlap is cut into parts about this long, at least kFewestParts and
// at most kMostParts of them.
constexpr double kPartSeconds = 30;
constexpr size_t kFewestParts = 4;
constexpr size_t kMostParts = 40;
// The stretch lined up in each part: long enough to hold a few sounds, short
// enough that a clock 100 ppm off smears the offset over it by half a
// millisecond only.
constexpr double kStretchSeconds = 5;
// How far around the offset found a part is looked for: a little, and as
// much as a clock kFastestPpm off moves between the two.
constexpr double kLeastMarginSeconds = 0.01;
constexpr double kFastestPpm = 500;
// A part whose offset lies further than this off the line is left out, and
// so is one that matched less than this share as strongly as most did.
constexpr double kOffLineSeconds = 0.004;
constexpr double kWeakShare = 0.25;
constexpr size_t kFewestOnLine = 3;

struct Part {
    double at;            // the middle of its stretch, in the reference's time
    double offset;        // the offset found there
    double strength = 1;  // how strongly it matched there
};

struct Line {
    double slope = 0, offsetAtZero = 0;
    double at(double t) const { return offsetAtZero + slope * t; }
};

double median(std::vector<double> values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// The median of the slopes between every two parts, through the median of
// the parts' offsets along it.
Line medianLine(const std::vector<Part>& parts) {
    Line line;
    std::vector<double> slopes;
    for (size_t i = 0; i < parts.size(); ++i)
        for (size_t j = i + 1; j < parts.size(); ++j)
            if (parts[i].at != parts[j].at)
                slopes.push_back((parts[j].offset - parts[i].offset) / (parts[j].at - parts[i].at));
    if (!slopes.empty()) line.slope = median(std::move(slopes));
    std::vector<double> offsets;
    for (const Part& part : parts) offsets.push_back(part.offset - line.slope * part.at);
    line.offsetAtZero = median(std::move(offsets));
    return line;
}

// The least-squares line through the parts that matched well and lie near
// the median line through those; nullopt when too few do.
std::optional<Line> fitLine(const std::vector<Part>& found) {
    std::vector<double> strengths;
    for (const Part& part : found) strengths.push_back(part.strength);
    const double weak = kWeakShare * median(strengths);
    std::vector<Part> parts;
    std::copy_if(found.begin(), found.end(), std::back_inserter(parts),
                 [&](const Part& part) { return part.strength >= weak; });
    if (parts.size() < kFewestOnLine) return std::nullopt;
    const Line rough = medianLine(parts);
    double n = 0, st = 0, so = 0, stt = 0, sto = 0;
    for (const Part& part : parts) {
        if (std::abs(part.offset - rough.at(part.at)) > kOffLineSeconds) continue;
        n += 1;
        st += part.at;
        so += part.offset;
        stt += part.at * part.at;
        sto += part.at * part.offset;
    }
    const double spread = n * stt - st * st;
    if (n < double(kFewestOnLine) || spread <= 0) return std::nullopt;
    Line line;
    line.slope = (n * sto - st * so) / spread;
    line.offsetAtZero = (so - line.slope * st) / n;
    return line;
}

}  // namespace

std::optional<ClockLine> measureClock(const AngleSound& reference, const AngleSound& angle, double offset, double at) {
    const Overlap overlap = overlapAt(reference, angle, offset);
    if (overlap.length() < kDriftOverlapSeconds) return std::nullopt;
    const size_t count = std::clamp(static_cast<size_t>(overlap.length() / kPartSeconds), kFewestParts, kMostParts);
    const double partSeconds = overlap.length() / double(count);
    // Each part is looked for as far around the offset found as a clock
    // kFastestPpm off moves from there.
    const auto marginAt = [&](double t) { return kLeastMarginSeconds + kFastestPpm * 1e-6 * std::abs(t - at); };
    const double widest = std::max(marginAt(overlap.from), marginAt(overlap.to));
    Correlator correlator = stretchCorrelator(kStretchSeconds, 2 * widest);
    std::vector<Part> parts;
    for (size_t i = 0; i < count; ++i) {
        const double from = overlap.from + double(i) * partSeconds;
        const double start = loudestStretch(reference, from, from + partSeconds, kStretchSeconds);
        const double middle = start + kStretchSeconds / 2, margin = marginAt(middle);
        const StretchMatch found =
            matchStretch(correlator, reference, angle, start, kStretchSeconds, offset - margin, offset + margin);
        parts.push_back({middle, found.offsetSeconds, found.strength});
    }
    const std::optional<Line> fitted = fitLine(parts);
    if (!fitted) return std::nullopt;
    return ClockLine{fitted->at(overlap.from), fitted->slope * 1e6};
}

}  // namespace vistrel::sync
