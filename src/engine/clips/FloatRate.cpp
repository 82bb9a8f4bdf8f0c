#include "engine/clips/FloatRate.h"

#include "engine/core/ScriptError.h"

#include <cmath>
#include <limits>

namespace vistrel::engine {

namespace {

// A typed rate of NTSC family (29.97, 23.976, 59.94) is taken as the n * 1000/1001 it stands for.
constexpr double kNtscWithin = 1e-4;

// The rational with the smallest denominator inside [low, high], 0 < low <= high.
Rational simplestBetween(double low, double high) {
    const double whole = std::floor(low);
    if (whole == low) return {static_cast<int64_t>(whole), 1};
    if (whole + 1 <= high) return {static_cast<int64_t>(whole) + 1, 1};
    // low and high share their whole part: continue with the reciprocals of what is left.
    const Rational rest = simplestBetween(1 / (high - whole), 1 / (low - whole));
    return Rational::reduced(static_cast<int64_t>(whole) * rest.num + rest.den, rest.num);
}

}  // namespace

Rational rateFromFloat(double fps, const std::string& function) {
    if (!(fps > 0) || !std::isfinite(fps))
        throw ScriptError(function + ": Numerator and denominator must be positive.");
    for (int64_t base : {30000, 24000}) {
        const double step = double(base) / 1001;
        const double multiple = std::round(fps / step);
        if (multiple >= 1 && std::abs(fps / (multiple * step) - 1) < kNtscWithin)
            return Rational::reduced(static_cast<int64_t>(multiple) * base, 1001);
    }
    const float single = static_cast<float>(fps);
    const double below = std::nextafter(single, 0.0f),
                 above = std::nextafter(single, std::numeric_limits<float>::max());
    return simplestBetween((double(single) + below) / 2, (double(single) + above) / 2);
}

}  // namespace vistrel::engine
