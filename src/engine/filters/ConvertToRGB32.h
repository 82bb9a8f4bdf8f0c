#pragma once
// ConvertToRGB32: RGB24 gains an opaque alpha; YV12 and YUY2 are converted
// with Rec.601 limited range to full-range RGB, alpha 255. YV12 chroma is
// first brought to full size with a bicubic (b = c = 1/3), taking the samples
// as sitting on the left luma column and between the luma rows.

#include "engine/core/Clip.h"
#include "engine/resize/PlaneResizer.h"

#include <memory>

namespace vistrel::engine {

class ConvertToRGB32 final : public Clip {
public:
    // The clip itself when it is RGB32 already (or has no video).
    static ClipPtr create(ClipPtr child);

    explicit ConvertToRGB32(ClipPtr child);

protected:
    FramePtr makeFrame(int64_t n) override;
    void readAudio(void* dst, int64_t start, int64_t count) override;

private:
    using Conversion = void (ConvertToRGB32::*)(const Frame& src, Frame& dst) const;

    void fromRgb24(const Frame& src, Frame& dst) const;
    void fromYv12(const Frame& src, Frame& dst) const;
    void fromYuy2(const Frame& src, Frame& dst) const;

    ClipPtr child_;
    Conversion conversion_;
    std::unique_ptr<PlaneResizer> chromaUpsampler_;  // YV12 only
};

}  // namespace vistrel::engine
