#pragma once
// Which pixel type a source hands out and how an FFMS2 frame becomes an
// engine frame. YUV of any layout comes out as YV12 (4:2:0), RGB as RGB32,
// unless the script asked for a type. YV12 halves the chroma both ways and
// YUY2 across, so they need an even width (and YV12 an even height): a
// picture of odd size comes out as RGB32 instead, keeping every pixel, as
// AviSynth's AVISource falls back to RGB when a codec's YUV does not fit.

#include "engine/core/Frame.h"

#include <ffms.h>

#include <optional>

namespace vistrel::engine {

// encodedFormat: the decoder's AVPixelFormat. Throws MediaError when the
// requested type cannot hold a picture of this size.
PixelType sourcePixelType(int encodedFormat, std::optional<PixelType> requested, int width, int height);

// The AVPixelFormat whose memory layout is that of the engine's type.
int avPixelFormatOf(PixelType type);

// A frame that FFMS2 has already converted to avPixelFormatOf(type), seen in
// place: valid until FFMS2 decodes again. clone() it to keep it.
Frame ffmsFrameView(const FFMS_Frame& frame, PixelType type);

}  // namespace vistrel::engine
