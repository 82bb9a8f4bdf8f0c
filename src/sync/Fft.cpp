#include "sync/Fft.h"

#include <fftw3.h>

#include <mutex>
#include <new>

namespace vistrel::sync {

namespace {

std::mutex& planMutex() {
    static std::mutex mutex;
    return mutex;
}

template <typename T>
T* allocate(size_t count) {
    void* memory = fftw_malloc(sizeof(T) * count);
    if (!memory) throw std::bad_alloc();
    return static_cast<T*>(memory);
}

}  // namespace

void RealFft::FftwFree::operator()(void* memory) const { fftw_free(memory); }

class RealFft::Plan {
public:
    explicit Plan(fftw_plan plan) : plan_(plan) {
        if (!plan_) throw std::bad_alloc();
    }
    ~Plan() {
        std::lock_guard lock(planMutex());
        fftw_destroy_plan(plan_);
    }
    Plan(const Plan&) = delete;
    Plan& operator=(const Plan&) = delete;

    void execute() const { fftw_execute(plan_); }

private:
    fftw_plan plan_;
};

RealFft::RealFft(size_t n)
    : n_(n), real_(allocate<double>(n)), spectrum_(allocate<std::complex<double>>(n / 2 + 1)) {
    auto* bins = reinterpret_cast<fftw_complex*>(spectrum_.get());
    const int size = static_cast<int>(n);
    fftw_plan forward, inverse;
    {
        std::lock_guard lock(planMutex());
        forward = fftw_plan_dft_r2c_1d(size, real_.get(), bins, FFTW_ESTIMATE);
        inverse = fftw_plan_dft_c2r_1d(size, bins, real_.get(), FFTW_ESTIMATE);
    }
    forward_ = std::make_unique<Plan>(forward);
    inverse_ = std::make_unique<Plan>(inverse);
}

RealFft::~RealFft() = default;

void RealFft::forward() { forward_->execute(); }

void RealFft::inverse() { inverse_->execute(); }

size_t fastFftSize(size_t n) {
    for (size_t size = n < 2 ? 2 : n;; ++size) {
        size_t rest = size;
        for (size_t factor : {2, 3, 5})
            while (rest % factor == 0) rest /= factor;
        if (rest == 1) return size;
    }
}

}  // namespace vistrel::sync
