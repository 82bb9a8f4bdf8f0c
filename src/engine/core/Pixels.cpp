#include "engine/core/Pixels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

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

namespace {

// Writes one pattern of `unit` bytes `count` times from `dst`.
void repeatPattern(uint8_t* dst, const uint8_t* pattern, int unit, int count) {
    if (count <= 0) return;
    std::memcpy(dst, pattern, unit);
    int done = 1;
    while (done < count) {
        const int n = std::min(done, count - done);
        std::memcpy(dst + done * unit, dst, size_t(n) * unit);
        done += n;
    }
}

void fillPlaneRect(const Plane& plane, int x, int y, int w, int h, const uint8_t* pattern, int unit) {
    for (int row = y; row < y + h; ++row) repeatPattern(plane.row(row) + x * unit, pattern, unit, w);
}

}  // namespace

void fillRect(Frame& frame, int x, int y, int w, int h, const Colour& colour) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + w, frame.width()), y1 = std::min(y + h, frame.height());
    if (x1 <= x0 || y1 <= y0) return;
    const YuvColour& yuv = colour.yuv();
    switch (frame.pixelType()) {
    case PixelType::RGB32: {
        const uint8_t bgra[4] = {colour.blue(), colour.green(), colour.red(), colour.alpha()};
        fillPlaneRect(frame.plane(0), x0, y0, x1 - x0, y1 - y0, bgra, 4);
        break;
    }
    case PixelType::RGB24: {
        const uint8_t bgr[3] = {colour.blue(), colour.green(), colour.red()};
        fillPlaneRect(frame.plane(0), x0, y0, x1 - x0, y1 - y0, bgr, 3);
        break;
    }
    case PixelType::YUY2: {
        const uint8_t pair[4] = {yuv.y, yuv.u, yuv.y, yuv.v};
        const int px0 = x0 / 2, px1 = (x1 + 1) / 2;
        fillPlaneRect(frame.plane(0), px0, y0, px1 - px0, y1 - y0, pair, 4);
        break;
    }
    case PixelType::YV12: {
        fillPlaneRect(frame.plane(0), x0, y0, x1 - x0, y1 - y0, &yuv.y, 1);
        const int cx0 = x0 / 2, cy0 = y0 / 2;
        const int cx1 = std::min((x1 + 1) / 2, frame.plane(1).rowBytes);
        const int cy1 = std::min((y1 + 1) / 2, frame.plane(1).rows);
        fillPlaneRect(frame.plane(1), cx0, cy0, cx1 - cx0, cy1 - cy0, &yuv.u, 1);
        fillPlaneRect(frame.plane(2), cx0, cy0, cx1 - cx0, cy1 - cy0, &yuv.v, 1);
        break;
    }
    }
}

int dissolveWeight(int64_t k, int ov) {
    const float weight = static_cast<float>(double(k + 1) / (ov + 1.0));
    const float scaled = weight * 32767.0f + 0.5f;
    return static_cast<int>(scaled);
}

namespace {

void blendRow(const uint8_t* a, const uint8_t* b, uint8_t* out, int bytes, int weight) {
    const int keep = 32767 - weight;
    for (int i = 0; i < bytes; ++i) out[i] = uint8_t((a[i] * keep + b[i] * weight + 16384) >> 15);
}

}  // namespace

MutableFramePtr blendFrames(const Frame& a, const Frame& b, int weight) {
    MutableFramePtr out = Frame::create(a.width(), a.height(), a.pixelType());
    for (int p = 0; p < a.planeCount(); ++p) {
        const Plane &pa = a.plane(p), &pb = b.plane(p), &po = out->plane(p);
        for (int y = 0; y < po.rows; ++y) blendRow(pa.row(y), pb.row(y), po.row(y), po.rowBytes, weight);
    }
    return out;
}

YuvToRgbMatrix YuvToRgbMatrix::rec601() {
    constexpr double kr = 0.299, kb = 0.114, kg = 1.0 - kr - kb;
    constexpr double kLumaScale = 255.0 / 219.0, chromaScale = 255.0 / 224.0;
    constexpr double kUnit = 1 << kBits;
    auto fixed = [&](double v) { return int(std::lround(v * kUnit)); };
    return {fixed(kLumaScale), fixed(2.0 * (1.0 - kr) * chromaScale), fixed(2.0 * (1.0 - kb) * kb / kg * chromaScale),
            fixed(2.0 * (1.0 - kr) * kr / kg * chromaScale), fixed(2.0 * (1.0 - kb) * chromaScale)};
}

}  // namespace vistrel::engine
