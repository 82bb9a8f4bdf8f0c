#include "engine/FrameBlend.h"

namespace vistrel::engine {

int dissolveWeight(int64_t k, int ov) {
    const float weight = static_cast<float>(double(k + 1) / (ov + 1.0));
    const float scaled = weight * 32767.0f + 0.5f;
    return static_cast<int>(scaled);
}

namespace {

void blendRow(const uint8_t* a, const uint8_t* b, uint8_t* out, int bytes, int weight) {
    const int keep = 32767 - weight;
    for (int i = 0; i < bytes; ++i) out[i] = uint8_t((a[i] * keep + b[i] * weight + 16384) >> 15);
}

}  // namespace

MutableFramePtr blendFrames(const Frame& a, const Frame& b, int weight) {
    MutableFramePtr out = Frame::create(a.width(), a.height(), a.pixelType());
    for (int p = 0; p < a.planeCount(); ++p) {
        const Plane &pa = a.plane(p), &pb = b.plane(p), &po = out->plane(p);
        for (int y = 0; y < po.rows; ++y) blendRow(pa.row(y), pb.row(y), po.row(y), po.rowBytes, weight);
    }
    return out;
}

}  // namespace vistrel::engine
