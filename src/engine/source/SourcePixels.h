#pragma once
// Which pixel type a source hands out and how an FFMS2 frame becomes an
// engine frame. YUV of any layout comes out as YV12 (4:2:0), RGB as RGB32,
// unless the script asked for a type.

#include "engine/Frame.h"

#include <ffms.h>

#include <optional>

namespace vistrel::engine {

// encodedFormat: the decoder's AVPixelFormat.
PixelType sourcePixelType(int encodedFormat, std::optional<PixelType> requested);

// The AVPixelFormat whose memory layout is that of the engine's type.
int avPixelFormatOf(PixelType type);

// A copy of a frame that FFMS2 has already converted to avPixelFormatOf(type).
MutableFramePtr copyFfmsFrame(const FFMS_Frame& frame, PixelType type);

}  // namespace vistrel::engine
