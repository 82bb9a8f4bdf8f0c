#pragma once

#include <cstdint>

namespace vistrel::model {

// A value rounded to the nearest integer, halves to the even neighbour
// (280.5 -> 280, 281.5 -> 282), held at the int64 limits when beyond them.
std::int64_t roundHalfToEven(double value);

// First frame of the segment that follows a switch point at nextFrame: the
// crossfade of `overlap` frames ends with the switch point's own frame.
std::int64_t segmentStart(double nextFrame, double overlap);

}  // namespace vistrel::model
