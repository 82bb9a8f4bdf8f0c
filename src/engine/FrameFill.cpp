#include "engine/FrameFill.h"

#include <algorithm>
#include <cstring>

namespace vistrel::engine {

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

}  // namespace vistrel::engine
