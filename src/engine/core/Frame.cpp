#include "engine/core/Frame.h"

#include "engine/core/ScriptError.h"

#include <cstdint>
#include <cstring>

namespace vistrel::engine {

namespace {
constexpr int kRowAlign = 32;
constexpr int kBaseAlign = 64;

int alignUp(int value, int align) { return (value + align - 1) / align * align; }
size_t alignUp(size_t value, size_t align) { return (value + align - 1) / align * align; }
// Sides beyond this give more bytes than any frame may take; below it the
// byte count of any pixel type fits 64 bits.
constexpr int64_t kLongestSide = int64_t(1) << 30;
}  // namespace

int64_t frameBytes(int64_t width, int64_t height, PixelType type) {
    if (width <= 0 || height <= 0) return 0;
    if (width > kLongestSide || height > kLongestSide) return INT64_MAX;
    if (type == PixelType::YV12) return width * height + 2 * ((width + 1) / 2) * ((height + 1) / 2);
    return width * bytesPerPixel(type) * height;
}

std::optional<std::string> frameSizeProblem(int64_t width, int64_t height, PixelType type) {
    const int64_t bytes = frameBytes(width, height, type);
    if (bytes <= kMostFrameBytes) return std::nullopt;
    const std::string taken =
        bytes == INT64_MAX ? "more than " + std::to_string(kLongestSide * kLongestSide) : std::to_string(bytes);
    return "a " + std::to_string(width) + "x" + std::to_string(height) + " " + pixelTypeName(type) + " frame takes " +
           taken + " bytes, more than the " + std::to_string(kMostFrameBytes) + " (" +
           std::to_string(kMostFrameBytes >> 20) + " MiB) a frame may take";
}

void checkFrameSize(const std::string& function, int64_t width, int64_t height, PixelType type) {
    if (auto problem = frameSizeProblem(width, height, type)) throw ScriptError(function + ": " + *problem);
}

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
    checkFrameSize("Frame", width, height, type);
    describePlanes();
    size_t offsets[3] = {};
    size_t total = 0;
    for (int i = 0; i < planeCount_; ++i) {
        offsets[i] = total;
        planes_[i].stride = alignUp(planes_[i].rowBytes, kRowAlign);
        total += alignUp(size_t(planes_[i].stride) * size_t(planes_[i].rows), size_t(kBaseAlign));
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
