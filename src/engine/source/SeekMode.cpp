#include "engine/source/SeekMode.h"

#include "engine/FFmpegPtr.h"
#include "engine/source/FfmsError.h"

namespace vistrel::engine {

namespace {

bool codesEveryFrameAlone(AVCodecID codec) {
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get(codec);
    return descriptor && (descriptor->props & AV_CODEC_PROP_INTRA_ONLY);
}

}  // namespace

SeekMethod seekMethodFor(const StreamTraits& stream) {
    if (stream.container != "avi") return SeekMethod::Seek;
    if (stream.codec == AV_CODEC_ID_H264 || codesEveryFrameAlone(stream.codec)) return SeekMethod::Seek;
    if (!stream.reordersFrames) return SeekMethod::Seek;
    const bool prerollSuffices = stream.codec == AV_CODEC_ID_MPEG4 || stream.codec == AV_CODEC_ID_MPEG2VIDEO;
    return prerollSuffices ? SeekMethod::SeekWithPreroll : SeekMethod::DecodeInOrder;
}

StreamTraits probeStream(const std::string& path, int streamIndex, bool lookAtPackets) {
    AVFormatContext* opened = nullptr;
    if (const int rc = avformat_open_input(&opened, path.c_str(), nullptr, nullptr); rc < 0)
        throw MediaError(err2str(rc));
    InputFormatUPtr format(opened);

    StreamTraits traits;
    traits.container = format->iformat->name;
    if (streamIndex < 0 || static_cast<unsigned>(streamIndex) >= format->nb_streams)
        throw MediaError("The file's streams changed while it was being opened.");
    const AVStream* stream = format->streams[streamIndex];
    traits.codec = stream->codecpar->codec_id;
    traits.tickNum = stream->time_base.num;
    traits.tickDen = stream->time_base.den;
    traits.width = stream->codecpar->width;
    traits.height = stream->codecpar->height;
    if (!lookAtPackets || seekMethodFor(traits) == SeekMethod::Seek) return traits;

    // Whether the stream has B-frames is known only once a few packets are decoded.
    if (avformat_find_stream_info(format.get(), nullptr) >= 0)
        traits.reordersFrames = stream->codecpar->video_delay > 0;
    return traits;
}

}  // namespace vistrel::engine
