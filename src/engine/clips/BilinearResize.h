#pragma once
// BilinearResize: a triangle filter, stretched to average over the source
// when shrinking. Taps are worked out once, in the constructor. RGB is
// filtered per byte (alpha too); YV12 and YUY2 chroma are resized at their
// own size with centred samples.

#include "engine/core/Clip.h"
#include "engine/resize/PlaneResizer.h"

#include <vector>

namespace vistrel::engine {

// The part of the source that is resized; a width or height of 0 or less
// counts from the right or bottom edge.
struct SourceWindow {
    double left = 0.0;
    double top = 0.0;
    double width = 0.0;
    double height = 0.0;
};

class BilinearResize final : public Clip {
public:
    // Throws ScriptError for a size the pixel type cannot take.
    BilinearResize(ClipPtr child, int width, int height, SourceWindow window = {});

protected:
    FramePtr makeFrame(int64_t n) override;
    void readAudio(void* dst, int64_t start, int64_t count) override;

private:
    FramePtr resizeYuy2(const Frame& src) const;

    ClipPtr child_;
    std::vector<PlaneResizer> planes_;  // Y, U, V for YUV; one packed plane for RGB
};

}  // namespace vistrel::engine
