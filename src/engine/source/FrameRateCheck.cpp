#include "engine/source/FrameRateCheck.h"

#include <cmath>

namespace vistrel::engine {

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

}  // namespace vistrel::engine
