#pragma once
// The 8-bit blend of a dissolve. Every byte of every plane, alpha included,
// is mixed with a 15-bit weight taken from the float weight of the second
// frame: out = (a * (32767 - w) + b * w + 16384) >> 15.

#include "engine/Frame.h"

namespace vistrel::engine {

// The 15-bit weight of the second frame for blended frame k (0-based) of an
// overlap of ov frames: (k + 1) / (ov + 1), rounded to float, scaled by 32767.
int dissolveWeight(int64_t k, int ov);

// A new frame mixing a and b (same size and type) with the second frame's weight.
MutableFramePtr blendFrames(const Frame& a, const Frame& b, int weight);

}  // namespace vistrel::engine
