#pragma once
// One picture in one of the engine's pixel types, stored top-down.
//
// Plane layout: packed types (RGB32 as B,G,R,A bytes; RGB24 as B,G,R; YUY2 as
// Y0,U,Y1,V) use plane 0 only. YV12 has plane 0 = Y, 1 = U, 2 = V, the chroma
// planes at half width and half height. Rows start on 32-byte boundaries.

#include "engine/core/VideoInfo.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace vistrel::engine {

struct Plane {
    uint8_t* data = nullptr;
    int stride = 0;    // bytes from one row to the next
    int rowBytes = 0;  // bytes of picture in one row
    int rows = 0;

    uint8_t* row(int y) const { return data + static_cast<ptrdiff_t>(y) * stride; }
};

// The most bytes the pictures of one frame may take: 256 MiB, an 8192x8192
// RGB32 frame. Larger frames are refused when a clip is described, so that
// no picture size is ever computed past what memory and `int` rows can hold.
constexpr int64_t kMostFrameBytes = int64_t(1) << 28;

// The bytes of picture in a frame of the given size and type (its planes'
// rows without padding), computed in 64 bits; INT64_MAX for sides past 2^30.
int64_t frameBytes(int64_t width, int64_t height, PixelType type);

// Why a frame of the given size and type cannot be made, or nothing when it
// can: "a 65535x16384 RGB32 frame takes 4294901760 bytes, more than the
// 268435456 (256 MiB) a frame may take".
std::optional<std::string> frameSizeProblem(int64_t width, int64_t height, PixelType type);

// Throws ScriptError "<function>: <problem>" for a frame that cannot be made.
void checkFrameSize(const std::string& function, int64_t width, int64_t height, PixelType type);

class Frame {
public:
    // A new frame with undefined contents; throws ScriptError past kMostFrameBytes.
    static std::shared_ptr<Frame> create(int width, int height, PixelType type);
    // A frame over pixels that belong to someone else (a decoder's picture),
    // valid as long as they are: planes[i] and strides[i] for each plane of
    // the type, laid out as above except that rows may start anywhere.
    static Frame over(int width, int height, PixelType type, const uint8_t* const* planes, const int* strides);

    Frame(Frame&&) noexcept = default;
    Frame& operator=(Frame&&) noexcept = default;

    int width() const { return width_; }
    int height() const { return height_; }
    PixelType pixelType() const { return type_; }
    int planeCount() const { return planeCount_; }
    const Plane& plane(int i) const { return planes_[i]; }
    size_t byteSize() const { return storageSize_; }

    // A deep copy whose pixels may be changed.
    std::shared_ptr<Frame> clone() const;

private:
    struct Borrowed {};
    Frame(int width, int height, PixelType type);
    Frame(int width, int height, PixelType type, Borrowed) : width_(width), height_(height), type_(type) {
        describePlanes();
    }
    // The shape of each plane of the type, without storage.
    void describePlanes();

    int width_;
    int height_;
    PixelType type_;
    int planeCount_ = 1;
    Plane planes_[3];
    // Not zeroed: every producer writes all of its picture, and zeroing a
    // 1080p frame costs as much as a fast filter does.
    std::unique_ptr<uint8_t[]> storage_;
    size_t storageSize_ = 0;
};

using FramePtr = std::shared_ptr<const Frame>;
using MutableFramePtr = std::shared_ptr<Frame>;

// Bytes of one pixel in a packed type; 1 for the planes of YV12.
int bytesPerPixel(PixelType type);

}  // namespace vistrel::engine
