#include "support/FrameIndexPattern.h"

#include <algorithm>
#include <stdexcept>

namespace vistrel::test {

namespace {

constexpr int kGrid = 4;
constexpr int kIndexBits = 12;
constexpr int kDarkBelow = 96;    // block averages under this are black
constexpr int kLightAbove = 160;  // and over this white; between: unreadable

uint16_t checkNibble(int n) { return static_cast<uint16_t>(~(n ^ (n >> 4) ^ (n >> 8)) & 0xF); }

// The block of the grid that pixel (x, y) of an area of size w x h falls into.
int blockAt(int x, int y, int w, int h) { return (y * kGrid / h) * kGrid + x * kGrid / w; }

struct Span {
    int begin, end;
};

// The middle half of block b along one axis of length len, away from the
// edges that lossy codecs and resizing smear.
Span middleOfBlock(int b, int len) {
    const int begin = b * len / kGrid, end = (b + 1) * len / kGrid;
    const int quarter = (end - begin) / 4;
    return {begin + quarter, std::max(end - quarter, begin + quarter + 1)};
}

int lumaAt(const engine::Frame& frame, int x, int y) {
    const uint8_t* row = frame.plane(0).row(y);
    switch (frame.pixelType()) {
    case engine::PixelType::RGB32: return (row[x * 4] * 29 + row[x * 4 + 1] * 150 + row[x * 4 + 2] * 77) >> 8;
    case engine::PixelType::RGB24: return (row[x * 3] * 29 + row[x * 3 + 1] * 150 + row[x * 3 + 2] * 77) >> 8;
    case engine::PixelType::YUY2: return row[x * 2];
    case engine::PixelType::YV12: return row[x];
    }
    return 0;
}

void paintPixel(engine::Frame& frame, int x, int y, bool white) {
    uint8_t* row = frame.plane(0).row(y);
    const uint8_t rgb = white ? 255 : 0, luma = white ? 235 : 16;
    switch (frame.pixelType()) {
    case engine::PixelType::RGB32:
        row[x * 4] = row[x * 4 + 1] = row[x * 4 + 2] = rgb;
        row[x * 4 + 3] = 255;
        break;
    case engine::PixelType::RGB24: row[x * 3] = row[x * 3 + 1] = row[x * 3 + 2] = rgb; break;
    case engine::PixelType::YUY2:
        row[x * 2] = luma;
        row[x * 2 + 1] = 128;
        break;
    case engine::PixelType::YV12:
        row[x] = luma;
        frame.plane(1).row(y / 2)[x / 2] = 128;
        frame.plane(2).row(y / 2)[x / 2] = 128;
        break;
    }
}

void requireInside(const engine::Frame& frame, const QRect& area) {
    if (area.width() < kGrid || area.height() < kGrid || !QRect(0, 0, frame.width(), frame.height()).contains(area))
        throw std::invalid_argument("frame index area lies outside the frame");
}

}  // namespace

uint16_t frameIndexCode(int n) {
    if (n < 0 || n > kMaxFrameIndex) throw std::out_of_range("frame index out of the pattern's range");
    return static_cast<uint16_t>(n | (checkNibble(n) << kIndexBits));
}

std::vector<uint8_t> frameIndexPicture(int n, int width, int height) {
    const uint16_t code = frameIndexCode(n);
    std::vector<uint8_t> picture(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture[static_cast<size_t>(y) * width + x] = (code >> blockAt(x, y, width, height)) & 1 ? 255 : 0;
    return picture;
}

void drawFrameIndex(engine::Frame& frame, int n, const QRect& area) {
    requireInside(frame, area);
    const uint16_t code = frameIndexCode(n);
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
            paintPixel(frame, area.x() + x, area.y() + y, (code >> blockAt(x, y, area.width(), area.height())) & 1);
}

void drawFrameIndex(engine::Frame& frame, int n) {
    drawFrameIndex(frame, n, QRect(0, 0, frame.width(), frame.height()));
}

int readFrameIndex(const engine::Frame& frame, const QRect& area) {
    requireInside(frame, area);
    int code = 0;
    for (int block = 0; block < kGrid * kGrid; ++block) {
        const Span xs = middleOfBlock(block % kGrid, area.width());
        const Span ys = middleOfBlock(block / kGrid, area.height());
        int64_t sum = 0, count = 0;
        for (int y = ys.begin; y < ys.end; ++y)
            for (int x = xs.begin; x < xs.end; ++x, ++count) sum += lumaAt(frame, area.x() + x, area.y() + y);
        const int average = static_cast<int>(sum / count);
        if (average >= kDarkBelow && average <= kLightAbove) return kNoFrameIndex;
        if (average > kLightAbove) code |= 1 << block;
    }
    const int n = code & kMaxFrameIndex;
    return (code >> kIndexBits) == checkNibble(n) ? n : kNoFrameIndex;
}

int readFrameIndex(const engine::Frame& frame) {
    return readFrameIndex(frame, QRect(0, 0, frame.width(), frame.height()));
}

int readFrameIndex(const engine::Frame& frame, int xOffset, int width) {
    return readFrameIndex(frame, QRect(xOffset, 0, width, frame.height()));
}

}  // namespace vistrel::test
