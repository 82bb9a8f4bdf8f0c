#pragma once
// Dissolve: the second clip follows the first, the last `overlap` frames of
// the first blending into the start of the second; the sound crossfades
// linearly over the same time. FadeIn and FadeOut are dissolves to and from
// a blank clip.

#include "engine/core/Clip.h"

#include <vector>

namespace vistrel::engine {

class Dissolve final : public Clip {
public:
    // Checks the clips in a fixed order and throws ScriptError for the first
    // mismatch. `fps` times the overlap only for clips without video.
    Dissolve(ClipPtr first, ClipPtr second, int overlap, double fps = 24.0);

protected:
    FramePtr makeFrame(int64_t n) override;
    void readAudio(void* dst, int64_t start, int64_t count) override;

private:
    void checkCompatible(int overlap) const;
    void planVideo();
    void planAudio(double fps);
    void readSide(Clip& clip, void* dst, int64_t start, int64_t count) const;

    ClipPtr first_;
    ClipPtr second_;
    int overlap_;
    int64_t videoFadeStart_ = 0;  // first blended frame, never negative
    int64_t videoFadeEnd_ = 0;    // last blended frame
    int64_t audioFadeStart_ = 0;  // the second clip's sound starts here
    int64_t audioFadeEnd_ = 0;    // from here on only the second clip is heard
    int64_t audioOverlap_ = 0;    // length of the ramp, from the unclamped start
};

// Dissolve(Dissolve(a, b, ov), c, ov) and so on for any number of clips.
ClipPtr dissolveAll(ClipPtr first, const std::vector<ClipPtr>& others, int overlap, double fps = 24.0);

}  // namespace vistrel::engine
