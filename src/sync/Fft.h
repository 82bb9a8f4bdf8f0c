#pragma once
// Real-to-complex transforms through FFTW, for correlating sound.
//
// A transform of size n owns its two buffers, allocated by FFTW so that its
// plan may use SIMD: fill real(), call forward(), read or change spectrum()
// (n / 2 + 1 bins), call inverse() to get real() back multiplied by n.
// Plans are made without measuring (deterministic), but making one still
// costs more than running it a few times: the plans of the last few sizes
// are kept and shared by every transform of that size, on any thread.

#include <complex>
#include <cstddef>
#include <memory>
#include <span>

namespace vistrel::sync {

class RealFft {
public:
    explicit RealFft(size_t n);  // throws std::bad_alloc
    ~RealFft();
    RealFft(const RealFft&) = delete;
    RealFft& operator=(const RealFft&) = delete;

    size_t size() const { return n_; }
    std::span<double> real() { return {real_.get(), n_}; }
    std::span<std::complex<double>> spectrum() { return {spectrum_.get(), n_ / 2 + 1}; }

    void forward();
    void inverse();  // overwrites the spectrum

    struct Plans;  // a forward and an inverse plan of one size

private:
    struct FftwFree {
        void operator()(void* memory) const;
    };

    size_t n_;
    std::unique_ptr<double, FftwFree> real_;
    std::unique_ptr<std::complex<double>, FftwFree> spectrum_;
    std::shared_ptr<const Plans> plans_;
};

// The smallest size >= n whose only prime factors are 2, 3 and 5: FFTW is
// fast for those, and they lie closer above n than the next power of two.
size_t fastFftSize(size_t n);

}  // namespace vistrel::sync
