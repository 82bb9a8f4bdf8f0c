#pragma once
// The whole job behind "match start frames by sound": opens the angles'
// clips for their sound only, reads them side by side (one thread per core),
// and matches every angle after the first against angle A.

#include "sync/SoundMatch.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vistrel::sync {

// Below this confidence a match is reported as unsure, and the editor
// leaves the angle's start frame as it was.
inline constexpr double kSureConfidence = 0.4;

struct AngleStart {
    SoundMatch match;
    // The frame of the angle that shows the moment of angle A's frame 0:
    // the offset in the angle's frames, rounded; negative when the angle
    // started recording after A.
    int64_t startFrame = 0;
    engine::Rational fps;
    // The drift over the angle's length, when it exceeds half a frame.
    std::optional<double> driftSeconds;

    bool sure() const { return match.confidence >= kSureConfidence; }
};

// Called from the reading threads, one call at a time: the share of the job
// done, from 0 to 1. May throw to stop the job; the job then throws that.
using JobProgress = std::function<void(double share)>;

// Where the job's time went, in seconds of the wall clock.
struct JobTimes {
    double reading = 0;   // opening the clips, decoding, mixing and resampling their sound
    double matching = 0;  // correlating
};

struct MatchedAngles {
    engine::Rational fpsA;           // angle A's frame rate, to turn its start frame into a time
    std::vector<AngleStart> angles;  // one per clip after the first, in order
};

// Throws std::runtime_error
// naming the clip for a clip without sound, and the engine's ScriptError for
// one that cannot be opened or read. Needs at least two paths.
MatchedAngles matchStartFrames(const std::vector<std::string>& paths, const MatchOptions& options = {},
                               const JobProgress& progress = {}, JobTimes* times = nullptr);

}  // namespace vistrel::sync
