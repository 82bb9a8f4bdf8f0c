#pragma once
// What vistrel-render writes: the frames of a clip with their sound, into a
// media file, PNG pictures or nowhere; or the --info listing of the clip.

#include "cli/MediaWriter.h"
#include "cli/ProgressBar.h"
#include "engine/core/Clip.h"
#include "engine/core/Frame.h"
#include "engine/core/VideoInfo.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vistrel::cli {

// Where rendered pictures and sound go: a media file, PNG pictures, or nowhere.
class FrameSink {
public:
    virtual ~FrameSink() = default;
    virtual bool wantsSound() const { return false; }
    // number: the frame's number in the clip.
    virtual void frame(const engine::Frame& frame, int64_t number) = 0;
    virtual void samples(const void* /*data*/, int64_t /*count*/) {}
    virtual void finish() {}
};

class NullSink : public FrameSink {
public:
    bool wantsSound() const override { return true; }
    void frame(const engine::Frame&, int64_t) override {}
};

class MediaSink : public FrameSink {
public:
    MediaSink(const std::string& path, const engine::VideoInfo& info,
              const std::function<void(const std::string& partial)>& partialCreated)
        : writer_(path, info, partialCreated) {}
    bool wantsSound() const override { return writer_.writesSound(); }
    void frame(const engine::Frame& frame, int64_t) override { writer_.writeFrame(frame); }
    void samples(const void* data, int64_t count) override { writer_.writeSamples(data, count); }
    void finish() override { writer_.finish(); }

private:
    MediaWriter writer_;
};

// DIR/000120.png, DIR/000121.png, ...: each picture named by its frame's
// number (at least six digits); the folder is created.
class PngSink : public FrameSink {
public:
    explicit PngSink(const std::string& folder);
    void frame(const engine::Frame& frame, int64_t number) override;

private:
    std::string folder_;
};

struct RenderStats {
    int64_t frames = 0;
    int64_t samples = 0;
    double seconds = 0;
};

// Pulls frames first..last (inclusive) of clip, with the sound under them, into
// sink: the sound as long as those frames last, whatever the clip's own sound's length.
RenderStats render(engine::Clip& clip, int64_t first, int64_t last, FrameSink& sink, ProgressBar& progress);

// The --info listing of a clip: one "name: value" per line, how long its
// pictures and its sound last (in seconds, to the millisecond; a render
// writes the sound as long as the pictures), and for a media file of
// variable frame rate the rate it is played at.
std::string describeClip(const engine::VideoInfo& info, bool conformedVariableRate = false);

}  // namespace vistrel::cli
