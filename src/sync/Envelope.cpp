#include "sync/Envelope.h"

#include "sync/AngleSound.h"

#include <algorithm>
#include <cmath>

namespace vistrel::sync {

namespace {

constexpr size_t kHop = kSoundRate / kEnvelopeRate;
constexpr size_t kAveragedSteps = kEnvelopeRate;  // one second
// Silence sits this far below the average level (-40 dB) instead of at
// minus infinity, so that a camera's noise floor does not count as sound.
constexpr double kSilenceShare = 1e-4;

std::vector<double> levels(std::span<const float> sound) {
    const size_t steps = sound.size() / kHop;
    std::vector<double> energy(steps);
    double total = 0;
    for (size_t k = 0; k < steps; ++k) {
        double sum = 0;
        for (size_t i = k * kHop; i < (k + 1) * kHop; ++i) sum += double(sound[i]) * sound[i];
        energy[k] = sum;
        total += sum;
    }
    const double silence = kSilenceShare * total / double(std::max<size_t>(steps, 1)) + 1e-30;
    for (double& e : energy) e = std::log(e + silence);
    return energy;
}

}  // namespace

std::vector<double> loudnessContour(std::span<const float> sound) {
    const std::vector<double> level = levels(sound);
    const size_t steps = level.size();
    std::vector<double> prefix(steps + 1, 0.0);
    for (size_t k = 0; k < steps; ++k) prefix[k + 1] = prefix[k] + level[k];
    std::vector<double> contour(steps);
    const size_t half = kAveragedSteps / 2;
    for (size_t k = 0; k < steps; ++k) {
        const size_t from = k > half ? k - half : 0, to = std::min(steps, k + half + 1);
        contour[k] = level[k] - (prefix[to] - prefix[from]) / double(to - from);
    }
    return contour;
}

}  // namespace vistrel::sync
