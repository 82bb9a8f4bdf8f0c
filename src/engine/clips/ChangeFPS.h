#pragma once
// A clip at another frame rate by time: ChangeFPS, and sources that offer a
// rate of their own (FFVideoSource's fpsnum).

#include "engine/core/Clip.h"

namespace vistrel::engine {

// The clip at another rate, frame n showing the child's frame on screen at n / rate.
// Throws ScriptError for a clip without video or too many frames.
ClipPtr changeFps(ClipPtr child, Rational rate, bool linear);

}  // namespace vistrel::engine
