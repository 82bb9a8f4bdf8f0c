#include "engine/filters/Fade.h"

#include "engine/filters/BlankClip.h"
#include "engine/filters/Dissolve.h"
#include "engine/filters/Factories.h"

#include <algorithm>

namespace vistrel::engine {

namespace {

// A clip of the colour with the picture and sound format of `clip`.
ClipPtr colourClipLike(const ClipPtr& clip, int frames, uint32_t colour) {
    BlankClipRequest request;
    request.templateInfo = clip->info();
    request.length = std::max(frames, 0);  // a negative fade is reported by Dissolve
    request.color = static_cast<int>(colour);
    return makeBlankClip(request);
}

}  // namespace

ClipPtr fadeOut(ClipPtr clip, int frames, int extraFrames, uint32_t colour, double fps) {
    ClipPtr blank = colourClipLike(clip, frames + extraFrames, colour);
    return std::make_shared<Dissolve>(std::move(clip), std::move(blank), frames, fps);
}

ClipPtr fadeIn(ClipPtr clip, int frames, int extraFrames, uint32_t colour, double fps) {
    ClipPtr blank = colourClipLike(clip, frames + extraFrames, colour);
    return std::make_shared<Dissolve>(std::move(blank), std::move(clip), frames, fps);
}

ClipPtr fadeInOut(ClipPtr clip, int frames, int extraFrames, uint32_t colour, double fps) {
    ClipPtr blank = colourClipLike(clip, frames + extraFrames, colour);
    return dissolveAll(blank, {std::move(clip), blank}, frames, fps);
}

// Script entries. Slots: 0 clip, 1 num_frames, 2 color, 3 fps.
Value createFadeIn(const Args& args, Environment&) {
    return fadeIn(args.clip(0), args.intOr(1, 0), 1, static_cast<uint32_t>(args.intOr(2, 0)), args.floatOr(3, 24.0));
}

Value createFadeOut(const Args& args, Environment&) {
    return fadeOut(args.clip(0), args.intOr(1, 0), 1, static_cast<uint32_t>(args.intOr(2, 0)), args.floatOr(3, 24.0));
}

}  // namespace vistrel::engine
