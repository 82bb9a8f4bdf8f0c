#pragma once
// How a source finds frame n. FFMS2's seeking trusts the timestamps it
// finds after a jump; an AVI file has none, and for a codec that reorders
// frames (B-frames) the frame it lands on can be one or two off. H.264 it
// gets right (it reads the picture order from the stream); for the other
// reordering codecs in AVI only decoding in order from the start is exact.
// Codecs that code every frame on its own and containers with real
// timestamps seek safely.

#include <cstdint>
#include <string>

extern "C" {
#include <libavcodec/codec_id.h>
}

namespace vistrel::engine {

enum class SeekMethod { Seek, DecodeInOrder };

struct StreamTraits {
    std::string container;          // libavformat's short name: "avi", "mov,mp4,m4a,3gp,3g2,mj2", ...
    AVCodecID codec = AV_CODEC_ID_NONE;
    bool reordersFrames = true;     // has B-frames, or not known to have none
    int64_t tickNum = 0;            // the stream's timestamps count ticks of tickNum / tickDen seconds
    int64_t tickDen = 1;
};

SeekMethod seekMethodFor(const StreamTraits& stream);

// What libavformat tells about one stream of a file; looks at the packets
// only where the answer depends on it (AVI). Throws MediaError.
StreamTraits probeStream(const std::string& path, int streamIndex);

}  // namespace vistrel::engine
