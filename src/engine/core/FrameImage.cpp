#include "engine/core/FrameImage.h"

extern "C" {
#include <libswscale/swscale.h>
}

#include <cstring>
#include <stdexcept>

namespace vistrel::engine {

namespace {

AVPixelFormat ffmpegFormat(PixelType type) {
    switch (type) {
    case PixelType::RGB32: return AV_PIX_FMT_BGRA;  // bytes B, G, R, A on every machine
    case PixelType::RGB24: return AV_PIX_FMT_BGR24;
    case PixelType::YUY2: return AV_PIX_FMT_YUYV422;
    case PixelType::YV12: return AV_PIX_FMT_YUV420P;  // planes Y, U, V
    }
    return AV_PIX_FMT_NONE;
}

QImage copyRows(const Frame& frame, QImage::Format format) {
    QImage image(frame.width(), frame.height(), format);
    const Plane& p = frame.plane(0);
    for (int y = 0; y < p.rows; ++y) std::memcpy(image.scanLine(y), p.row(y), p.rowBytes);
    return image;
}

// QImage's RGB32 wants an opaque alpha byte; the engine's may be 0 (black borders).
QImage copyOpaqueRgb32(const Frame& frame) {
    QImage image(frame.width(), frame.height(), QImage::Format_RGB32);
    const Plane& p = frame.plane(0);
    for (int y = 0; y < p.rows; ++y) {
        const auto* in = reinterpret_cast<const uint32_t*>(p.row(y));
        auto* out = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < frame.width(); ++x) out[x] = in[x] | 0xff000000u;
    }
    return image;
}

}  // namespace

QImage FrameImageConverter::convert(const Frame& frame, QSize size) {
    const QSize own(frame.width(), frame.height());
    if (size.isEmpty()) size = own;
    if (size == own && frame.pixelType() == PixelType::RGB32) return copyOpaqueRgb32(frame);
    return scale(frame, size);
}

QImage FrameImageConverter::scale(const Frame& frame, QSize size) {
    // The scaler and its colour tables are made once per shape, not per frame.
    const Shape shape{frame.width(), frame.height(), frame.pixelType(), size};
    if (!scaler_ || shape != scalerShape_) {
        const int flags =
            scaling_ == Scaling::Exact ? SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT : SWS_BILINEAR;
        scaler_.reset(sws_getContext(frame.width(), frame.height(), ffmpegFormat(frame.pixelType()), size.width(),
                                     size.height(), AV_PIX_FMT_RGB32, flags, nullptr, nullptr, nullptr));
        if (!scaler_) throw std::runtime_error("The picture cannot be converted for showing.");
        if (frame.pixelType() == PixelType::YV12 || frame.pixelType() == PixelType::YUY2) {
            const int* rec601 = sws_getCoefficients(SWS_CS_ITU601);
            sws_setColorspaceDetails(scaler_.get(), rec601, 0, rec601, 1, 0, 1 << 16, 1 << 16);
        }
        scalerShape_ = shape;
    }

    const uint8_t* sources[4] = {};
    int sourceStrides[4] = {};
    for (int i = 0; i < frame.planeCount(); ++i) {
        sources[i] = frame.plane(i).data;
        sourceStrides[i] = frame.plane(i).stride;
    }
    QImage image(size, QImage::Format_RGB32);  // AV_PIX_FMT_RGB32: 0xAARRGGBB in the machine's byte order, as QImage's
    uint8_t* targets[4] = {image.bits()};
    int targetStrides[4] = {static_cast<int>(image.bytesPerLine())};
    sws_scale(scaler_.get(), sources, sourceStrides, 0, frame.height(), targets, targetStrides);
    return image;
}

QImage toImage(const Frame& frame) {
    if (frame.pixelType() == PixelType::RGB24) return copyRows(frame, QImage::Format_BGR888);
    try {
        return FrameImageConverter(FrameImageConverter::Scaling::Exact).convert(frame);
    } catch (const std::runtime_error&) {
        return {};
    }
}

}  // namespace vistrel::engine
