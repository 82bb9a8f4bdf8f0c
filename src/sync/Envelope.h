#pragma once
// The loudness contour of a sound, for finding the rough offset between two
// recordings over their whole length: how the level, in decibels, rises and
// falls around its average over the surrounding second, at kEnvelopeRate
// values a second. A camera's gain and its microphone's colour change the
// waveform much more than the contour (a gain only shifts a level in
// decibels), so contours line recordings up over hours at an eightieth of
// the cost of their waveforms.

#include <span>
#include <vector>

namespace vistrel::sync {

inline constexpr int kEnvelopeRate = 100;

// One value per 1 / kEnvelopeRate seconds of sound at kSoundRate.
std::vector<double> loudnessContour(std::span<const float> sound);

}  // namespace vistrel::sync
