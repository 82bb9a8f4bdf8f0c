#pragma once
// How a source finds frame n. FFMS2 seeks to the keyframe before n and
// decodes on. In an open GOP the B-frames stored after an I-frame are shown
// before it and also refer to the frame before it, so decoding from the
// I-frame cannot give them; what FFMS2 (2.40) makes of that depends on the
// codec:
// - MPEG-4 Visual and MPEG-2 in AVI, MPEG-1 and MPEG-2 in MPEG-TS: asked
//   for one of those frames after seeking to the I-frame, it
//   hands out the I-frame instead. The source first decodes the end of the
//   previous GOP (see LeadingFrames.h). Other reordering codecs in AVI
//   (MPEG-1 lands one frame early after any seek) are decoded in order, from
//   the start when going back.
// - H.264 and HEVC with timestamps (MP4, MOV, MKV, MPEG-TS): the decoder
//   drops those frames, FFMS2 counts them as shown anyway, and every frame it
//   hands out until its next seek is that many frames late. The source asks
//   for a frame that many earlier (SeekCountingDropped).
// - MPEG-PS (DVD, .mpg): after a seek every frame comes a frame early; such
//   files are decoded in order.
// H.264 in AVI, codecs that code every frame on its own and streams without
// B-frames seek safely.

#include <cstdint>
#include <string>

extern "C" {
#include <libavcodec/codec_id.h>
}

namespace vistrel::engine {

enum class SeekMethod { Seek, SeekWithPreroll, SeekCountingDropped, DecodeInOrder };

struct StreamTraits {
    std::string container;  // libavformat's short name: "avi", "mov,mp4,m4a,3gp,3g2,mj2", ...
    AVCodecID codec = AV_CODEC_ID_NONE;
    bool reordersFrames = true;  // has B-frames, or not known to have none
    int64_t tickNum = 0;         // the stream's timestamps count ticks of tickNum / tickDen seconds
    int64_t tickDen = 1;
    int width = 0;  // as the container states it; 0 when it does not
    int height = 0;
};

SeekMethod seekMethodFor(const StreamTraits& stream);

// What libavformat tells about one stream of a file; looks at the packets
// only where the answer depends on it (B-frames, streams found only in the
// packets as in MPEG-PS) and lookAtPackets is true (reordersFrames stays true
// otherwise). Throws MediaError.
StreamTraits probeStream(const std::string& path, int streamIndex, bool lookAtPackets = true);

}  // namespace vistrel::engine
