#pragma once
// Where rendered pictures and sound go: a media file, PNG pictures, or nowhere.

#include "cli/MediaWriter.h"
#include "engine/Frame.h"

#include <cstdint>
#include <memory>
#include <string>

namespace vistrel::cli {

class FrameSink {
public:
    virtual ~FrameSink() = default;
    virtual bool wantsSound() const { return false; }
    virtual void frame(const engine::Frame& frame, int64_t outputIndex) = 0;
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
    MediaSink(const std::string& path, const engine::VideoInfo& info) : writer_(path, info) {}
    bool wantsSound() const override { return writer_.writesSound(); }
    void frame(const engine::Frame& frame, int64_t) override { writer_.writeFrame(frame); }
    void samples(const void* data, int64_t count) override { writer_.writeSamples(data, count); }
    void finish() override { writer_.finish(); }

private:
    MediaWriter writer_;
};

// DIR/000000.png, DIR/000001.png, ... numbered by output frame; the folder is created.
class PngSink : public FrameSink {
public:
    explicit PngSink(const std::string& folder);
    void frame(const engine::Frame& frame, int64_t outputIndex) override;

private:
    std::string folder_;
};

}  // namespace vistrel::cli
