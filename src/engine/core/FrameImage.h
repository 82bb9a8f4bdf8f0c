#pragma once
// A frame as a QImage, for the screen or for a saved picture: RGB32 and RGB24
// are copied (alpha made opaque), YV12 and YUY2 are read as Rec.601 limited
// range, as the engine's ConvertToRGB32 reads them. Alpha is ignored.
//
// A FrameImageConverter converts and scales in one pass and keeps its scaler
// between calls: one per thread. The player's is fast (bilinear); `toImage`
// makes the exact picture at the frame's own size that a saved file needs.

#include "engine/core/FFmpegPtr.h"
#include "engine/core/Frame.h"

#include <QImage>
#include <QSize>

namespace vistrel::engine {

class FrameImageConverter {
public:
    enum class Scaling { Fast, Exact };

    explicit FrameImageConverter(Scaling scaling = Scaling::Fast) : scaling_(scaling) {}

    // The frame as an RGB32 image of `size`, or of the frame's own size when
    // `size` is empty. Throws std::runtime_error when the scaler cannot be made.
    QImage convert(const Frame& frame, QSize size = {});

private:
    QImage scale(const Frame& frame, QSize size);

    // What the scaler was made for; a frame of another shape makes a new one.
    struct Shape {
        int width = 0, height = 0;
        PixelType type = PixelType::RGB32;
        QSize size;
        bool operator==(const Shape&) const = default;
    };

    Scaling scaling_;
    SwsContextUPtr scaler_;
    Shape scalerShape_;
};

// The frame at its own size, converted exactly (RGB24 stays 24-bit).
QImage toImage(const Frame& frame);

}  // namespace vistrel::engine
