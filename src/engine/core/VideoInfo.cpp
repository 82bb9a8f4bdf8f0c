#include "engine/core/VideoInfo.h"

#include <cstdio>

namespace vistrel::engine {

std::string pixelTypeName(PixelType type) {
    switch (type) {
    case PixelType::RGB32: return "RGB32";
    case PixelType::RGB24: return "RGB24";
    case PixelType::YV12: return "YV12";
    case PixelType::YUY2: return "YUY2";
    }
    return "?";
}

std::string timecodeText(int64_t frame, Rational fps) {
    if (fps.num <= 0 || fps.den <= 0 || frame < 0) return {};
    const int64_t seconds = frame * fps.den / fps.num;
    const int64_t firstOfSecond = (seconds * fps.num + fps.den - 1) / fps.den;
    char text[48];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%0*lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60),
                  fps.num > 100 * fps.den ? 3 : 2, static_cast<long long>(frame - firstOfSecond));
    return text;
}

int64_t VideoInfo::samplesBeforeFrame(int64_t f) const {
    if (!hasVideo() || fps.num == 0) return 0;
        // f * rate * den overflows 64 bits for long clips at rates such as 15712927/524288.
#if defined(__SIZEOF_INT128__)
    __extension__ using Wide = __int128;
    const Wide wide = static_cast<Wide>(f) * audioRate * fps.den;
    return static_cast<int64_t>(wide / fps.num);
#else
    const int64_t whole = f / fps.num, rest = f % fps.num;
    return whole * audioRate * fps.den + rest * audioRate * fps.den / fps.num;
#endif
}

}  // namespace vistrel::engine
