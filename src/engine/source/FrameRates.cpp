#include "engine/source/FrameRates.h"

#include <algorithm>
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

std::optional<FrameTimeDrift> firstDriftingFrame(std::span<const int64_t> times, double secondsPerTick, Rational fps) {
    if (times.empty() || fps.num <= 0 || fps.den <= 0) return std::nullopt;
    const double frameSeconds = double(fps.den) / double(fps.num);
    for (size_t n = 1; n < times.size(); ++n) {
        const double actual = double(times[n] - times[0]) * secondsPerTick;
        const double expected = double(n) * frameSeconds;
        if (std::abs(actual - expected) >= frameSeconds / 2)
            return FrameTimeDrift{static_cast<int64_t>(n), actual, expected};
    }
    return std::nullopt;
}

namespace {

constexpr Rational kStandardRates[] = {{24000, 1001}, {24, 1},       {25, 1}, {30000, 1001}, {30, 1}, {48, 1},
                                       {50, 1},       {60000, 1001}, {60, 1}, {100, 1},      {120, 1}};
constexpr double kSnapWithin = 0.005;
constexpr double kSameDurationWithin = 0.02;  // 29.97 and 30 fps count as one; 24 and 25 do not
constexpr double kLateFrameSlack = 0.1;       // of a frame at the conformed rate

// Each frame's duration in ticks: until the next frame; the last lasts as long as the one before it.
std::vector<int64_t> frameDurations(std::span<const int64_t> ticks) {
    std::vector<int64_t> durations;
    durations.reserve(ticks.size());
    for (size_t n = 1; n < ticks.size(); ++n) durations.push_back(ticks[n] - ticks[n - 1]);
    if (!durations.empty()) durations.push_back(durations.back());
    return durations;
}

struct CommonDuration {
    int64_t mode = 0;   // the duration, in ticks, that most frames share
    double mean = 0.0;  // the mean of the durations counted as the same as it
};

// Durations within max(1 tick, 2 %) of one another count as the same.
CommonDuration mostCommonDuration(std::vector<int64_t> durations) {
    std::erase_if(durations, [](int64_t d) { return d <= 0; });
    std::sort(durations.begin(), durations.end());
    struct Bin {
        int64_t duration;
        int64_t count;
    };
    std::vector<Bin> bins;
    for (int64_t d : durations) {
        if (bins.empty() || bins.back().duration != d) bins.push_back({d, 0});
        ++bins.back().count;
    }
    auto reach = [](int64_t d) { return std::max<int64_t>(1, std::llround(double(d) * kSameDurationWithin)); };

    CommonDuration best;
    int64_t bestCount = 0;
    size_t low = 0, high = 0;
    int64_t inWindow = 0;
    double sumInWindow = 0;
    for (const Bin& bin : bins) {
        const int64_t width = reach(bin.duration);
        for (; high < bins.size() && bins[high].duration <= bin.duration + width; ++high) {
            inWindow += bins[high].count;
            sumInWindow += double(bins[high].duration) * double(bins[high].count);
        }
        for (; bins[low].duration < bin.duration - width; ++low) {
            inWindow -= bins[low].count;
            sumInWindow -= double(bins[low].duration) * double(bins[low].count);
        }
        if (inWindow > bestCount) {  // a tie keeps the shorter duration
            bestCount = inWindow;
            best = {bin.duration, sumInWindow / double(inWindow)};
        }
    }
    return best;
}

Rational rateOf(const CommonDuration& duration, int64_t tickNum, int64_t tickDen) {
    const double fps = double(tickDen) / (duration.mean * double(tickNum));
    const Rational* nearest = nullptr;
    double nearestOff = kSnapWithin;
    for (const Rational& rate : kStandardRates) {
        const double off = std::abs(fps / rate.toDouble() - 1.0);
        if (off <= nearestOff) {
            nearest = &rate;
            nearestOff = off;
        }
    }
    return nearest ? *nearest : Rational::reduced(tickDen, duration.mode * tickNum);
}

// round(span seconds * fps), span = spanTicks * tickNum / tickDen.
int64_t framesIn(int64_t spanTicks, int64_t tickNum, int64_t tickDen, Rational fps) {
#if defined(__SIZEOF_INT128__)
    __extension__ using Wide = __int128;
    const Wide num = Wide(spanTicks) * tickNum * fps.num;
    const Wide den = Wide(tickDen) * fps.den;
    return static_cast<int64_t>((2 * num + den) / (2 * den));
#else
    return std::llround(double(spanTicks) * double(tickNum) * double(fps.num) / (double(tickDen) * double(fps.den)));
#endif
}

}  // namespace

ConformedTiming conformToCommonRate(std::span<const int64_t> ticks, int64_t tickNum, int64_t tickDen) {
    ConformedTiming timing;
    const std::vector<int64_t> durations = frameDurations(ticks);
    const CommonDuration common = mostCommonDuration(durations);
    if (common.mode <= 0 || tickNum <= 0 || tickDen <= 0) return timing;
    timing.fps = rateOf(common, tickNum, tickDen);

    const int64_t spanTicks = ticks.back() - ticks.front() + std::max<int64_t>(durations.back(), 0);
    const int64_t frames = std::max<int64_t>(1, framesIn(spanTicks, tickNum, tickDen, timing.fps));
    const double secondsPerTick = double(tickNum) / double(tickDen);
    const double frameSeconds = double(timing.fps.den) / double(timing.fps.num);
    timing.sourceFrames.reserve(static_cast<size_t>(frames));
    size_t shown = 0;
    for (int64_t n = 0; n < frames; ++n) {
        const double latest = (double(n) + kLateFrameSlack) * frameSeconds;
        while (shown + 1 < ticks.size() && double(ticks[shown + 1] - ticks.front()) * secondsPerTick <= latest) ++shown;
        timing.sourceFrames.push_back(static_cast<int32_t>(shown));
    }
    return timing;
}

}  // namespace vistrel::engine
