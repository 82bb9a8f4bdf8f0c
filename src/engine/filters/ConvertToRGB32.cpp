#include "engine/filters/ConvertToRGB32.h"

#include "engine/core/Pixels.h"
#include "engine/core/ScriptError.h"
#include "engine/filters/FunctionTable.h"
#include "engine/resize/PlaneBuffer.h"

#include <strings.h>

namespace vistrel::engine {

namespace {

const YuvToRgbMatrix kMatrix = YuvToRgbMatrix::rec601();

VideoInfo rgb32Info(VideoInfo vi) {
    checkFrameSize("ConvertToRGB32", vi.width, vi.height, PixelType::RGB32);
    vi.pixelType = PixelType::RGB32;
    return vi;
}

// Half-size chroma to full size. The source's chroma samples sit on even luma
// columns, so output column i reads chroma position i/2: a window starting a
// quarter of a chroma sample to the right of the centred one.
std::unique_ptr<PlaneResizer> chromaUpsampler(int width, int height) {
    const ResamplingKernel kernel = bicubicKernel(1.0 / 3.0, 1.0 / 3.0);
    const int cw = width / 2, ch = height / 2;
    return std::make_unique<PlaneResizer>(1, ResamplingProgram(kernel, cw, width, 0.25, cw),
                                          ResamplingProgram(kernel, ch, height, 0.0, ch),
                                          resizeVerticalFirst(cw, ch, width, height));
}

}  // namespace

ClipPtr ConvertToRGB32::create(ClipPtr child) {
    const VideoInfo& vi = child->info();
    if (!vi.hasVideo() || vi.pixelType == PixelType::RGB32) return child;
    return std::make_shared<ConvertToRGB32>(std::move(child));
}

ConvertToRGB32::ConvertToRGB32(ClipPtr child) : Clip(rgb32Info(child->info())), child_(std::move(child)) {
    switch (child_->info().pixelType) {
    case PixelType::RGB24: conversion_ = &ConvertToRGB32::fromRgb24; break;
    case PixelType::YV12:
        conversion_ = &ConvertToRGB32::fromYv12;
        chromaUpsampler_ = chromaUpsampler(info_.width, info_.height);
        break;
    case PixelType::YUY2: conversion_ = &ConvertToRGB32::fromYuy2; break;
    case PixelType::RGB32: conversion_ = nullptr; break;
    }
}

FramePtr ConvertToRGB32::makeFrame(int64_t n) {
    if (!conversion_) return child_->frame(n);
    MutableFramePtr out = Frame::create(info_.width, info_.height, PixelType::RGB32);
    child_->withFrame(n, [&](const Frame& src) { (this->*conversion_)(src, *out); });
    return out;
}

void ConvertToRGB32::fromRgb24(const Frame& src, Frame& dst) const {
    for (int y = 0; y < dst.height(); ++y) {
        const uint8_t* in = src.plane(0).row(y);
        uint8_t* out = dst.plane(0).row(y);
        for (int x = 0; x < dst.width(); ++x, in += 3, out += 4) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = 255;
        }
    }
}

void ConvertToRGB32::fromYv12(const Frame& src, Frame& dst) const {
    PlaneBuffer u(dst.width(), dst.height()), v(dst.width(), dst.height());
    chromaUpsampler_->resize(src.plane(1), u.plane());
    chromaUpsampler_->resize(src.plane(2), v.plane());
    for (int y = 0; y < dst.height(); ++y) {
        const uint8_t *py = src.plane(0).row(y), *pu = u.plane().row(y), *pv = v.plane().row(y);
        uint8_t* out = dst.plane(0).row(y);
        for (int x = 0; x < dst.width(); ++x) yuvToBgra(kMatrix, py[x], 2 * pu[x], 2 * pv[x], out + 4 * x);
    }
}

// Even pixels use their pair's chroma; odd pixels the mean of their pair's
// and the next pair's, the last pair its own.
void ConvertToRGB32::fromYuy2(const Frame& src, Frame& dst) const {
    const int pairs = dst.width() / 2;
    for (int y = 0; y < dst.height(); ++y) {
        const uint8_t* in = src.plane(0).row(y);
        uint8_t* out = dst.plane(0).row(y);
        for (int p = 0; p < pairs; ++p) {
            const uint8_t* pair = in + 4 * p;
            const uint8_t* next = p + 1 < pairs ? pair + 4 : pair;
            yuvToBgra(kMatrix, pair[0], 2 * pair[1], 2 * pair[3], out + 8 * p);
            yuvToBgra(kMatrix, pair[2], pair[1] + next[1], pair[3] + next[3], out + 8 * p + 4);
        }
    }
}

void ConvertToRGB32::readAudio(void* dst, int64_t start, int64_t count) { child_->audio(dst, start, count); }

namespace {

// Only the conversion described above is done: asking for another one is an error.
void requireOption(const Args& args, size_t slot, const char* name, const char* supported) {
    if (!args.defined(slot)) return;
    if (strcasecmp(args.stringOr(slot, "").c_str(), supported) != 0)
        throw ScriptError(std::string("ConvertToRGB32: only ") + name + "=\"" + supported + "\" is supported");
}

}  // namespace

// Script entry. Slots: 0 clip, 1 matrix, 2 interlaced, 3 ChromaInPlacement, 4 chromaresample.
Value createConvertToRGB32(const Args& args, Environment&) {
    requireOption(args, 1, "matrix", "Rec601");
    if (args.boolOr(2, false)) throw ScriptError("ConvertToRGB32: interlaced conversion is not supported");
    requireOption(args, 3, "ChromaInPlacement", "MPEG2");
    requireOption(args, 4, "chromaresample", "bicubic");
    return ConvertToRGB32::create(args.clip(0));
}

}  // namespace vistrel::engine
