#pragma once
// Angles whose clocks drift against the reference's (angle A, or the sound
// recording). Cameras and recorders run a few hundred millionths fast or
// slow: 100 ppm is 0.36 s an hour, and an angle shown frame for frame at its
// nominal rate falls out of step over a long recording. When the matching
// finds an angle more than half a frame out of step by its end, one
// question offers to keep it in step; yes writes a small script under the
// conformed folder that plays the clip at its true rate against the
// reference and then at angle A's rate (AssumeFPS, then ChangeFPS), and
// puts that script in the clip's place, its start frame moved to the same
// moment in the new numbering.

#include "model/ClipRate.h"
#include "model/MixedRates.h"
#include "model/StringList.h"

#include <string>
#include <vector>

namespace vistrel::model {

struct DriftingAngle {
    int row = 0;
    double ppm = 0;           // positive: the angle's clock runs fast
    FrameRate rate;           // the angle's nominal rate
    double driftSeconds = 0;  // how far out of step by its end
};

// reference names what the angles drift against ("angle A", "the sound recording").
void offerToRetime(StringList& clips, StringList& startFrames, const std::vector<DriftingAngle>& angles,
                   FrameRate angleA, const std::string& reference, RateMatching& matching);

// The clip's true rate against the reference: its nominal rate times
// 1 + ppm / 10^6, to a tenth of a ppm.
FrameRate trueRate(FrameRate nominal, double ppm);

// One line: ChangeFPS(AssumeFPS(avisource("<clip>"), trueNum, trueDen), numA, denA).
std::string retimeScriptText(const std::string& clipPath, FrameRate trueRate, FrameRate angleA);

}  // namespace vistrel::model
