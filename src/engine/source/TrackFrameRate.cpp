#include "engine/source/TrackFrameRate.h"

#include <cmath>

namespace vistrel::engine {

namespace {

// Ticks that (frames - 1) frame durations at this rate would span.
double spanInTicks(const TrackTimes& t, Rational rate) {
    const double seconds = double(t.frames - 1) * double(rate.den) / double(rate.num);
    return seconds * double(t.tickDen) / double(t.tickNum);
}

std::optional<Rational> nearestCommonRate(const TrackTimes& t, double approximate) {
    const Rational candidates[] = {
        Rational::reduced(std::llround(approximate), 1),
        Rational::reduced(std::llround(approximate * 1.001) * 1000, 1001),
        Rational::reduced(std::llround(approximate * 2), 2),
    };
    const double span = double(t.lastTick - t.firstTick);
    for (const Rational& rate : candidates)
        if (rate.num > 0 && std::abs(spanInTicks(t, rate) - span) <= 1.0) return rate;
    return std::nullopt;
}

}  // namespace

std::optional<Rational> frameRateFromTimes(const TrackTimes& t) {
    const int64_t span = t.lastTick - t.firstTick;
    const int64_t intervals = t.frames - 1;
    if (intervals < 1 || span <= 0 || t.tickNum <= 0 || t.tickDen <= 0) return std::nullopt;
    // rate = intervals / (span * tickNum / tickDen) frames per second
    const Rational exact = Rational::reduced(intervals * t.tickDen, span * t.tickNum);
    if (span % intervals == 0) return exact;
    return nearestCommonRate(t, exact.toDouble());
}

}  // namespace vistrel::engine
