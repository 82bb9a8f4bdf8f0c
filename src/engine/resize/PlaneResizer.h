#pragma once
// Separable resizing of one plane: a vertical and a horizontal pass with
// 14-bit integer taps, each rounding and clamping to 8 bits. A pass that would
// change nothing is skipped. Packed pixels (RGB32, RGB24) are filtered per
// byte, with `channels` bytes to a pixel.

#include "engine/core/Frame.h"
#include "engine/resize/ResamplingProgram.h"

#include <optional>

namespace vistrel::engine {

class PlaneResizer {
public:
    PlaneResizer(int channels, ResamplingProgram horizontal, ResamplingProgram vertical, bool verticalFirst);

    int targetWidth() const { return horizontal_.targetSize(); }
    int targetHeight() const { return vertical_.targetSize(); }

    // src is sourceSize() x sourceSize() of the programs, dst the target size.
    void resize(const Plane& src, const Plane& dst) const;

    using HorizontalPass = void (*)(const Plane& src, const Plane& dst, const ResamplingProgram& program,
                                    int blockOutputs);

private:
    int channels_;
    ResamplingProgram horizontal_;
    ResamplingProgram vertical_;
    bool verticalFirst_;
    bool skipHorizontal_;
    bool skipVertical_;
    HorizontalPass horizontalPass_;
    int blockOutputs_;  // outputs that may read their taps in whole blocks
};

// Whether resizing src to dst filters vertically first: only when the height
// shrinks by a larger factor than the width (src_h * dst_w > src_w * dst_h).
// The first pass shrinks the more, so the second works on the smaller
// picture; and the first pass then reads the source row by row, in memory
// order, which matters for a decoder's picture that no cache holds yet. A
// 1080p picture going to 176x120 is cut to 176 columns first.
bool resizeVerticalFirst(int srcWidth, int srcHeight, int dstWidth, int dstHeight);

}  // namespace vistrel::engine
