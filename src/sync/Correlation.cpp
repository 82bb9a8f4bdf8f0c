#include "sync/Correlation.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <stdexcept>

namespace vistrel::sync {

namespace {

// Bins weaker than this share of the strongest are noise to the whitening,
// not sound: they keep their strength relative to it instead of being raised.
constexpr double kWhiteningFloor = 1e-6;

void transform(RealFft& fft, std::span<const double> values) {
    auto real = fft.real();
    std::copy(values.begin(), values.end(), real.begin());
    std::fill(real.begin() + static_cast<std::ptrdiff_t>(values.size()), real.end(), 0.0);
    fft.forward();
}

void whiten(std::span<std::complex<double>> bins) {
    // std::abs goes through hypot, many times slower than the plain root.
    const auto magnitude = [](std::complex<double> bin) { return std::sqrt(std::norm(bin)); };
    double strongest = 0;
    for (const auto& bin : bins) strongest = std::max(strongest, magnitude(bin));
    const double floor = strongest * kWhiteningFloor + 1e-300;
    for (auto& bin : bins) bin /= std::max(magnitude(bin), floor);
}

// How long a circular correlation must be for the lags in [minLag, maxLag]
// (of those at which the sequences overlap) to wrap onto none of the
// sequences' values: a at t meets b at t + lag.
size_t unwrappedLength(size_t a, size_t b, int64_t minLag, int64_t maxLag) {
    const auto na = static_cast<int64_t>(a), nb = static_cast<int64_t>(b);
    maxLag = std::min(maxLag, nb - 1);
    minLag = std::max(minLag, 1 - na);
    return static_cast<size_t>(
        std::max({na, nb, na + std::max<int64_t>(maxLag, 0), nb - std::min<int64_t>(minLag, 0)}));
}

}  // namespace

Correlator::Correlator(size_t longestA, size_t longestB)
    : Correlator(longestA, longestB, 1 - static_cast<int64_t>(longestA), static_cast<int64_t>(longestB) - 1) {}

Correlator::Correlator(size_t longestA, size_t longestB, int64_t minLag, int64_t maxLag)
    : fa_(fastFftSize(unwrappedLength(longestA, longestB, minLag, maxLag))), fb_(fa_.size()) {}

std::vector<double> Correlator::correlate(std::span<const double> a, std::span<const double> b, int64_t minLag,
                                          int64_t maxLag, Weighting weighting) {
    std::vector<double> result(static_cast<size_t>(std::max<int64_t>(maxLag - minLag + 1, 0)), 0.0);
    if (result.empty() || a.empty() || b.empty()) return result;
    if (unwrappedLength(a.size(), b.size(), minLag, maxLag) > fa_.size())
        throw std::logic_error("Correlator: sequences or lags beyond what it was made for");

    transform(fa_, a);
    transform(fb_, b);
    const auto sa = fa_.spectrum();
    const auto sb = fb_.spectrum();
    for (size_t k = 0; k < sa.size(); ++k) sb[k] *= std::conj(sa[k]);
    if (weighting == Weighting::Whitened) whiten(sb);
    fb_.inverse();

    const auto circular = fb_.real();
    const auto n = static_cast<int64_t>(fb_.size());
    const int64_t from = std::max(minLag, 1 - static_cast<int64_t>(a.size()));
    const int64_t to = std::min(maxLag, static_cast<int64_t>(b.size()) - 1);
    for (int64_t lag = from; lag <= to; ++lag)
        result[static_cast<size_t>(lag - minLag)] = circular[static_cast<size_t>((lag + n) % n)] / double(n);
    return result;
}

std::vector<double> crossCorrelation(std::span<const double> a, std::span<const double> b, int64_t minLag,
                                     int64_t maxLag, Weighting weighting) {
    return Correlator(a.size(), b.size(), minLag, maxLag).correlate(a, b, minLag, maxLag, weighting);
}

double refinedPeak(std::span<const double> values, size_t i) {
    if (i == 0 || i + 1 >= values.size()) return double(i);
    const double left = values[i - 1], centre = values[i], right = values[i + 1];
    const double curvature = left - 2 * centre + right;
    if (curvature >= 0) return double(i);
    return double(i) + std::clamp(0.5 * (left - right) / curvature, -0.5, 0.5);
}

}  // namespace vistrel::sync
