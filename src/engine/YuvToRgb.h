#pragma once
// Rec.601 limited-range YUV to full-range RGB in 13-bit fixed point:
// R = 1.164(Y-16) + 1.596(V-128), G = 1.164(Y-16) - 0.391(U-128) - 0.813(V-128),
// B = 1.164(Y-16) + 2.018(U-128), each rounded and clamped to 0..255.

#include <algorithm>
#include <cstdint>

namespace vistrel::engine {

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
