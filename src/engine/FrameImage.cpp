#include "engine/FrameImage.h"

#include "engine/FFmpegPtr.h"

extern "C" {
#include <libswscale/swscale.h>
}

#include <cstring>

namespace vistrel::engine {

namespace {

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

QImage convertYuv(const Frame& frame, AVPixelFormat from) {
    QImage image(frame.width(), frame.height(), QImage::Format_RGB32);
    SwsContextUPtr sws(sws_getContext(frame.width(), frame.height(), from, frame.width(), frame.height(),
                                      AV_PIX_FMT_BGRA, SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT,
                                      nullptr, nullptr, nullptr));
    if (!sws) return {};
    const int* coefficients = sws_getCoefficients(SWS_CS_ITU601);
    sws_setColorspaceDetails(sws.get(), coefficients, 0, coefficients, 1, 0, 1 << 16, 1 << 16);
    const uint8_t* planes[4] = {};
    int strides[4] = {};
    for (int i = 0; i < frame.planeCount(); ++i) {
        planes[i] = frame.plane(i).data;
        strides[i] = frame.plane(i).stride;
    }
    uint8_t* out[4] = {image.bits()};
    int outStrides[4] = {static_cast<int>(image.bytesPerLine())};
    sws_scale(sws.get(), planes, strides, 0, frame.height(), out, outStrides);
    return image;
}

}  // namespace

QImage toImage(const Frame& frame) {
    switch (frame.pixelType()) {
    case PixelType::RGB32: return copyOpaqueRgb32(frame);
    case PixelType::RGB24: return copyRows(frame, QImage::Format_BGR888);
    case PixelType::YV12: return convertYuv(frame, AV_PIX_FMT_YUV420P);
    case PixelType::YUY2: return convertYuv(frame, AV_PIX_FMT_YUYV422);
    }
    return {};
}

}  // namespace vistrel::engine
