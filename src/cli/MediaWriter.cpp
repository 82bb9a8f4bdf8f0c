#include "cli/MediaWriter.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace vistrel::cli {

using engine::err2str;
using engine::PixelType;

namespace {

struct ContainerChoice {
    const char* extension;
    const char* muxer;
    AVCodecID video;
    bool lossless;  // FFV1 and PCM; otherwise H.264 and AAC
    bool sound;
};

constexpr ContainerChoice kContainers[] = {
    {".avi", "avi", AV_CODEC_ID_FFV1, true, true},
    {".mkv", "matroska", AV_CODEC_ID_FFV1, true, true},
    {".mp4", "mp4", AV_CODEC_ID_H264, false, true},
    {".mov", "mov", AV_CODEC_ID_H264, false, true},
    {".y4m", "yuv4mpegpipe", AV_CODEC_ID_WRAPPED_AVFRAME, true, false},
};

std::string lowerExtension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

const ContainerChoice* containerFor(const std::string& path) {
    const std::string ext = lowerExtension(path);
    for (const auto& c : kContainers)
        if (ext == c.extension) return &c;
    return nullptr;
}

AVPixelFormat sourceFormat(PixelType type) {
    switch (type) {
    case PixelType::RGB32: return AV_PIX_FMT_BGRA;
    case PixelType::RGB24: return AV_PIX_FMT_BGR24;
    case PixelType::YV12: return AV_PIX_FMT_YUV420P;
    case PixelType::YUY2: return AV_PIX_FMT_YUYV422;
    }
    return AV_PIX_FMT_NONE;
}

// The encoder's picture format: the source's own where the codec takes it.
AVPixelFormat targetFormat(AVCodecID codec, PixelType type) {
    const bool rgb = type == PixelType::RGB32 || type == PixelType::RGB24;
    switch (codec) {
    case AV_CODEC_ID_FFV1:
        return rgb ? AV_PIX_FMT_BGR0 : type == PixelType::YUY2 ? AV_PIX_FMT_YUV422P : AV_PIX_FMT_YUV420P;
    case AV_CODEC_ID_WRAPPED_AVFRAME: return type == PixelType::YV12 ? AV_PIX_FMT_YUV420P : AV_PIX_FMT_YUV444P;
    default: return AV_PIX_FMT_YUV420P;
    }
}

// The output path, once it is known that the clip can be written there.
std::string checkedOutput(const std::string& path, const engine::VideoInfo& info) {
    if (!containerFor(path))
        throw std::runtime_error("Unknown output type '" + lowerExtension(path) +
                                 "': use .avi, .mkv, .mp4, .mov or .y4m");
    if (!info.hasVideo()) throw std::runtime_error("The script's clip has no video to write.");
    return path;
}

void check(int code, const std::string& what) {
    if (code < 0) throw std::runtime_error(what + ": " + err2str(code));
}

}  // namespace

bool MediaWriter::knowsExtension(const std::string& path) { return containerFor(path) != nullptr; }

MediaWriter::MediaWriter(const std::string& path, const engine::VideoInfo& info,
                         const std::function<void(const std::string& partial)>& partialCreated)
    : info_(info), file_(checkedOutput(path, info)) {
    if (partialCreated) partialCreated(file_.partialPath());
    const ContainerChoice* choice = containerFor(path);
    // The muxer by its name: the partial file's own name has no extension to go by.
    AVFormatContext* raw = nullptr;
    check(avformat_alloc_output_context2(&raw, nullptr, choice->muxer, file_.partialPath().c_str()),
          "Cannot write " + path);
    format_.reset(raw);
    packet_.reset(av_packet_alloc());

    openVideo(info, choice->video, targetFormat(choice->video, info.pixelType));
    if (choice->sound && info.hasAudio()) {
        const AVCodecID audio = !choice->lossless                              ? AV_CODEC_ID_AAC
                                : info.sampleType == engine::SampleType::Int16 ? AV_CODEC_ID_PCM_S16LE
                                                                               : AV_CODEC_ID_PCM_F32LE;
        openAudio(info, audio);
    }
    if (!(format_->oformat->flags & AVFMT_NOFILE))
        check(avio_open(&format_->pb, file_.partialPath().c_str(), AVIO_FLAG_WRITE),
              "Cannot create " + file_.partialPath());
    check(avformat_write_header(format_.get(), nullptr), "Cannot write the header of " + path);
}

MediaWriter::~MediaWriter() = default;

void MediaWriter::openVideo(const engine::VideoInfo& info, AVCodecID codecId, AVPixelFormat format) {
    const AVCodec* codec = avcodec_find_encoder(codecId);
    if (!codec) throw std::runtime_error(std::string("No encoder for ") + avcodec_get_name(codecId));
    videoCodec_.reset(avcodec_alloc_context3(codec));
    AVCodecContext* c = videoCodec_.get();
    c->width = info.width;
    c->height = info.height;
    c->pix_fmt = format;
    c->time_base = AVRational{static_cast<int>(info.fps.den), static_cast<int>(info.fps.num)};
    c->framerate = AVRational{static_cast<int>(info.fps.num), static_cast<int>(info.fps.den)};
    c->thread_count = 0;
    if (codecId == AV_CODEC_ID_H264) {
        av_opt_set(c->priv_data, "preset", "fast", 0);
        av_opt_set(c->priv_data, "crf", "18", 0);
    }
    if (format_->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    check(avcodec_open2(c, codec, nullptr), std::string("Cannot start the ") + codec->name + " encoder");

    videoStream_ = avformat_new_stream(format_.get(), nullptr);
    videoStream_->time_base = c->time_base;
    videoStream_->avg_frame_rate = c->framerate;
    check(avcodec_parameters_from_context(videoStream_->codecpar, c), "Cannot describe the video stream");

    videoFrame_.reset(av_frame_alloc());
    videoFrame_->format = format;
    videoFrame_->width = info.width;
    videoFrame_->height = info.height;
    check(av_frame_get_buffer(videoFrame_.get(), 0), "Out of memory");
    scaler_.reset(sws_getContext(info.width, info.height, sourceFormat(info.pixelType), info.width, info.height, format,
                                 SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT, nullptr, nullptr, nullptr));
    if (!scaler_) throw std::runtime_error("Cannot convert the pictures for the encoder");
}

void MediaWriter::openAudio(const engine::VideoInfo& info, AVCodecID codecId) {
    const AVCodec* codec = avcodec_find_encoder(codecId);
    if (!codec) throw std::runtime_error(std::string("No encoder for ") + avcodec_get_name(codecId));
    audioCodec_.reset(avcodec_alloc_context3(codec));
    AVCodecContext* c = audioCodec_.get();
    c->sample_rate = info.audioRate;
    av_channel_layout_default(&c->ch_layout, info.channels);
    c->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    c->time_base = AVRational{1, info.audioRate};
    if (codecId == AV_CODEC_ID_AAC) c->bit_rate = 192000;
    if (format_->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    check(avcodec_open2(c, codec, nullptr), std::string("Cannot start the ") + codec->name + " encoder");

    audioStream_ = avformat_new_stream(format_.get(), nullptr);
    audioStream_->time_base = c->time_base;
    check(avcodec_parameters_from_context(audioStream_->codecpar, c), "Cannot describe the audio stream");

    const AVSampleFormat from = info.sampleType == engine::SampleType::Int16 ? AV_SAMPLE_FMT_S16 : AV_SAMPLE_FMT_FLT;
    SwrContext* swr = nullptr;
    check(swr_alloc_set_opts2(&swr, &c->ch_layout, c->sample_fmt, c->sample_rate, &c->ch_layout, from, info.audioRate,
                              0, nullptr),
          "Cannot convert the sound for the encoder");
    resampler_.reset(swr);
    check(swr_init(swr), "Cannot convert the sound for the encoder");
    audioFrame_.reset(av_frame_alloc());
}

void MediaWriter::writeFrame(const engine::Frame& frame) {
    const uint8_t* planes[4] = {};
    int strides[4] = {};
    for (int i = 0; i < frame.planeCount(); ++i) {
        planes[i] = frame.plane(i).data;
        strides[i] = frame.plane(i).stride;
    }
    check(av_frame_make_writable(videoFrame_.get()), "Out of memory");
    sws_scale(scaler_.get(), planes, strides, 0, frame.height(), videoFrame_->data, videoFrame_->linesize);
    videoFrame_->pts = framesWritten_++;
    check(avcodec_send_frame(videoCodec_.get(), videoFrame_.get()), "Video encoding failed");
    drain(videoCodec_.get(), videoStream_);
}

void MediaWriter::writeSamples(const void* samples, int64_t count) {
    if (!audioCodec_ || count <= 0) return;
    const int frameBytes = info_.bytesPerAudioFrame();
    const auto* bytes = static_cast<const uint8_t*>(samples);
    pendingSamples_.insert(pendingSamples_.end(), bytes, bytes + count * frameBytes);
    const int chunk = audioCodec_->frame_size > 0 ? audioCodec_->frame_size : 4096;
    size_t offset = 0;
    while (pendingSamples_.size() - offset >= size_t(chunk) * frameBytes) {
        sendAudioFrame(pendingSamples_.data() + offset, chunk);
        offset += size_t(chunk) * frameBytes;
    }
    pendingSamples_.erase(pendingSamples_.begin(), pendingSamples_.begin() + static_cast<ptrdiff_t>(offset));
}

void MediaWriter::sendAudioFrame(const uint8_t* samples, int count) {
    AVFrame* f = audioFrame_.get();
    av_frame_unref(f);
    f->format = audioCodec_->sample_fmt;
    f->nb_samples = count;
    f->sample_rate = audioCodec_->sample_rate;
    check(av_channel_layout_copy(&f->ch_layout, &audioCodec_->ch_layout), "Out of memory");
    check(av_frame_get_buffer(f, 0), "Out of memory");
    const uint8_t* in[] = {samples};
    check(swr_convert(resampler_.get(), f->data, count, in, count), "Sound conversion failed");
    f->pts = samplesWritten_;
    samplesWritten_ += count;
    check(avcodec_send_frame(audioCodec_.get(), f), "Sound encoding failed");
    drain(audioCodec_.get(), audioStream_);
}

void MediaWriter::drain(AVCodecContext* codec, AVStream* stream) {
    for (;;) {
        const int got = avcodec_receive_packet(codec, packet_.get());
        if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return;
        check(got, "Encoding failed");
        av_packet_rescale_ts(packet_.get(), codec->time_base, stream->time_base);
        packet_->stream_index = stream->index;
        check(av_interleaved_write_frame(format_.get(), packet_.get()), "Writing the file failed");
    }
}

void MediaWriter::finish() {
    if (finished_) return;
    finished_ = true;
    if (audioCodec_) {
        const int frameBytes = info_.bytesPerAudioFrame();
        if (!pendingSamples_.empty())
            sendAudioFrame(pendingSamples_.data(), static_cast<int>(pendingSamples_.size() / frameBytes));
        pendingSamples_.clear();
        check(avcodec_send_frame(audioCodec_.get(), nullptr), "Sound encoding failed");
        drain(audioCodec_.get(), audioStream_);
    }
    check(avcodec_send_frame(videoCodec_.get(), nullptr), "Video encoding failed");
    drain(videoCodec_.get(), videoStream_);
    check(av_write_trailer(format_.get()), "Writing the end of the file failed");
    if (format_->pb) check(avio_closep(&format_->pb), "Closing the file failed");
    file_.complete();
}

}  // namespace vistrel::cli
