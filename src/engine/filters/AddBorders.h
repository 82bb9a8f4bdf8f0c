#pragma once
// A frame of solid colour around the picture. YUV borders must be even where
// the chroma is subsampled.

#include "engine/core/Clip.h"
#include "engine/core/Pixels.h"

namespace vistrel::engine {

struct Borders {
    int left = 0, top = 0, right = 0, bottom = 0;
};

class AddBorders final : public Clip {
public:
    // Negative sizes count as 0; throws ScriptError for odd YUV borders.
    AddBorders(ClipPtr child, Borders borders, const Colour& colour);

    // The child itself when no border is added, otherwise a new AddBorders.
    static ClipPtr create(ClipPtr child, Borders borders, uint32_t colour);

protected:
    FramePtr makeFrame(int64_t n) override;
    void readAudio(void* dst, int64_t start, int64_t count) override;

private:
    ClipPtr child_;
    Borders borders_;
    Colour colour_;
};

}  // namespace vistrel::engine
