#include "engine/Colour.h"

#include <algorithm>
#include <cmath>

namespace vistrel::engine {

namespace {
constexpr double kKr = 0.299;
constexpr double kKb = 0.114;
constexpr double kKg = 1.0 - kKr - kKb;

uint8_t roundToByte(double v) { return uint8_t(std::clamp(std::lround(v), 0L, 255L)); }
}  // namespace

YuvColour rgbToYuv601(uint32_t argb) {
    const double r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
    const double luma = kKr * r + kKg * g + kKb * b;  // 0..255
    const double pb = (b - luma) / (2.0 * (1.0 - kKb));
    const double pr = (r - luma) / (2.0 * (1.0 - kKr));
    return {roundToByte(16.0 + luma * 219.0 / 255.0), roundToByte(128.0 + pb * 224.0 / 255.0),
            roundToByte(128.0 + pr * 224.0 / 255.0)};
}

Colour Colour::fromRgb(uint32_t argb) {
    Colour c;
    c.argb_ = argb;
    c.yuv_ = rgbToYuv601(argb);
    return c;
}

Colour Colour::fromYuv(uint32_t yyuuvv) {
    Colour c;
    c.argb_ = yyuuvv;
    c.yuv_ = {uint8_t(yyuuvv >> 16), uint8_t(yyuuvv >> 8), uint8_t(yyuuvv)};
    return c;
}

}  // namespace vistrel::engine
