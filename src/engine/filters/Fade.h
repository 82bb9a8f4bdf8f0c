#pragma once
// Fades to and from a solid colour, made of a blank clip and a dissolve.
// The blank clip is `frames + extraFrames` long: with 1 extra frame (FadeIn,
// FadeOut) the fade reaches the colour; with 0 it stops one step short; with
// 2 the colour is held for one more frame.

#include "engine/core/Clip.h"

namespace vistrel::engine {

ClipPtr fadeOut(ClipPtr clip, int frames, int extraFrames, uint32_t colour = 0, double fps = 24.0);
ClipPtr fadeIn(ClipPtr clip, int frames, int extraFrames, uint32_t colour = 0, double fps = 24.0);
// A fade in at the start and a fade out at the end.
ClipPtr fadeInOut(ClipPtr clip, int frames, int extraFrames, uint32_t colour = 0, double fps = 24.0);

}  // namespace vistrel::engine
