#include "engine/text/TextComposite.h"

#include "engine/core/Pixels.h"

#include <algorithm>

namespace vistrel::engine {

namespace {

// One colour ready for blending: its opacity 0..255 and its stored values.
struct Ink {
    int opacity;
    uint8_t r, g, b;
    YuvColour yuv;

    explicit Ink(uint32_t aarrggbb)
        : opacity(255 - int(aarrggbb >> 24)),
          r(uint8_t(aarrggbb >> 16)),
          g(uint8_t(aarrggbb >> 8)),
          b(uint8_t(aarrggbb)),
          yuv(rgbToYuv601(aarrggbb)) {}
};

inline uint8_t blend(uint8_t under, uint8_t over, int weight) {
    return uint8_t((under * (255 - weight) + over * weight + 127) / 255);
}

// Coverage scaled by an ink's opacity.
inline int weightOf(uint8_t coverage, const Ink& ink) { return (coverage * ink.opacity + 127) / 255; }

// The part of the mask that lands on a frame of w x h.
struct Span {
    int x0, y0, x1, y1;    // in frame coordinates, exclusive ends
    int originX, originY;  // frame position of mask pixel (0,0)
};

Span visibleSpan(const TextMask& mask, int boxLeft, int boxTop, int w, int h) {
    const int ox = boxLeft - TextMask::margin(), oy = boxTop - TextMask::margin();
    return {std::max(ox, 0),
            std::max(oy, 0),
            std::min(ox + mask.maskWidth(), w),
            std::min(oy + mask.maskHeight(), h),
            ox,
            oy};
}

void drawPackedRgb(Frame& frame, const TextMask& mask, const Span& s, const Ink& text, const Ink& halo, int bpp) {
    const Plane& p = frame.plane(0);
    for (int y = s.y0; y < s.y1; ++y) {
        uint8_t* row = p.row(y);
        for (int x = s.x0; x < s.x1; ++x) {
            const int mx = x - s.originX, my = y - s.originY;
            const int hw = weightOf(mask.halo(mx, my), halo), tw = weightOf(mask.glyph(mx, my), text);
            if (hw == 0 && tw == 0) continue;
            uint8_t* px = row + x * bpp;
            px[0] = blend(blend(px[0], halo.b, hw), text.b, tw);
            px[1] = blend(blend(px[1], halo.g, hw), text.g, tw);
            px[2] = blend(blend(px[2], halo.r, hw), text.r, tw);
        }
    }
}

// Weights for a pixel; outside the mask both are 0.
struct Weights {
    int halo = 0, text = 0;
};

Weights weightsAt(const TextMask& mask, const Span& s, int x, int y, const Ink& text, const Ink& halo) {
    const int mx = x - s.originX, my = y - s.originY;
    if (mx < 0 || my < 0 || mx >= mask.maskWidth() || my >= mask.maskHeight()) return {};
    return {weightOf(mask.halo(mx, my), halo), weightOf(mask.glyph(mx, my), text)};
}

void drawLuma(const Plane& p, int step, const TextMask& mask, const Span& s, const Ink& text, const Ink& halo) {
    for (int y = s.y0; y < s.y1; ++y)
        for (int x = s.x0; x < s.x1; ++x) {
            const Weights w = weightsAt(mask, s, x, y, text, halo);
            uint8_t& v = p.row(y)[x * step];
            v = blend(blend(v, halo.yuv.y, w.halo), text.yuv.y, w.text);
        }
}

// Blends one chroma sample that serves the luma pixels [x, x+cw) x [y, y+ch).
void blendChroma(uint8_t& u, uint8_t& v, const TextMask& mask, const Span& s, int x, int y, int cw, int ch,
                 const Ink& text, const Ink& halo) {
    int haloSum = 0, textSum = 0;
    for (int dy = 0; dy < ch; ++dy)
        for (int dx = 0; dx < cw; ++dx) {
            const Weights w = weightsAt(mask, s, x + dx, y + dy, text, halo);
            haloSum += w.halo;
            textSum += w.text;
        }
    const int n = cw * ch;
    const int hw = (haloSum + n / 2) / n, tw = (textSum + n / 2) / n;
    u = blend(blend(u, halo.yuv.u, hw), text.yuv.u, tw);
    v = blend(blend(v, halo.yuv.v, hw), text.yuv.v, tw);
}

void drawYv12(Frame& frame, const TextMask& mask, const Span& s, const Ink& text, const Ink& halo) {
    drawLuma(frame.plane(0), 1, mask, s, text, halo);
    const Plane& pu = frame.plane(1);
    const Plane& pv = frame.plane(2);
    for (int cy = s.y0 / 2; cy < (s.y1 + 1) / 2 && cy < pu.rows; ++cy)
        for (int cx = s.x0 / 2; cx < (s.x1 + 1) / 2 && cx < pu.rowBytes; ++cx)
            blendChroma(pu.row(cy)[cx], pv.row(cy)[cx], mask, s, cx * 2, cy * 2, 2, 2, text, halo);
}

void drawYuy2(Frame& frame, const TextMask& mask, const Span& s, const Ink& text, const Ink& halo) {
    const Plane& p = frame.plane(0);
    drawLuma(p, 2, mask, s, text, halo);
    for (int y = s.y0; y < s.y1; ++y)
        for (int pair = s.x0 / 2; pair < (s.x1 + 1) / 2; ++pair) {
            uint8_t* px = p.row(y) + pair * 4;
            blendChroma(px[1], px[3], mask, s, pair * 2, y, 2, 1, text, halo);
        }
}

}  // namespace

void drawTextMask(Frame& frame, const TextMask& mask, int boxLeft, int boxTop, const TextColours& colours) {
    if (mask.empty()) return;
    const Span s = visibleSpan(mask, boxLeft, boxTop, frame.width(), frame.height());
    if (s.x1 <= s.x0 || s.y1 <= s.y0) return;
    const Ink text(colours.text), halo(colours.halo);
    switch (frame.pixelType()) {
    case PixelType::RGB32: drawPackedRgb(frame, mask, s, text, halo, 4); break;
    case PixelType::RGB24: drawPackedRgb(frame, mask, s, text, halo, 3); break;
    case PixelType::YV12: drawYv12(frame, mask, s, text, halo); break;
    case PixelType::YUY2: drawYuy2(frame, mask, s, text, halo); break;
    }
}

}  // namespace vistrel::engine
