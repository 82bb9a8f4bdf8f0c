#pragma once
// Small clips for filter tests, built in memory: every byte of frame n's
// planes comes from a function of (n, plane), and every sample from a
// function of (sample, channel), so a test can tell exactly what it got.

#include "engine/core/Clip.h"
#include "engine/filters/FunctionTable.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace vistrel::test {

using PlaneValue = std::function<uint8_t(int64_t frame, int plane)>;
using SampleValue = std::function<double(int64_t sample, int channel)>;

inline engine::VideoInfo videoInfo(int w, int h, engine::PixelType type, int64_t frames,
                                   engine::Rational fps = {24, 1}) {
    engine::VideoInfo vi;
    vi.width = w;
    vi.height = h;
    vi.pixelType = type;
    vi.fps = fps;
    vi.frameCount = frames;
    return vi;
}

inline engine::VideoInfo withAudio(engine::VideoInfo vi, int rate, int channels, engine::SampleType type,
                                   int64_t samples = -1) {
    vi.audioRate = rate;
    vi.channels = channels;
    vi.sampleType = type;
    vi.audioSamples = samples >= 0 ? samples : vi.samplesBeforeFrame(vi.frameCount);
    return vi;
}

class PatternClip : public engine::Clip {
public:
    PatternClip(const engine::VideoInfo& info, PlaneValue planes, SampleValue samples = {})
        : Clip(info), planes_(std::move(planes)), samples_(std::move(samples)) {}

    int framesMade() const { return framesMade_; }

protected:
    engine::FramePtr makeFrame(int64_t n) override {
        ++framesMade_;
        auto frame = engine::Frame::create(info_.width, info_.height, info_.pixelType);
        for (int p = 0; p < frame->planeCount(); ++p) {
            const engine::Plane& plane = frame->plane(p);
            for (int y = 0; y < plane.rows; ++y) std::memset(plane.row(y), planes_(n, p), plane.rowBytes);
        }
        return frame;
    }

    void readAudio(void* dst, int64_t start, int64_t count) override {
        const int ch = info_.channels;
        for (int64_t i = 0; i < count; ++i)
            for (int c = 0; c < ch; ++c) {
                const double v = samples_ ? samples_(start + i, c) : 0.0;
                if (info_.sampleType == engine::SampleType::Int16)
                    static_cast<int16_t*>(dst)[i * ch + c] = static_cast<int16_t>(v);
                else
                    static_cast<float*>(dst)[i * ch + c] = static_cast<float>(v);
            }
    }

private:
    PlaneValue planes_;
    SampleValue samples_;
    int framesMade_ = 0;
};

// A clip whose frame n has every byte equal to `value(n)`.
inline std::shared_ptr<PatternClip> flatClip(const engine::VideoInfo& info, std::function<uint8_t(int64_t)> value,
                                             SampleValue samples = {}) {
    return std::make_shared<PatternClip>(
        info, [value](int64_t n, int) { return value(n); }, std::move(samples));
}

inline std::shared_ptr<PatternClip> constantClip(const engine::VideoInfo& info, uint8_t value,
                                                 SampleValue samples = {}) {
    return flatClip(
        info, [value](int64_t) { return value; }, std::move(samples));
}

// Arguments for a function body, one slot per signature parameter; an empty
// slot is a parameter not given.
inline engine::Args makeArgs(std::vector<std::vector<engine::Value>> slots, size_t slotCount) {
    slots.resize(slotCount);
    return engine::Args(std::move(slots));
}

inline engine::ClipPtr callClip(engine::FunctionBody body, const engine::Args& args) {
    engine::Environment env;
    return std::get<engine::ClipPtr>(body(args, env));
}

// The first byte of plane p, row y, at byte offset x.
inline uint8_t byteAt(const engine::Frame& f, int p, int x, int y) { return f.plane(p).row(y)[x]; }

// A clip's shape in one line, for comparing it whole:
// "640x480 RGB32 24/1 fps 240 frames, 44100 Hz 1 ch int16 441000 samples".
inline std::string shapeOf(const engine::VideoInfo& vi) {
    std::string text = vi.hasVideo()
                           ? std::to_string(vi.width) + "x" + std::to_string(vi.height) + " " +
                                 engine::pixelTypeName(vi.pixelType) + " " + std::to_string(vi.fps.num) + "/" +
                                 std::to_string(vi.fps.den) + " fps " + std::to_string(vi.frameCount) + " frames"
                           : std::string("no video");
    if (!vi.hasAudio()) return text + ", no sound";
    return text + ", " + std::to_string(vi.audioRate) + " Hz " + std::to_string(vi.channels) + " ch " +
           (vi.sampleType == engine::SampleType::Int16 ? "int16 " : "float ") + std::to_string(vi.audioSamples) +
           " samples";
}

template <typename T>
std::vector<T> readSamples(engine::Clip& clip, int64_t start, int64_t count) {
    std::vector<T> out(size_t(count * clip.info().channels));
    clip.audio(out.data(), start, count);
    return out;
}

}  // namespace vistrel::test

#include "engine/core/ScriptError.h"

namespace vistrel::test {

// The message of the ScriptError that `action` throws, or "(no error)".
template <typename Action>
std::string scriptErrorOf(Action&& action) {
    try {
        action();
    } catch (const engine::ScriptError& e) {
        return e.what();
    }
    return "(no error)";
}

}  // namespace vistrel::test
