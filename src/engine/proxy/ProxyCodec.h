#pragma once
// How the pictures of a preview proxy are coded: H.264 (libx264, when the
// FFmpeg build has it) or else FFmpeg's own MPEG-4 Part 2, with no B-frames
// and a keyframe every kProxyKeyframeDistance frames, so that any frame is
// decoded from at most that many small pictures. At 176x120 a picture
// decodes in a fraction of a millisecond and takes one to three KB.

#include "engine/core/FFmpegPtr.h"
#include "engine/core/Frame.h"
#include "engine/core/VideoInfo.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vistrel::engine {

inline constexpr int kProxyKeyframeDistance = 12;

struct ProxyPacket {
    int64_t frame = 0;
    bool key = false;
    std::vector<uint8_t> data;
};

class ProxyEncoder {
public:
    // Throws ScriptError when FFmpeg has neither encoder.
    ProxyEncoder(int width, int height, Rational fps);

    int codec() const;  // the AVCodecID the payloads are in

    // Codes frame n (YV12 at the proxy's size); returns the packets that
    // came out, each with the frame it holds.
    std::vector<ProxyPacket> encode(const Frame& picture, int64_t n);
    // The packets still inside the encoder.
    std::vector<ProxyPacket> finish();

private:
    std::vector<ProxyPacket> send(const AVFrame* frame);

    AVCodecContextUPtr context_;
    AVPacketUPtr packet_;
    AVFrameUPtr frame_;
};

class ProxyDecoder {
public:
    // Throws ScriptError when FFmpeg cannot decode the codec.
    ProxyDecoder(int codec, int width, int height);

    // Decodes the payload of frame n; the picture when the decoder gave one
    // out (its frame number in `shown`), null otherwise.
    FramePtr decode(std::span<const uint8_t> payload, int64_t n, int64_t& shown);
    // The pictures still inside the decoder, for a payload that gave none;
    // the decoder must restart() afterwards.
    FramePtr drain(int64_t wanted);
    // Forgets everything decoded: the next payload is a keyframe.
    void restart();

private:
    FramePtr receive(int64_t& shown);

    AVCodecContextUPtr context_;
    AVPacketUPtr packet_;
    AVFrameUPtr frame_;
    int width_;
    int height_;
};

}  // namespace vistrel::engine
