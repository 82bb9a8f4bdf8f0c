#include "sync/Fft.h"

#include <fftw3.h>

#include <algorithm>
#include <mutex>
#include <new>
#include <vector>

namespace vistrel::sync {

namespace {

// Sizes whose plans are kept after their last transform is gone: a job
// uses two or three sizes, and a plan holds tables about as large as its data.
constexpr size_t kKeptSizes = 4;

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

// FFTW's planner is not thread-safe: plans are made and destroyed under
// one lock (so a Plans is never let go of while the lock is held). Running
// a plan on other buffers of the same size and alignment (fftw_malloc's)
// is allowed from any thread.
struct RealFft::Plans {
    size_t n;
    fftw_plan forward;
    fftw_plan inverse;

    ~Plans() {
        std::lock_guard lock(planMutex());
        fftw_destroy_plan(forward);
        fftw_destroy_plan(inverse);
    }
};

namespace {

// Most recently used last.
std::vector<std::shared_ptr<const RealFft::Plans>>& keptPlans() {
    static std::vector<std::shared_ptr<const RealFft::Plans>> kept;
    return kept;
}

}  // namespace

void RealFft::FftwFree::operator()(void* memory) const { fftw_free(memory); }

RealFft::RealFft(size_t n) : n_(n), real_(allocate<double>(n)), spectrum_(allocate<std::complex<double>>(n / 2 + 1)) {
    std::shared_ptr<const Plans> dropped;  // let go of after the lock
    std::lock_guard lock(planMutex());
    auto& kept = keptPlans();
    const auto found = std::find_if(kept.begin(), kept.end(), [n](const auto& p) { return p->n == n; });
    if (found != kept.end()) {
        plans_ = *found;
        kept.erase(found);
    } else {
        auto* bins = reinterpret_cast<fftw_complex*>(spectrum_.get());
        const int size = static_cast<int>(n);
        fftw_plan forward = fftw_plan_dft_r2c_1d(size, real_.get(), bins, FFTW_ESTIMATE);
        fftw_plan inverse = fftw_plan_dft_c2r_1d(size, bins, real_.get(), FFTW_ESTIMATE);
        if (!forward || !inverse) {
            if (forward) fftw_destroy_plan(forward);
            if (inverse) fftw_destroy_plan(inverse);
            throw std::bad_alloc();
        }
        plans_ = std::shared_ptr<const Plans>(new Plans{n, forward, inverse});
    }
    kept.push_back(plans_);
    if (kept.size() > kKeptSizes) {
        dropped = std::move(kept.front());
        kept.erase(kept.begin());
    }
}

RealFft::~RealFft() = default;

void RealFft::forward() {
    fftw_execute_dft_r2c(plans_->forward, real_.get(), reinterpret_cast<fftw_complex*>(spectrum_.get()));
}

void RealFft::inverse() {
    fftw_execute_dft_c2r(plans_->inverse, reinterpret_cast<fftw_complex*>(spectrum_.get()), real_.get());
}

size_t fastFftSize(size_t n) {
    for (size_t size = n < 2 ? 2 : n;; ++size) {
        size_t rest = size;
        for (size_t factor : {2, 3, 5})
            while (rest % factor == 0) rest /= factor;
        if (rest == 1) return size;
    }
}

}  // namespace vistrel::sync
