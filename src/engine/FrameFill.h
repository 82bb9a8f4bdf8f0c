#pragma once
// Painting solid rectangles into frames of any pixel type.

#include "engine/Colour.h"
#include "engine/Frame.h"

namespace vistrel::engine {

// Fills [x, x+w) x [y, y+h), clipped to the frame. For YV12 the chroma planes
// cover the same area at half size, and for YUY2 whole pixel pairs are
// written, so x, y, w and h should be even for those types.
void fillRect(Frame& frame, int x, int y, int w, int h, const Colour& colour);

inline void fillFrame(Frame& frame, const Colour& colour) {
    fillRect(frame, 0, 0, frame.width(), frame.height(), colour);
}

}  // namespace vistrel::engine
