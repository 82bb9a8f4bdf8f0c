#pragma once
// When a video's first picture is shown, on the file's clock: where the
// clip's time, and so its sound, starts.
//
// FFMS2 gives each frame its presentation time, except in MPEG-TS and
// MPEG-PS, whose frames it times by their decoding times. With B-frames the
// first picture is decoded a frame or two before it is shown (a camera's
// .MTS, an HDV .m2t); its presentation time is that of the stream's first
// keyframe, read from the packets.

#include "engine/source/SeekMode.h"

#include <cstdint>
#include <string>

namespace vistrel::engine {

// In ticks of the stream's time base. ffmsFirstTick: the first frame's time
// as FFMS2 gives it, which is the answer where FFMS2 keeps presentation
// times, and where the packets tell nothing.
int64_t firstPictureTick(const std::string& path, int streamIndex, const StreamTraits& stream, int64_t ffmsFirstTick);

}  // namespace vistrel::engine
