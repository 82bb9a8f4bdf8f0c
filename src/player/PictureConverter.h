#pragma once
// Turns engine frames into pictures for the screen: RGB32 QImages at the size
// they are shown at, converted and scaled in one pass. YV12 and YUY2 are read
// as Rec.601 limited range, as the script engine's ConvertToRGB32 does.
//
// A converter keeps its scaler between calls; use one per thread.

#include "engine/FFmpegPtr.h"
#include "engine/Frame.h"

#include <QImage>
#include <QSize>

namespace vistrel::player {

class PictureConverter {
public:
    // The frame as an RGB32 image of `size`, or of the frame's own size when
    // `size` is empty. Throws std::runtime_error when the scaler cannot be made.
    QImage convert(const engine::Frame& frame, QSize size = {});

private:
    QImage copyUnscaled(const engine::Frame& frame) const;
    QImage scale(const engine::Frame& frame, QSize size);

    engine::SwsContextUPtr scaler_;
};

}  // namespace vistrel::player
