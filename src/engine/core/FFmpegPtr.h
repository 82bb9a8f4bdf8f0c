#pragma once
// Owning pointers for FFmpeg objects: one deleter template, one alias per type,
// and the text of an FFmpeg error code.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <memory>
#include <string>

namespace vistrel::engine {

template <typename T, void (*Free)(T*)>
struct FFmpegDeleter {
    void operator()(T* p) const {
        if (p) Free(p);
    }
};

namespace ffmpeg_detail {
inline void freeFrame(AVFrame* f) { av_frame_free(&f); }
inline void freePacket(AVPacket* p) { av_packet_free(&p); }
inline void freeCodecContext(AVCodecContext* c) { avcodec_free_context(&c); }
inline void freeSwr(SwrContext* s) { swr_free(&s); }
inline void closeInput(AVFormatContext* f) { avformat_close_input(&f); }
inline void freeOutput(AVFormatContext* f) {
    if (f->pb && !(f->oformat->flags & AVFMT_NOFILE)) avio_closep(&f->pb);
    avformat_free_context(f);
}
}  // namespace ffmpeg_detail

using AVFrameUPtr = std::unique_ptr<AVFrame, FFmpegDeleter<AVFrame, ffmpeg_detail::freeFrame>>;
using AVPacketUPtr = std::unique_ptr<AVPacket, FFmpegDeleter<AVPacket, ffmpeg_detail::freePacket>>;
using AVCodecContextUPtr =
    std::unique_ptr<AVCodecContext, FFmpegDeleter<AVCodecContext, ffmpeg_detail::freeCodecContext>>;
using SwsContextUPtr = std::unique_ptr<SwsContext, FFmpegDeleter<SwsContext, sws_freeContext>>;
using SwrContextUPtr = std::unique_ptr<SwrContext, FFmpegDeleter<SwrContext, ffmpeg_detail::freeSwr>>;
using InputFormatUPtr = std::unique_ptr<AVFormatContext, FFmpegDeleter<AVFormatContext, ffmpeg_detail::closeInput>>;
using OutputFormatUPtr = std::unique_ptr<AVFormatContext, FFmpegDeleter<AVFormatContext, ffmpeg_detail::freeOutput>>;

inline std::string err2str(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

}  // namespace vistrel::engine
