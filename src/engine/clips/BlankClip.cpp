#include "engine/clips/BlankClip.h"

#include "engine/core/Pixels.h"
#include "engine/core/ScriptError.h"

#include <algorithm>
#include <cmath>
#include <strings.h>

namespace vistrel::engine {

namespace {

constexpr double kTwoTo24 = 16777216.0;
constexpr int kMaxSide = 65535;

VideoInfo defaultInfo() {
    VideoInfo vi;
    vi.width = 640;
    vi.height = 480;
    vi.pixelType = PixelType::RGB32;
    vi.fps = {24, 1};
    vi.frameCount = 240;
    vi.audioRate = 44100;
    vi.channels = 1;
    vi.sampleType = SampleType::Int16;
    vi.audioSamples = 441000;
    return vi;
}

// Samples in `frames` frames at the given rate, also for a clip without video.
int64_t samplesForFrames(int64_t frames, int rate, Rational fps) {
    VideoInfo timing;
    timing.width = timing.height = 1;
    timing.fps = fps;
    timing.audioRate = rate;
    return timing.samplesBeforeFrame(frames);
}

// ceil(a * b / c) for positive c, without overflowing on long clips.
int64_t mulDivCeil(int64_t a, int64_t b, int64_t c) {
#if defined(__SIZEOF_INT128__)
    __extension__ using Wide = __int128;
    return static_cast<int64_t>((Wide(a) * b + c - 1) / c);
#else
    return static_cast<int64_t>(std::ceil(static_cast<long double>(a) * b / c));
#endif
}

// The description the request's parameters start from: the template with the
// gaps a template without video or sound leaves filled in.
VideoInfo startingPoint(const BlankClipRequest& rq) {
    if (!rq.templateInfo) return defaultInfo();
    VideoInfo base = *rq.templateInfo;
    const VideoInfo defaults = defaultInfo();
    if (!base.hasVideo()) {
        base.fps = defaults.fps;
        base.frameCount = defaults.frameCount;
        if (rq.width || rq.height || rq.pixelType) {
            base.width = defaults.width;
            base.height = defaults.height;
            base.pixelType = defaults.pixelType;
        }
    }
    if (!base.hasAudio() && (rq.audioRate || rq.channels || rq.sampleType)) {
        base.audioRate = defaults.audioRate;
        base.channels = defaults.channels;
        base.sampleType = defaults.sampleType;
    }
    return base;
}

Rational requestedFrameRate(const BlankClipRequest& rq, const VideoInfo& base) {
    if (rq.fps && !std::isfinite(*rq.fps)) throw ScriptError("BlankClip: fps must be a finite number");
    if (rq.fps && (*rq.fps < 0 || *rq.fps >= 2147483647.0))
        throw ScriptError("BlankClip: fps must be between 0 and 2147483647");
    if (rq.fpsDenominator && *rq.fpsDenominator < 0)
        throw ScriptError("BlankClip: fps_denominator must not be negative");
    if (rq.fps && !rq.fpsDenominator) return frameRateFromFloat(*rq.fps);
    const double num = rq.fps ? *rq.fps : double(base.fps.num);
    const int64_t den = rq.fpsDenominator ? *rq.fpsDenominator : base.fps.den;
    return Rational::reduced(static_cast<int64_t>(num + 0.5), den);
}

void checkPictureSize(const VideoInfo& vi) {
    if (vi.width < 0 || vi.height < 0) throw ScriptError("BlankClip: width and height must not be negative");
    if (vi.width > kMaxSide || vi.height > kMaxSide)
        throw ScriptError("BlankClip: width and height must be at most 65535");
    if (!vi.hasVideo()) return;
    if (vi.pixelType == PixelType::YV12 && (vi.width % 2 || vi.height % 2))
        throw ScriptError("BlankClip: YV12 width and height must be even");
    if (vi.pixelType == PixelType::YUY2 && vi.width % 2) throw ScriptError("BlankClip: YUY2 width must be even");
    checkFrameSize("BlankClip", vi.width, vi.height, vi.pixelType);
}

void applyAudio(const BlankClipRequest& rq, const VideoInfo& base, VideoInfo& vi) {
    vi.audioRate = rq.audioRate.value_or(base.audioRate);
    vi.channels = rq.channels.value_or(base.channels);
    vi.sampleType = rq.sampleType.value_or(base.sampleType);
    if (vi.audioRate < 0) throw ScriptError("BlankClip: audio_rate must not be negative");
    if (vi.channels < 0) throw ScriptError("BlankClip: channels must not be negative");
    if (!vi.hasAudio()) {
        vi.removeAudio();
        return;
    }
    vi.audioSamples = samplesForFrames(vi.frameCount, vi.audioRate, vi.fps);
}

// A template with sound but no video lends its duration as a frame count.
int64_t defaultFrameCount(const BlankClipRequest& rq, const VideoInfo& base, Rational fps) {
    const VideoInfo& t = rq.templateInfo ? *rq.templateInfo : base;
    if (!rq.templateInfo || t.hasVideo() || !t.hasAudio()) return base.frameCount;
    if (fps.num == 0) return base.frameCount;
    return mulDivCeil(t.audioSamples, fps.num, fps.den * t.audioRate);
}

}  // namespace

Rational frameRateFromFloat(double fps) {
    double n = fps;
    int64_t d = 1;
    while (n < kTwoTo24 && d < int64_t(kTwoTo24)) {
        n *= 2;
        d *= 2;
    }
    return Rational::reduced(static_cast<int64_t>(n + 0.5), d);
}

std::optional<PixelType> pixelTypeFromName(const std::string& name) {
    for (PixelType t : {PixelType::RGB32, PixelType::RGB24, PixelType::YV12, PixelType::YUY2})
        if (strcasecmp(name.c_str(), pixelTypeName(t).c_str()) == 0) return t;
    return std::nullopt;
}

VideoInfo blankClipInfo(const BlankClipRequest& rq) {
    const VideoInfo base = startingPoint(rq);
    VideoInfo vi;
    vi.width = rq.width.value_or(base.width);
    vi.height = rq.height.value_or(base.height);
    vi.pixelType = base.pixelType;
    if (rq.pixelType) {
        auto type = pixelTypeFromName(*rq.pixelType);
        if (!type) throw ScriptError("BlankClip: pixel_type must be \"RGB32\", \"RGB24\", \"YV12\" or \"YUY2\"");
        vi.pixelType = *type;
    }
    checkPictureSize(vi);
    vi.fps = requestedFrameRate(rq, base);
    if (rq.length && *rq.length < 0) throw ScriptError("BlankClip: length must not be negative");
    vi.frameCount = rq.length ? *rq.length : defaultFrameCount(rq, base, vi.fps);
    applyAudio(rq, base, vi);
    if (!vi.hasVideo()) {
        vi.width = vi.height = 0;
    }
    return vi;
}

Colour blankClipColour(const BlankClipRequest& rq, const VideoInfo& info) {
    if (!rq.colorYuv) return Colour::fromRgb(static_cast<uint32_t>(rq.color.value_or(0)));
    if (rq.color.value_or(0) != 0) throw ScriptError("BlankClip: color and color_yuv are mutually exclusive");
    if (info.pixelType != PixelType::YV12 && info.pixelType != PixelType::YUY2)
        throw ScriptError("BlankClip: color_yuv only valid for YUV color spaces");
    return Colour::fromYuv(static_cast<uint32_t>(*rq.colorYuv));
}

ClipPtr makeBlankClip(const BlankClipRequest& request) {
    const VideoInfo info = blankClipInfo(request);
    return std::make_shared<BlankClip>(info, blankClipColour(request, info));
}

FramePtr solidFrame(int width, int height, PixelType type, const Colour& colour) {
    MutableFramePtr frame = Frame::create(width, height, type);
    fillFrame(*frame, colour);
    return frame;
}

BlankClip::BlankClip(const VideoInfo& info, const Colour& colour)
    : StillClip(info, info.hasVideo() ? solidFrame(info.width, info.height, info.pixelType, colour) : nullptr) {}

}  // namespace vistrel::engine
