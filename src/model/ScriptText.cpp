#include "model/ScriptText.h"

#include <cmath>
#include <limits>

namespace vistrel::model {

ScriptText& ScriptText::line(std::string_view text) {
    text_ += text;
    text_ += "\r\n";
    ++lineCount_;
    return *this;
}

std::int64_t roundHalfToEven(double value) {
    double rounded = std::floor(value);
    const double above = value - rounded;
    if (above > 0.5 || (above == 0.5 && std::fmod(rounded, 2.0) != 0.0)) rounded += 1.0;

    // 2^63 is exactly representable; every double below it fits in int64.
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (rounded >= kTwoTo63) return std::numeric_limits<std::int64_t>::max();
    if (rounded < -kTwoTo63) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(rounded);
}

std::int64_t segmentStart(double nextFrame, double overlap) { return roundHalfToEven(nextFrame - overlap + 1.0); }

}  // namespace vistrel::model
