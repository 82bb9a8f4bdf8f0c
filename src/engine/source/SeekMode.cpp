#include "engine/source/SeekMode.h"

#include "engine/core/FFmpegPtr.h"
#include "engine/source/FfmsLibrary.h"

namespace vistrel::engine {

namespace {

bool codesEveryFrameAlone(AVCodecID codec) {
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get(codec);
    return descriptor && (descriptor->props & AV_CODEC_PROP_INTRA_ONLY);
}

}  // namespace

SeekMethod seekMethodFor(const StreamTraits& stream) {
    const AVCodecID codec = stream.codec;
    if (codesEveryFrameAlone(codec) || !stream.reordersFrames) return SeekMethod::Seek;
    if (stream.container == "mpeg") return SeekMethod::DecodeInOrder;  // MPEG-PS: seeks land a frame off
    if (stream.container != "avi") {
        if (codec == AV_CODEC_ID_H264 || codec == AV_CODEC_ID_HEVC) return SeekMethod::SeekCountingDropped;
        const bool mpegOneOrTwo = codec == AV_CODEC_ID_MPEG1VIDEO || codec == AV_CODEC_ID_MPEG2VIDEO;
        return mpegOneOrTwo ? SeekMethod::SeekWithPreroll : SeekMethod::Seek;
    }
    if (codec == AV_CODEC_ID_H264) return SeekMethod::Seek;
    const bool prerollSuffices = codec == AV_CODEC_ID_MPEG4 || codec == AV_CODEC_ID_MPEG2VIDEO;
    return prerollSuffices ? SeekMethod::SeekWithPreroll : SeekMethod::DecodeInOrder;
}

StreamTraits probeStream(const std::string& path, int streamIndex, bool lookAtPackets) {
    AVFormatContext* opened = nullptr;
    if (const int rc = avformat_open_input(&opened, path.c_str(), nullptr, nullptr); rc < 0)
        throw MediaError(err2str(rc));
    InputFormatUPtr format(opened);

    StreamTraits traits;
    traits.container = format->iformat->name;
    bool packetsRead = false;
    // MPEG-PS announces its streams only in its packets.
    if (streamIndex >= 0 && static_cast<unsigned>(streamIndex) >= format->nb_streams)
        packetsRead = avformat_find_stream_info(format.get(), nullptr) >= 0;
    if (streamIndex < 0 || static_cast<unsigned>(streamIndex) >= format->nb_streams)
        throw MediaError("The file's streams changed while it was being opened.");
    const AVStream* stream = format->streams[streamIndex];
    traits.codec = stream->codecpar->codec_id;
    traits.tickNum = stream->time_base.num;
    traits.tickDen = stream->time_base.den;
    traits.width = stream->codecpar->width;
    traits.height = stream->codecpar->height;
    // Elsewhere a stream without B-frames seeks the same way, only without dropped frames.
    if (!lookAtPackets || seekMethodFor(traits) == SeekMethod::Seek ||
        (traits.container != "avi" && traits.container != "mpeg"))
        return traits;

    // Whether the stream has B-frames is known only once a few packets are decoded.
    if (packetsRead || avformat_find_stream_info(format.get(), nullptr) >= 0)
        traits.reordersFrames = stream->codecpar->video_delay > 0;
    return traits;
}

}  // namespace vistrel::engine
