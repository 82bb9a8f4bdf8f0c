#include "engine/filters/Fade.h"

#include "engine/clips/BlankClip.h"
#include "engine/clips/Dissolve.h"
#include "engine/core/ScriptError.h"
#include "engine/filters/FunctionTable.h"

#include <algorithm>
#include <cstdint>

namespace vistrel::engine {

namespace {

// The script name of a fade: FadeIn, FadeIn0, FadeIn2 and so on.
std::string fadeName(const char* ends, int extraFrames) {
    return std::string("Fade") + ends + (extraFrames == 1 ? "" : std::to_string(extraFrames));
}

// A clip of the colour with the picture and sound format of `clip`, as long
// as the fade plus its extra frames; that length must be a frame count.
ClipPtr colourClipLike(const ClipPtr& clip, int frames, int extraFrames, uint32_t colour, const char* ends) {
    const int64_t length = int64_t(frames) + extraFrames;
    if (length > INT32_MAX)
        throw ScriptError(fadeName(ends, extraFrames) + ": a fade of " + std::to_string(frames) +
                          " frames is too long (at most " + std::to_string(INT32_MAX - extraFrames) + ")");
    BlankClipRequest request;
    request.templateInfo = clip->info();
    request.length = static_cast<int>(std::max<int64_t>(length, 0));  // a negative fade is reported by Dissolve
    request.color = static_cast<int>(colour);
    return makeBlankClip(request);
}

}  // namespace

ClipPtr fadeOut(ClipPtr clip, int frames, int extraFrames, uint32_t colour, double fps) {
    ClipPtr blank = colourClipLike(clip, frames, extraFrames, colour, "Out");
    return std::make_shared<Dissolve>(std::move(clip), std::move(blank), frames, fps);
}

ClipPtr fadeIn(ClipPtr clip, int frames, int extraFrames, uint32_t colour, double fps) {
    ClipPtr blank = colourClipLike(clip, frames, extraFrames, colour, "In");
    return std::make_shared<Dissolve>(std::move(blank), std::move(clip), frames, fps);
}

ClipPtr fadeInOut(ClipPtr clip, int frames, int extraFrames, uint32_t colour, double fps) {
    ClipPtr blank = colourClipLike(clip, frames, extraFrames, colour, "IO");
    return dissolveAll(blank, {std::move(clip), blank}, frames, fps);
}

// Script entries, each a fade with 0, 1 or 2 extra frames. Slots: 0 clip,
// 1 num_frames, 2 color, 3 fps.
namespace {

using FadeFunction = ClipPtr (*)(ClipPtr, int, int, uint32_t, double);

Value fadeCall(FadeFunction fade, int extraFrames, const Args& args) {
    return fade(args.clip(0), args.intOr(1, 0), extraFrames, static_cast<uint32_t>(args.intOr(2, 0)),
                args.floatOr(3, 24.0));
}

}  // namespace

Value createFadeIn0(const Args& args, Environment&) { return fadeCall(fadeIn, 0, args); }
Value createFadeIn(const Args& args, Environment&) { return fadeCall(fadeIn, 1, args); }
Value createFadeIn2(const Args& args, Environment&) { return fadeCall(fadeIn, 2, args); }
Value createFadeOut0(const Args& args, Environment&) { return fadeCall(fadeOut, 0, args); }
Value createFadeOut(const Args& args, Environment&) { return fadeCall(fadeOut, 1, args); }
Value createFadeOut2(const Args& args, Environment&) { return fadeCall(fadeOut, 2, args); }
Value createFadeIO0(const Args& args, Environment&) { return fadeCall(fadeInOut, 0, args); }
Value createFadeIO(const Args& args, Environment&) { return fadeCall(fadeInOut, 1, args); }
Value createFadeIO2(const Args& args, Environment&) { return fadeCall(fadeInOut, 2, args); }

}  // namespace vistrel::engine
