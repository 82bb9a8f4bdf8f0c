#pragma once
// How fast an angle's clock runs against the reference's, measured over the
// whole of their overlap. Cameras and sound recorders each count time by
// their own crystal; over an hour, 100 parts per million take them 0.36 s
// apart.
//
// The overlap is cut into equal parts and the loudest few seconds of each
// are lined up, each looked for as far around the offset found as the
// fastest clock could have moved it. A line through the offsets found gives
// the rate, leaving out the parts that matched weakly and those off the
// median line (through the slopes between every two parts): a microphone
// covered for a while, a noise near one camera only.

#include "sync/AngleSound.h"

#include <optional>

namespace vistrel::sync {

// The drift is told only over overlaps at least this long.
inline constexpr double kDriftOverlapSeconds = 120;

struct ClockLine {
    // Where the two begin to overlap: the angle's time at the reference's
    // time 0 when the angle started first, else minus the reference's time at
    // the angle's time 0. At the reference's time t the angle's time is
    // t + offsetSeconds + (t - start of the overlap) * ppm / 1e6.
    double offsetSeconds = 0;
    // Positive: the angle's clock runs fast, counting more seconds than the
    // reference's over the same stretch of the event.
    double ppm = 0;
};

// offset: the offset found around the reference's time `at`. nullopt when
// the two overlap for less than kDriftOverlapSeconds or too few parts agree.
std::optional<ClockLine> measureClock(const AngleSound& reference, const AngleSound& angle, double offset, double at);

}  // namespace vistrel::sync
