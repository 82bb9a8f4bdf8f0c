#include "player/PictureConverter.h"

#include <cstring>
#include <stdexcept>

namespace vistrel::player {

namespace {

AVPixelFormat ffmpegFormat(engine::PixelType type) {
    switch (type) {
    case engine::PixelType::RGB32: return AV_PIX_FMT_BGRA;  // bytes B, G, R, A on every machine
    case engine::PixelType::RGB24: return AV_PIX_FMT_BGR24;
    case engine::PixelType::YUY2: return AV_PIX_FMT_YUYV422;
    case engine::PixelType::YV12: return AV_PIX_FMT_YUV420P;  // planes Y, U, V
    }
    return AV_PIX_FMT_NONE;
}

}  // namespace

QImage PictureConverter::convert(const engine::Frame& frame, QSize size) {
    if (size.isEmpty()) size = QSize(frame.width(), frame.height());
    if (frame.pixelType() == engine::PixelType::RGB32 && size == QSize(frame.width(), frame.height()))
        return copyUnscaled(frame);
    return scale(frame, size);
}

QImage PictureConverter::copyUnscaled(const engine::Frame& frame) const {
    QImage image(frame.width(), frame.height(), QImage::Format_RGB32);
    const engine::Plane& plane = frame.plane(0);
    for (int y = 0; y < frame.height(); ++y) std::memcpy(image.scanLine(y), plane.row(y), plane.rowBytes);
    return image;
}

QImage PictureConverter::scale(const engine::Frame& frame, QSize size) {
    scaler_.reset(sws_getCachedContext(scaler_.release(), frame.width(), frame.height(),
                                       ffmpegFormat(frame.pixelType()), size.width(), size.height(),
                                       AV_PIX_FMT_RGB32, SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!scaler_) throw std::runtime_error("The picture cannot be converted for showing.");

    const uint8_t* sources[4] = {};
    int sourceStrides[4] = {};
    for (int i = 0; i < frame.planeCount(); ++i) {
        sources[i] = frame.plane(i).data;
        sourceStrides[i] = frame.plane(i).stride;
    }
    QImage image(size, QImage::Format_RGB32);
    uint8_t* targets[4] = {image.bits()};
    int targetStrides[4] = {static_cast<int>(image.bytesPerLine())};
    sws_scale(scaler_.get(), sources, sourceStrides, 0, frame.height(), targets, targetStrides);
    return image;
}

}  // namespace vistrel::player
