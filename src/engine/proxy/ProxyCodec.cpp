#include "engine/proxy/ProxyCodec.h"

#include "engine/core/ScriptError.h"

extern "C" {
#include <libavutil/opt.h>
}

#include <algorithm>
#include <cstring>

namespace vistrel::engine {

namespace {

// What both coders share: the proxy's size, no B-frames, one thread.
AVCodecContextUPtr newContext(const AVCodec* codec, int width, int height, Rational fps) {
    AVCodecContextUPtr c(avcodec_alloc_context3(codec));
    c->width = width;
    c->height = height;
    c->pix_fmt = AV_PIX_FMT_YUV420P;
    c->time_base = AVRational{int(fps.den), int(fps.num)};
    c->framerate = AVRational{int(fps.num), int(fps.den)};
    c->gop_size = kProxyKeyframeDistance;
    c->max_b_frames = 0;
    c->thread_count = 1;
    return c;
}

// H.264 at a constant quality; "zerolatency" leaves out B-frames and the
// look-ahead, so each picture comes out as soon as it goes in.
AVCodecContextUPtr openH264(const AVCodec* codec, int width, int height, Rational fps) {
    AVCodecContextUPtr c = newContext(codec, width, height, fps);
    c->keyint_min = kProxyKeyframeDistance;
    av_opt_set(c->priv_data, "preset", "veryfast", 0);
    av_opt_set(c->priv_data, "tune", "zerolatency", 0);
    av_opt_set(c->priv_data, "crf", "21", 0);
    av_opt_set(c->priv_data, "x264-params", "scenecut=0", 0);
    if (avcodec_open2(c.get(), codec, nullptr) < 0) return nullptr;
    return c;
}

AVCodecContextUPtr openMpeg4(const AVCodec* codec, int width, int height, Rational fps) {
    AVCodecContextUPtr c = newContext(codec, width, height, fps);
    c->flags |= AV_CODEC_FLAG_QSCALE;
    c->global_quality = FF_QP2LAMBDA * 4;
    if (avcodec_open2(c.get(), codec, nullptr) < 0) return nullptr;
    return c;
}

}  // namespace

ProxyEncoder::ProxyEncoder(int width, int height, Rational fps) : packet_(av_packet_alloc()), frame_(av_frame_alloc()) {
    if (const AVCodec* x264 = avcodec_find_encoder_by_name("libx264")) context_ = openH264(x264, width, height, fps);
    if (!context_)
        if (const AVCodec* mpeg4 = avcodec_find_encoder(AV_CODEC_ID_MPEG4))
            context_ = openMpeg4(mpeg4, width, height, fps);
    if (!context_) throw ScriptError("Cannot make a proxy: FFmpeg has neither an H.264 nor an MPEG-4 encoder.");
    frame_->width = width;
    frame_->height = height;
    frame_->format = AV_PIX_FMT_YUV420P;
}

int ProxyEncoder::codec() const { return context_->codec_id; }

std::vector<ProxyPacket> ProxyEncoder::encode(const Frame& picture, int64_t n) {
    // The encoder copies a picture that is not reference-counted, so the
    // frame's planes are lent to it.
    for (int p = 0; p < 3; ++p) {
        frame_->data[p] = picture.plane(p).data;
        frame_->linesize[p] = picture.plane(p).stride;
    }
    frame_->pts = n;
    return send(frame_.get());
}

std::vector<ProxyPacket> ProxyEncoder::finish() { return send(nullptr); }

std::vector<ProxyPacket> ProxyEncoder::send(const AVFrame* frame) {
    if (const int error = avcodec_send_frame(context_.get(), frame); error < 0)
        throw ScriptError("Cannot code a proxy picture: " + err2str(error));
    std::vector<ProxyPacket> out;
    while (avcodec_receive_packet(context_.get(), packet_.get()) == 0) {
        ProxyPacket packet;
        packet.frame = packet_->pts;
        packet.key = (packet_->flags & AV_PKT_FLAG_KEY) != 0;
        packet.data.assign(packet_->data, packet_->data + packet_->size);
        out.push_back(std::move(packet));
        av_packet_unref(packet_.get());
    }
    return out;
}

ProxyDecoder::ProxyDecoder(int codec, int width, int height)
    : packet_(av_packet_alloc()), frame_(av_frame_alloc()), width_(width), height_(height) {
    const AVCodec* decoder = avcodec_find_decoder(AVCodecID(codec));
    if (decoder) context_.reset(avcodec_alloc_context3(decoder));
    if (context_) {
        context_->thread_count = 1;
        context_->flags |= AV_CODEC_FLAG_LOW_DELAY;
        if (avcodec_open2(context_.get(), decoder, nullptr) < 0) context_.reset();
    }
    if (!context_) throw ScriptError("Cannot read a proxy: FFmpeg cannot decode its pictures.");
}

FramePtr ProxyDecoder::decode(std::span<const uint8_t> payload, int64_t n, int64_t& shown) {
    packet_->data = const_cast<uint8_t*>(payload.data());
    packet_->size = int(payload.size());
    packet_->pts = n;
    const int error = avcodec_send_packet(context_.get(), packet_.get());
    packet_->data = nullptr;
    packet_->size = 0;
    if (error < 0) return nullptr;
    return receive(shown);
}

FramePtr ProxyDecoder::drain(int64_t wanted) {
    avcodec_send_packet(context_.get(), nullptr);
    int64_t shown = -1;
    while (FramePtr picture = receive(shown))
        if (shown == wanted) return picture;
    return nullptr;
}

void ProxyDecoder::restart() { avcodec_flush_buffers(context_.get()); }

FramePtr ProxyDecoder::receive(int64_t& shown) {
    if (avcodec_receive_frame(context_.get(), frame_.get()) != 0) return nullptr;
    MutableFramePtr picture;
    if (frame_->width == width_ && frame_->height == height_ && frame_->format == AV_PIX_FMT_YUV420P) {
        picture = Frame::create(width_, height_, PixelType::YV12);
        for (int p = 0; p < 3; ++p) {
            const Plane& to = picture->plane(p);
            for (int y = 0; y < to.rows; ++y)
                std::memcpy(to.row(y), frame_->data[p] + ptrdiff_t(y) * frame_->linesize[p], size_t(to.rowBytes));
        }
    }
    shown = frame_->pts != AV_NOPTS_VALUE ? frame_->pts : frame_->best_effort_timestamp;
    av_frame_unref(frame_.get());
    return picture;
}

}  // namespace vistrel::engine
