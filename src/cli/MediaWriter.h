#pragma once
// Writes a clip's pictures and sound to a media file through FFmpeg. The
// container follows the file's extension: lossless FFV1 in .avi and .mkv (with
// PCM sound), H.264 and AAC in .mp4 and .mov, raw YUV in .y4m (no sound).

#include "cli/PartialFile.h"
#include "engine/core/FFmpegPtr.h"
#include "engine/core/Frame.h"
#include "engine/core/VideoInfo.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vistrel::cli {

class MediaWriter {
public:
    // Throws std::runtime_error with a message for the user. partialCreated
    // hears the partial file's name as soon as it exists.
    MediaWriter(const std::string& path, const engine::VideoInfo& info,
                const std::function<void(const std::string& partial)>& partialCreated = {});
    ~MediaWriter();
    MediaWriter(const MediaWriter&) = delete;
    MediaWriter& operator=(const MediaWriter&) = delete;

    static bool knowsExtension(const std::string& path);

    bool writesSound() const { return audioCodec_ != nullptr; }
    // Pictures in order; the first one written is output frame 0.
    void writeFrame(const engine::Frame& frame);
    // Interleaved samples in the clip's own format.
    void writeSamples(const void* samples, int64_t count);
    // Flushes the encoders, closes the file and gives it its name; throws when
    // the file could not be completed.
    void finish();

private:
    void openVideo(const engine::VideoInfo& info, AVCodecID codecId, AVPixelFormat format);
    void openAudio(const engine::VideoInfo& info, AVCodecID codecId);
    void sendAudioFrame(const uint8_t* samples, int count);
    void drain(AVCodecContext* codec, AVStream* stream);

    engine::VideoInfo info_;
    // Declared before the muxer, which closes the file, so that an incomplete
    // file is removed only after that.
    PartialFile file_;
    // Declared before the encoders so that it is destroyed after them.
    engine::OutputFormatUPtr format_;
    engine::AVCodecContextUPtr videoCodec_;
    engine::AVCodecContextUPtr audioCodec_;
    AVStream* videoStream_ = nullptr;
    AVStream* audioStream_ = nullptr;
    engine::SwsContextUPtr scaler_;
    engine::SwrContextUPtr resampler_;
    engine::AVFrameUPtr videoFrame_;
    engine::AVFrameUPtr audioFrame_;
    engine::AVPacketUPtr packet_;
    std::vector<uint8_t> pendingSamples_;  // samples that do not fill an encoder frame yet
    int64_t framesWritten_ = 0;
    int64_t samplesWritten_ = 0;
    bool finished_ = false;
};

}  // namespace vistrel::cli
