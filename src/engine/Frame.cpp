#include "engine/Frame.h"

#include <cstring>

namespace vistrel::engine {

namespace {
constexpr int kRowAlign = 32;
constexpr int kBaseAlign = 64;

int alignUp(int value, int align) { return (value + align - 1) / align * align; }
}  // namespace

int bytesPerPixel(PixelType type) {
    switch (type) {
    case PixelType::RGB32: return 4;
    case PixelType::RGB24: return 3;
    case PixelType::YUY2: return 2;
    case PixelType::YV12: return 1;
    }
    return 1;
}

std::shared_ptr<Frame> Frame::create(int width, int height, PixelType type) {
    return std::shared_ptr<Frame>(new Frame(width, height, type));
}

Frame::Frame(int width, int height, PixelType type) : width_(width), height_(height), type_(type) {
    describePlanes();
    size_t offsets[3] = {};
    size_t total = 0;
    for (int i = 0; i < planeCount_; ++i) {
        offsets[i] = total;
        planes_[i].stride = alignUp(planes_[i].rowBytes, kRowAlign);
        total += alignUp(planes_[i].stride * planes_[i].rows, kBaseAlign);
    }
    storageSize_ = total + kBaseAlign;
    storage_ = std::make_unique_for_overwrite<uint8_t[]>(storageSize_);
    auto base = reinterpret_cast<uintptr_t>(storage_.get());
    const size_t skew = (kBaseAlign - base % kBaseAlign) % kBaseAlign;
    for (int i = 0; i < planeCount_; ++i) planes_[i].data = storage_.get() + skew + offsets[i];
}

Frame Frame::over(int width, int height, PixelType type, const uint8_t* const* planes, const int* strides) {
    Frame frame(width, height, type, Borrowed{});
    for (int i = 0; i < frame.planeCount_; ++i) {
        // Handed out as const Frame only: the pixels are never written through it.
        frame.planes_[i].data = const_cast<uint8_t*>(planes[i]);
        frame.planes_[i].stride = strides[i];
    }
    return frame;
}

void Frame::describePlanes() {
    if (type_ == PixelType::YV12) {
        planeCount_ = 3;
        planes_[0].rowBytes = width_;
        planes_[0].rows = height_;
        planes_[1].rowBytes = planes_[2].rowBytes = (width_ + 1) / 2;
        planes_[1].rows = planes_[2].rows = (height_ + 1) / 2;
    } else {
        planes_[0].rowBytes = width_ * bytesPerPixel(type_);
        planes_[0].rows = height_;
    }
}

std::shared_ptr<Frame> Frame::clone() const {
    auto copy = create(width_, height_, type_);
    for (int i = 0; i < planeCount_; ++i)
        for (int y = 0; y < planes_[i].rows; ++y)
            std::memcpy(copy->planes_[i].row(y), planes_[i].row(y), planes_[i].rowBytes);
    return copy;
}

}  // namespace vistrel::engine
