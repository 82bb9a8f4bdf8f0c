#pragma once
// The taps of a one-dimensional resampler: for every output pixel, the first
// source pixel it reads and a fixed number of 14-bit coefficients that sum to
// exactly 16384.
//
// Output i sits at source position crop_start + (i + 0.5) * step - 0.5, with
// step = crop_size / target_size. The kernel is stretched by the step when
// downscaling. Weight of taps outside the image goes to the nearest edge
// pixel, so edges are replicated; coefficients are made by rounding the
// running total, so rounding never changes their sum.

#include <cstdint>
#include <functional>
#include <vector>

namespace vistrel::engine {

struct ResamplingKernel {
    double support;                        // the kernel is zero at |x| >= support
    std::function<double(double)> weight;  // at distance x, in source pixels
};

// f(x) = max(0, 1 - |x|).
ResamplingKernel triangleKernel();
// Mitchell-Netravali cubic with parameters b and c.
ResamplingKernel bicubicKernel(double b, double c);

class ResamplingProgram {
public:
    static constexpr int kBits = 14;
    static constexpr int kUnity = 1 << kBits;

    ResamplingProgram(const ResamplingKernel& kernel, int sourceSize, int targetSize, double cropStart,
                      double cropSize);

    int sourceSize() const { return sourceSize_; }
    int targetSize() const { return targetSize_; }
    int taps() const { return taps_; }
    // First source pixel read by output i; taps() pixels from there are inside the source.
    int firstPixel(int i) const { return firstPixel_[size_t(i)]; }
    // taps() coefficients for output i, followed by zeros up to a multiple of 8.
    const int16_t* coefficients(int i) const { return coefficients_.data() + size_t(i) * size_t(stride_); }

    // How many outputs, from the first, can read their taps in whole blocks
    // of `block` pixels (rounding taps() up) without passing the source's end.
    int outputsReadableInBlocks(int block) const;

    // True when every output pixel is the source pixel of the same index.
    bool isIdentity() const;

private:
    struct Taps {
        int first;
        std::vector<int> values;
    };
    static Taps tapsFor(const ResamplingKernel& kernel, int sourceSize, double pos, double zoneScale, int width);
    void pack(const std::vector<Taps>& all);

    int sourceSize_;
    int targetSize_;
    int taps_ = 1;
    int stride_ = 8;
    std::vector<int> firstPixel_;
    std::vector<int16_t> coefficients_;
};

}  // namespace vistrel::engine
