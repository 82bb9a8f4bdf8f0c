#pragma once
// Colours as scripts give them ($RRGGBB, with $AA in the top byte) and as
// each pixel type stores them. YUV values follow Rec.601 limited range, so
// black is 16/128/128 and white 235/128/128.

#include <cstdint>

namespace vistrel::engine {

struct YuvColour {
    uint8_t y = 16;
    uint8_t u = 128;
    uint8_t v = 128;
};

// Rec.601 limited-range Y, U and V of the RGB part of $AARRGGBB.
YuvColour rgbToYuv601(uint32_t argb);

// A fill colour for any pixel type. RGB frames store the integer unchanged
// (so $000000 has alpha 0); YUV frames store its Rec.601 conversion, or the
// $YYUUVV value itself when the colour was given as YUV.
class Colour {
public:
    static Colour fromRgb(uint32_t argb);
    static Colour fromYuv(uint32_t yyuuvv);

    uint8_t blue() const { return uint8_t(argb_); }
    uint8_t green() const { return uint8_t(argb_ >> 8); }
    uint8_t red() const { return uint8_t(argb_ >> 16); }
    uint8_t alpha() const { return uint8_t(argb_ >> 24); }
    const YuvColour& yuv() const { return yuv_; }

private:
    uint32_t argb_ = 0;
    YuvColour yuv_;
};

}  // namespace vistrel::engine
