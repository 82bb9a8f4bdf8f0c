#include "engine/filters/AddBorders.h"

#include "engine/core/Pixels.h"
#include "engine/core/ScriptError.h"
#include "engine/filters/FunctionTable.h"

#include <algorithm>
#include <cstring>

namespace vistrel::engine {

namespace {

constexpr int64_t kMaxSide = 65535;

Borders clampedToZero(Borders b) {
    return {std::max(b.left, 0), std::max(b.top, 0), std::max(b.right, 0), std::max(b.bottom, 0)};
}

void checkChromaAlignment(PixelType type, const Borders& b) {
    const bool horizontal = type == PixelType::YV12 || type == PixelType::YUY2;
    const bool vertical = type == PixelType::YV12;
    auto refuse = [](const char* side) {
        throw ScriptError(std::string("AddBorders: YUV image can only add by Mod 2 (") + side + ").");
    };
    if (horizontal && b.left % 2) refuse("left side");
    if (horizontal && b.right % 2) refuse("right side");
    if (vertical && b.top % 2) refuse("top");
    if (vertical && b.bottom % 2) refuse("bottom");
}

VideoInfo borderedInfo(const VideoInfo& child, const Borders& b) {
    VideoInfo vi = child;
    if (!vi.hasVideo()) return vi;
    checkChromaAlignment(vi.pixelType, b);
    const int64_t width = int64_t(vi.width) + b.left + b.right;
    const int64_t height = int64_t(vi.height) + b.top + b.bottom;
    if (width > kMaxSide || height > kMaxSide) throw ScriptError("AddBorders: the bordered frame would be too large");
    checkFrameSize("AddBorders", width, height, vi.pixelType);
    vi.width = int(width);
    vi.height = int(height);
    return vi;
}

// Copies the child's picture into the frame with its top-left corner at (x, y).
void placePicture(const Frame& src, Frame& dst, int x, int y) {
    for (int p = 0; p < dst.planeCount(); ++p) {
        const int shift = p > 0 ? 1 : 0;  // YV12 chroma planes are half size
        const int byteX = (x >> shift) * bytesPerPixel(dst.pixelType());
        const Plane &from = src.plane(p), &to = dst.plane(p);
        for (int row = 0; row < from.rows; ++row)
            std::memcpy(to.row(row + (y >> shift)) + byteX, from.row(row), from.rowBytes);
    }
}

}  // namespace

AddBorders::AddBorders(ClipPtr child, Borders borders, const Colour& colour)
    : Clip(borderedInfo(child->info(), clampedToZero(borders))),
      child_(std::move(child)),
      borders_(clampedToZero(borders)),
      colour_(colour) {}

ClipPtr AddBorders::create(ClipPtr child, Borders borders, uint32_t colour) {
    auto clip = std::make_shared<AddBorders>(child, borders, Colour::fromRgb(colour));
    const Borders& b = clip->borders_;
    if (!child->info().hasVideo() || (b.left == 0 && b.top == 0 && b.right == 0 && b.bottom == 0)) return child;
    return clip;
}

FramePtr AddBorders::makeFrame(int64_t n) {
    FramePtr picture = child_->frame(n);
    MutableFramePtr out = Frame::create(info_.width, info_.height, info_.pixelType);
    const int w = picture->width(), h = picture->height();
    fillRect(*out, 0, 0, info_.width, borders_.top, colour_);
    fillRect(*out, 0, borders_.top + h, info_.width, borders_.bottom, colour_);
    fillRect(*out, 0, borders_.top, borders_.left, h, colour_);
    fillRect(*out, borders_.left + w, borders_.top, borders_.right, h, colour_);
    placePicture(*picture, *out, borders_.left, borders_.top);
    return out;
}

void AddBorders::readAudio(void* dst, int64_t start, int64_t count) { child_->audio(dst, start, count); }

// Script entry. Slots: 0 clip, 1 left, 2 top, 3 right, 4 bottom, 5 color.
Value createAddBorders(const Args& args, Environment&) {
    const Borders b{args.intOr(1, 0), args.intOr(2, 0), args.intOr(3, 0), args.intOr(4, 0)};
    return AddBorders::create(args.clip(0), b, static_cast<uint32_t>(args.intOr(5, 0)));
}

}  // namespace vistrel::engine
