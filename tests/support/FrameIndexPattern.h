#pragma once
// A picture that carries a frame number: a 4 x 4 grid of black and white
// blocks. Blocks 0..11 (row by row) hold the index bits, low bit first;
// blocks 12..15 hold a check nibble, so that a black frame, a white frame or a
// blend of two frames reads as "no index" rather than as some number. The
// blocks are big enough to survive lossy codecs and shrinking to 176 x 120.

#include "engine/core/Frame.h"

#include <QRect>

#include <cstdint>
#include <vector>

namespace vistrel::test {

constexpr int kMaxFrameIndex = 4095;
constexpr int kNoFrameIndex = -1;

// The 16 block values (bit i = block i) that stand for index n.
uint16_t frameIndexCode(int n);

// An 8-bit grey picture of the pattern for index n (0 black, 255 white).
std::vector<uint8_t> frameIndexPicture(int n, int width, int height);

// Paints the pattern for index n over area of frame (any pixel type).
void drawFrameIndex(engine::Frame& frame, int n, const QRect& area);
void drawFrameIndex(engine::Frame& frame, int n);

// The index the pattern inside area shows, or kNoFrameIndex when a block is
// neither clearly black nor clearly white or the check nibble is wrong.
// Reads RGB32, RGB24, YUY2 and YV12 frames.
int readFrameIndex(const engine::Frame& frame, const QRect& area);
int readFrameIndex(const engine::Frame& frame);
// The pattern of one picture in a row of pictures of equal width, as
// StackHorizontal makes them: picture i covers x in [i * width, (i + 1) * width).
int readFrameIndex(const engine::Frame& frame, int xOffset, int width);

}  // namespace vistrel::test
