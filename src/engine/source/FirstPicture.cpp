#include "engine/source/FirstPicture.h"

#include "engine/core/FFmpegPtr.h"

namespace vistrel::engine {

namespace {

// A stream's first keyframe lies among its first packets; a file that has
// none this early is timed as FFMS2 times it.
constexpr int kPacketsToSearch = 200;

bool timedByDecoding(const StreamTraits& stream) {
    return stream.container == "mpegts" || stream.container == "mpegtsraw" || stream.container == "mpeg";
}

}  // namespace

int64_t firstPictureTick(const std::string& path, int streamIndex, const StreamTraits& stream, int64_t ffmsFirstTick) {
    if (!timedByDecoding(stream)) return ffmsFirstTick;
    AVFormatContext* opened = nullptr;
    if (avformat_open_input(&opened, path.c_str(), nullptr, nullptr) < 0) return ffmsFirstTick;
    InputFormatUPtr format(opened);
    AVPacketUPtr packet(av_packet_alloc());
    int looked = 0;
    while (looked < kPacketsToSearch && av_read_frame(format.get(), packet.get()) >= 0) {
        const bool ours = packet->stream_index == streamIndex;
        const bool shownKeyframe = ours && (packet->flags & AV_PKT_FLAG_KEY) && packet->pts != AV_NOPTS_VALUE;
        const int64_t shownAt = packet->pts;
        av_packet_unref(packet.get());
        if (shownKeyframe) return shownAt;
        looked += ours ? 1 : 0;
    }
    return ffmsFirstTick;
}

}  // namespace vistrel::engine
