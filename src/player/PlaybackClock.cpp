#include "player/PlaybackClock.h"

#include <cmath>

namespace vistrel::player {

namespace {

constexpr int64_t kNanosPerSecond = 1'000'000'000;
constexpr int64_t kRateScale = 1000;
// Keeps den * 1000 * 10^9 inside 64 bits.
constexpr int64_t kLargestDenominator = 9'000'000;

// a * b / c for non-negative values, rounded down or up, without overflow for
// products of frame counts, nanoseconds and frame-rate terms.
int64_t mulDiv(int64_t a, int64_t b, int64_t c, bool roundUp) {
#if defined(__SIZEOF_INT128__)
    __extension__ using Wide = __int128;
    const Wide product = static_cast<Wide>(a) * b;
    return static_cast<int64_t>(roundUp ? (product + c - 1) / c : product / c);
#else
    const long double exact = static_cast<long double>(a) * b / c;
    return static_cast<int64_t>(roundUp ? std::ceil(exact) : std::floor(exact));
#endif
}

}  // namespace

void PlaybackClock::start(int64_t frame, engine::Rational fps, int rate, Time now) {
    startFrame_ = frame;
    startTime_ = now;
    // A denominator this large only comes from a damaged file; an approximation will do.
    while (fps.den > kLargestDenominator) fps = engine::Rational::reduced((fps.num + 1) / 2, (fps.den + 1) / 2);
    fps_ = fps;
    rate_ = rate;
}

int64_t PlaybackClock::dueFrame(Time now) const {
    if (holds() || now <= startTime_) return startFrame_;
    const int64_t elapsed = (now - startTime_).count();
    // elapsed seconds * fps * rate / 1000, with the terms kept whole.
    const int64_t framesPerSecondTimesScale = fps_.num * rate_;
    return startFrame_ + mulDiv(elapsed, framesPerSecondTimesScale, fps_.den * kRateScale * kNanosPerSecond, false);
}

std::optional<PlaybackClock::Time> PlaybackClock::dueTime(int64_t frame) const {
    if (holds()) return std::nullopt;
    if (frame <= startFrame_) return startTime_;
    const int64_t frames = frame - startFrame_;
    const int64_t nanos = mulDiv(frames, fps_.den * kRateScale * kNanosPerSecond, fps_.num * rate_, true);
    return startTime_ + Time(nanos);
}

}  // namespace vistrel::player
