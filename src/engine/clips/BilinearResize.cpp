#include "engine/clips/BilinearResize.h"

#include "engine/core/ScriptError.h"
#include "engine/resize/PlaneBuffer.h"

namespace vistrel::engine {

namespace {

constexpr int kMaxSide = 65535;

VideoInfo resizedInfo(const VideoInfo& child, int width, int height) {
    if (!child.hasVideo()) throw ScriptError("Resize: the clip has no video");
    if (width <= 0) throw ScriptError("Resize: Width must be greater than 0.");
    if (height <= 0) throw ScriptError("Resize: Height must be greater than 0.");
    if (width > kMaxSide || height > kMaxSide) throw ScriptError("Resize: Width and height must be at most 65535.");
    if (child.pixelType == PixelType::YV12 && (height % 2 || width % 2))
        throw ScriptError("Resize: Planar destination height must be a multiple of 2.");
    if (child.pixelType == PixelType::YUY2 && width % 2)
        throw ScriptError("Resize: YUY2 destination width must be a multiple of 2.");
    checkFrameSize("BilinearResize", width, height, child.pixelType);
    VideoInfo vi = child;
    vi.width = width;
    vi.height = height;
    return vi;
}

SourceWindow resolvedWindow(SourceWindow w, const VideoInfo& child) {
    if (w.width <= 0) w.width = child.width - w.left + w.width;
    if (w.height <= 0) w.height = child.height - w.top + w.height;
    return w;
}

// A resizer for one plane of `srcW` x `srcH` that is `xScale` and `yScale`
// times smaller than the picture (1 or 2).
PlaneResizer planeResizer(int channels, const SourceWindow& w, int srcW, int srcH, int dstW, int dstH, int xScale,
                          int yScale, bool verticalFirst) {
    const ResamplingKernel kernel = triangleKernel();
    return PlaneResizer(
        channels, ResamplingProgram(kernel, srcW / xScale, dstW / xScale, w.left / xScale, w.width / xScale),
        ResamplingProgram(kernel, srcH / yScale, dstH / yScale, w.top / yScale, w.height / yScale), verticalFirst);
}

std::vector<PlaneResizer> planeResizers(const VideoInfo& src, int dstW, int dstH, const SourceWindow& w) {
    const bool verticalFirst = resizeVerticalFirst(src.width, src.height, dstW, dstH);
    std::vector<PlaneResizer> planes;
    switch (src.pixelType) {
    case PixelType::RGB32:
    case PixelType::RGB24:
        planes.push_back(
            planeResizer(bytesPerPixel(src.pixelType), w, src.width, src.height, dstW, dstH, 1, 1, verticalFirst));
        break;
    case PixelType::YV12:
    case PixelType::YUY2: {
        const int chromaRows = src.pixelType == PixelType::YV12 ? 2 : 1;
        planes.push_back(planeResizer(1, w, src.width, src.height, dstW, dstH, 1, 1, verticalFirst));
        for (int i = 0; i < 2; ++i)
            planes.push_back(planeResizer(1, w, src.width, src.height, dstW, dstH, 2, chromaRows, verticalFirst));
        break;
    }
    }
    return planes;
}

// YUY2 as three planes: Y at full width, U and V at half width.
struct PlanarYuy2 {
    PlaneBuffer y, u, v;

    PlanarYuy2(int width, int height) : y(width, height), u(width / 2, height), v(width / 2, height) {}

    void unpack(const Plane& packed) {
        for (int row = 0; row < packed.rows; ++row) {
            const uint8_t* in = packed.row(row);
            uint8_t *py = y.plane().row(row), *pu = u.plane().row(row), *pv = v.plane().row(row);
            for (int pair = 0; pair < u.plane().rowBytes; ++pair, in += 4) {
                py[2 * pair] = in[0];
                pu[pair] = in[1];
                py[2 * pair + 1] = in[2];
                pv[pair] = in[3];
            }
        }
    }

    void pack(const Plane& packed) const {
        for (int row = 0; row < packed.rows; ++row) {
            uint8_t* out = packed.row(row);
            const uint8_t *py = y.plane().row(row), *pu = u.plane().row(row), *pv = v.plane().row(row);
            for (int pair = 0; pair < u.plane().rowBytes; ++pair, out += 4) {
                out[0] = py[2 * pair];
                out[1] = pu[pair];
                out[2] = py[2 * pair + 1];
                out[3] = pv[pair];
            }
        }
    }
};

}  // namespace

BilinearResize::BilinearResize(ClipPtr child, int width, int height, SourceWindow window)
    : Clip(resizedInfo(child->info(), width, height)),
      child_(std::move(child)),
      planes_(planeResizers(child_->info(), width, height, resolvedWindow(window, child_->info()))) {}

FramePtr BilinearResize::makeFrame(int64_t n) {
    FramePtr out;
    child_->withFrame(n, [&](const Frame& src) {
        if (info_.pixelType == PixelType::YUY2) {
            out = resizeYuy2(src);
            return;
        }
        MutableFramePtr resized = Frame::create(info_.width, info_.height, info_.pixelType);
        for (int p = 0; p < resized->planeCount(); ++p) planes_[size_t(p)].resize(src.plane(p), resized->plane(p));
        out = std::move(resized);
    });
    return out;
}

FramePtr BilinearResize::resizeYuy2(const Frame& src) const {
    PlanarYuy2 in(src.width(), src.height()), out(info_.width, info_.height);
    in.unpack(src.plane(0));
    planes_[0].resize(in.y.plane(), out.y.plane());
    planes_[1].resize(in.u.plane(), out.u.plane());
    planes_[2].resize(in.v.plane(), out.v.plane());
    MutableFramePtr frame = Frame::create(info_.width, info_.height, info_.pixelType);
    out.pack(frame->plane(0));
    return frame;
}

void BilinearResize::readAudio(void* dst, int64_t start, int64_t count) { child_->audio(dst, start, count); }

}  // namespace vistrel::engine
