#pragma once
// FFmpeg's swscale as the reference picture for the resize and conversion
// tests: a frame of ours in, a frame of ours out.

#include "engine/core/FFmpegPtr.h"
#include "engine/core/Frame.h"

extern "C" {
#include <libavutil/opt.h>
}

#include <stdexcept>
#include <string>

namespace vistrel::test {

inline AVPixelFormat avFormat(engine::PixelType type) {
    switch (type) {
    case engine::PixelType::RGB32: return AV_PIX_FMT_BGRA;
    case engine::PixelType::RGB24: return AV_PIX_FMT_BGR24;
    case engine::PixelType::YV12: return AV_PIX_FMT_YUV420P;
    case engine::PixelType::YUY2: return AV_PIX_FMT_YUYV422;
    }
    return AV_PIX_FMT_NONE;
}

struct SwscaleSettings {
    int flags = SWS_BILINEAR;
    int srcChromaH = -513;  // 1/256 of a pixel; -513 leaves it to swscale
    int srcChromaV = -513;
    int dstChromaH = -513;
    int dstChromaV = -513;
    bool rec601TvToFullRange = false;
};

inline engine::MutableFramePtr swscale(const engine::Frame& src, int width, int height, engine::PixelType type,
                                       const SwscaleSettings& settings) {
    engine::SwsContextUPtr ctx(sws_alloc_context());
    auto set = [&](const char* name, int64_t value) {
        if (av_opt_set_int(ctx.get(), name, value, 0) < 0) throw std::runtime_error(std::string("sws option ") + name);
    };
    set("srcw", src.width());
    set("srch", src.height());
    set("src_format", avFormat(src.pixelType()));
    set("dstw", width);
    set("dsth", height);
    set("dst_format", avFormat(type));
    set("sws_flags", settings.flags);
    set("src_h_chr_pos", settings.srcChromaH);
    set("src_v_chr_pos", settings.srcChromaV);
    set("dst_h_chr_pos", settings.dstChromaH);
    set("dst_v_chr_pos", settings.dstChromaV);
    if (sws_init_context(ctx.get(), nullptr, nullptr) < 0) throw std::runtime_error("sws_init_context failed");
    if (settings.rec601TvToFullRange) {
        const int* coefficients = sws_getCoefficients(SWS_CS_ITU601);
        sws_setColorspaceDetails(ctx.get(), coefficients, 0, coefficients, 1, 0, 1 << 16, 1 << 16);
    }
    engine::MutableFramePtr out = engine::Frame::create(width, height, type);
    const uint8_t* srcData[4] = {};
    int srcStride[4] = {};
    uint8_t* dstData[4] = {};
    int dstStride[4] = {};
    for (int p = 0; p < src.planeCount(); ++p) {
        srcData[p] = src.plane(p).data;
        srcStride[p] = src.plane(p).stride;
    }
    for (int p = 0; p < out->planeCount(); ++p) {
        dstData[p] = out->plane(p).data;
        dstStride[p] = out->plane(p).stride;
    }
    sws_scale(ctx.get(), srcData, srcStride, 0, src.height(), dstData, dstStride);
    return out;
}

// The largest difference between two frames of one shape, over every byte.
inline int largestDifference(const engine::Frame& a, const engine::Frame& b) {
    int most = 0;
    for (int p = 0; p < a.planeCount(); ++p)
        for (int y = 0; y < a.plane(p).rows; ++y)
            for (int x = 0; x < a.plane(p).rowBytes; ++x)
                most = std::max(most, std::abs(int(a.plane(p).row(y)[x]) - int(b.plane(p).row(y)[x])));
    return most;
}

}  // namespace vistrel::test
