#include "engine/resize/ResamplingProgram.h"

#include <algorithm>
#include <cmath>

namespace vistrel::engine {

ResamplingKernel triangleKernel() {
    return {1.0, [](double x) {
                x = std::fabs(x);
                return x < 1.0 ? 1.0 - x : 0.0;
            }};
}

ResamplingKernel bicubicKernel(double b, double c) {
    const double p0 = (6.0 - 2.0 * b) / 6.0, p2 = (-18.0 + 12.0 * b + 6.0 * c) / 6.0,
                 p3 = (12.0 - 9.0 * b - 6.0 * c) / 6.0;
    const double q0 = (8.0 * b + 24.0 * c) / 6.0, q1 = (-12.0 * b - 48.0 * c) / 6.0, q2 = (6.0 * b + 30.0 * c) / 6.0,
                 q3 = (-b - 6.0 * c) / 6.0;
    return {2.0, [=](double x) {
                x = std::fabs(x);
                if (x < 1.0) return p0 + x * x * (p2 + x * p3);
                if (x < 2.0) return q0 + x * (q1 + x * (q2 + x * q3));
                return 0.0;
            }};
}

namespace {
int toFixed(double v) { return int(v * ResamplingProgram::kUnity + 0.5); }
}  // namespace

ResamplingProgram::ResamplingProgram(const ResamplingKernel& kernel, int sourceSize, int targetSize, double cropStart,
                                     double cropSize)
    : sourceSize_(sourceSize), targetSize_(targetSize) {
    const double step = cropSize / targetSize;
    const double zoneScale = std::max(step, 1.0);
    const int width = std::max(int(std::ceil(kernel.support * zoneScale * 2.0)), 1);
    double pos = cropStart + 0.5 * step - 0.5;
    std::vector<Taps> all;
    all.reserve(size_t(targetSize));
    for (int i = 0; i < targetSize; ++i, pos += step) all.push_back(tapsFor(kernel, sourceSize, pos, zoneScale, width));
    pack(all);
}

// The taps of one output pixel at source position `pos`: the kernel's weights
// over `width` pixels, normalised, with weight outside the image moved onto
// the first or last pixel inside it.
ResamplingProgram::Taps ResamplingProgram::tapsFor(const ResamplingKernel& kernel, int sourceSize, double pos,
                                                   double zoneScale, int width) {
    const int start = int(pos + kernel.support * zoneScale) - width + 1;
    std::vector<double> weights(static_cast<size_t>(width));
    double total = 0.0;
    for (int k = 0; k < width; ++k) {
        weights[size_t(k)] = kernel.weight((pos - (start + k)) / zoneScale);
        total += weights[size_t(k)];
    }
    if (total == 0.0) total = 1.0;

    Taps taps{std::clamp(start, 0, sourceSize - 1), {}};
    double pending = 0.0, before = 0.0;
    for (int k = 0; k < width; ++k) {
        pending += weights[size_t(k)];
        const int p = start + k;
        if (p < 0 || p >= sourceSize) continue;
        const double after = before + pending / total;
        taps.values.push_back(toFixed(after) - toFixed(before));
        before = after;
        pending = 0.0;
    }
    if (pending != 0.0 && !taps.values.empty()) {
        const double after = before + pending / total;
        taps.values.back() += toFixed(after) - toFixed(before);
    } else if (taps.values.empty()) {
        taps.values.push_back(kUnity);
    }
    return taps;
}

// Gives every output pixel the same number of taps: short lists get zero
// coefficients, moved back from the end of the image where needed.
void ResamplingProgram::pack(const std::vector<Taps>& all) {
    taps_ = 1;
    for (const Taps& t : all) taps_ = std::max(taps_, int(t.values.size()));
    taps_ = std::min(taps_, sourceSize_);
    stride_ = (taps_ + 7) / 8 * 8;
    firstPixel_.resize(all.size());
    coefficients_.assign(all.size() * size_t(stride_), 0);
    for (size_t i = 0; i < all.size(); ++i) {
        const int first = std::min(all[i].first, sourceSize_ - taps_);
        firstPixel_[i] = first;
        const int offset = all[i].first - first;
        for (size_t k = 0; k < all[i].values.size(); ++k)
            coefficients_[i * size_t(stride_) + size_t(offset) + k] = int16_t(all[i].values[k]);
    }
}

int ResamplingProgram::outputsReadableInBlocks(int block) const {
    const int span = (taps_ + block - 1) / block * block;
    int n = 0;
    while (n < targetSize_ && firstPixel(n) + span <= sourceSize_) ++n;
    return n;
}

bool ResamplingProgram::isIdentity() const {
    if (sourceSize_ != targetSize_) return false;
    for (int i = 0; i < targetSize_; ++i) {
        const int16_t* c = coefficients(i);
        for (int k = 0; k < taps_; ++k) {
            const bool self = firstPixel(i) + k == i;
            if (c[k] != (self ? kUnity : 0)) return false;
        }
    }
    return true;
}

}  // namespace vistrel::engine
