#pragma once
// How a source finds frame n. FFMS2 seeks to the keyframe before n and
// decodes on. In an AVI file with B-frames (other than H.264, whose picture
// order FFMS2 reads from the stream) the frames just after a keyframe may be
// B-frames that need the frame before the keyframe: after such a seek FFMS2
// cannot decode them and hands out the keyframe instead, one or two frames
// off. For those files the source first decodes the end of the previous GOP
// (see LeadingFrames.h). That was measured exact for MPEG-4 Visual and
// MPEG-2; other reordering codecs in AVI (MPEG-1 lands one frame early
// after any seek) are decoded in order, from the start when going back.
// Codecs that code every frame on its own and containers with real
// timestamps seek safely.

#include <cstdint>
#include <string>

extern "C" {
#include <libavcodec/codec_id.h>
}

namespace vistrel::engine {

enum class SeekMethod { Seek, SeekWithPreroll, DecodeInOrder };

struct StreamTraits {
    std::string container;          // libavformat's short name: "avi", "mov,mp4,m4a,3gp,3g2,mj2", ...
    AVCodecID codec = AV_CODEC_ID_NONE;
    bool reordersFrames = true;     // has B-frames, or not known to have none
    int64_t tickNum = 0;            // the stream's timestamps count ticks of tickNum / tickDen seconds
    int64_t tickDen = 1;
    int width = 0;                  // as the container states it; 0 when it does not
    int height = 0;
};

SeekMethod seekMethodFor(const StreamTraits& stream);

// What libavformat tells about one stream of a file; looks at the packets
// only where the seek method depends on it (AVI) and lookAtPackets is true
// (reordersFrames stays true otherwise). Throws MediaError.
StreamTraits probeStream(const std::string& path, int streamIndex, bool lookAtPackets = true);

}  // namespace vistrel::engine
