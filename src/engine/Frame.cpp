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
    struct Shape { int rowBytes, rows; };
    Shape shapes[3];
    if (type == PixelType::YV12) {
        planeCount_ = 3;
        shapes[0] = {width, height};
        shapes[1] = shapes[2] = {(width + 1) / 2, (height + 1) / 2};
    } else {
        shapes[0] = {width * bytesPerPixel(type), height};
    }
    size_t offsets[3] = {};
    size_t total = 0;
    for (int i = 0; i < planeCount_; ++i) {
        offsets[i] = total;
        planes_[i].rowBytes = shapes[i].rowBytes;
        planes_[i].rows = shapes[i].rows;
        planes_[i].stride = alignUp(shapes[i].rowBytes, kRowAlign);
        total += alignUp(planes_[i].stride * shapes[i].rows, kBaseAlign);
    }
    storageSize_ = total + kBaseAlign;
    storage_ = std::make_unique_for_overwrite<uint8_t[]>(storageSize_);
    auto base = reinterpret_cast<uintptr_t>(storage_.get());
    const size_t skew = (kBaseAlign - base % kBaseAlign) % kBaseAlign;
    for (int i = 0; i < planeCount_; ++i) planes_[i].data = storage_.get() + skew + offsets[i];
}

std::shared_ptr<Frame> Frame::clone() const {
    auto copy = create(width_, height_, type_);
    for (int i = 0; i < planeCount_; ++i)
        for (int y = 0; y < planes_[i].rows; ++y)
            std::memcpy(copy->planes_[i].row(y), planes_[i].row(y), planes_[i].rowBytes);
    return copy;
}

}  // namespace vistrel::engine
