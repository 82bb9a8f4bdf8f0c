#pragma once
// Pixel arithmetic the filters share: colours and their values in each pixel
// type, solid rectangles, the dissolve's blend, and YUV to RGB as
// ConvertToRGB32 computes it.

#include "engine/core/Frame.h"

#include <algorithm>
#include <cstdint>

namespace vistrel::engine {

// Colours as scripts give them ($RRGGBB, with $AA in the top byte) and as
// each pixel type stores them. YUV values follow Rec.601 limited range, so
// black is 16/128/128 and white 235/128/128.

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

// Painting solid rectangles into frames of any pixel type.

// Fills [x, x+w) x [y, y+h), clipped to the frame. For YV12 the chroma planes
// cover the same area at half size, and for YUY2 whole pixel pairs are
// written, so x, y, w and h should be even for those types.
void fillRect(Frame& frame, int x, int y, int w, int h, const Colour& colour);

inline void fillFrame(Frame& frame, const Colour& colour) {
    fillRect(frame, 0, 0, frame.width(), frame.height(), colour);
}

// The 8-bit blend of a dissolve. Every byte of every plane, alpha included,
// is mixed with a 15-bit weight taken from the float weight of the second
// frame: out = (a * (32767 - w) + b * w + 16384) >> 15.

// The 15-bit weight of the second frame for blended frame k (0-based) of an
// overlap of ov frames: (k + 1) / (ov + 1), rounded to float, scaled by 32767.
int dissolveWeight(int64_t k, int ov);

// A new frame mixing a and b (same size and type) with the second frame's weight.
MutableFramePtr blendFrames(const Frame& a, const Frame& b, int weight);

// Rec.601 limited-range YUV to full-range RGB in 13-bit fixed point:
// R = 1.164(Y-16) + 1.596(V-128), G = 1.164(Y-16) - 0.391(U-128) - 0.813(V-128),
// B = 1.164(Y-16) + 2.018(U-128), each rounded and clamped to 0..255.

struct YuvToRgbMatrix {
    static constexpr int kBits = 13;
    int y, vr, ug, vg, ub;  // scaled by 2^kBits; ug and vg are subtracted

    static YuvToRgbMatrix rec601();
};

// Writes B, G, R, A = 255. `u2` and `v2` are twice the chroma values, so a
// sample halfway between two chroma samples can be given exactly.
inline void yuvToBgra(const YuvToRgbMatrix& m, int y, int u2, int v2, uint8_t* out) {
    const int bits = YuvToRgbMatrix::kBits + 1;
    const int luma = 2 * m.y * (y - 16) + (1 << (bits - 1));
    const int u = u2 - 256, v = v2 - 256;
    auto clampByte = [](int value) { return uint8_t(std::clamp(value, 0, 255)); };
    out[0] = clampByte((luma + m.ub * u) >> bits);
    out[1] = clampByte((luma - m.ug * u - m.vg * v) >> bits);
    out[2] = clampByte((luma + m.vr * v) >> bits);
    out[3] = 255;
}

}  // namespace vistrel::engine
